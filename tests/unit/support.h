// Helpers shared by the unit tests.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>

#include "wondergen/generator.h"

namespace wondergen::testing {

namespace fs = std::filesystem;

// Test sources are UTF-8; the generator takes code page 936.
inline std::string Cp936(std::string_view utf8) {
  std::error_code error;
  return FromUtf8(utf8, error).value();
}

inline std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

inline void WriteFile(const fs::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A form whose controls hold the given code page 936 texts; every other control is empty.
inline FormReader FormWith(std::map<int, std::string> controls) {
  return [controls = std::move(controls)](int controlId) {
    const auto found = controls.find(controlId);
    return found == controls.end() ? std::string() : found->second;
  };
}

// Each test gets a fresh directory, removed afterwards.
class TempDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "wondergen-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

}  // namespace wondergen::testing
