// Helpers shared by the unit tests.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "wondergen/generator.h"

namespace wondergen::testing {

// Test sources are UTF-8; the generator takes code page 936.
std::string Cp936(std::string_view utf8);

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, std::string_view bytes);

// A document's lines, each with its LF if it has one.
std::vector<std::string> SplitLines(std::string_view document);
std::string JoinLines(const std::vector<std::string>& lines);

// A form whose controls hold the given code page 936 texts; every other control is empty.
FormReader FormWith(std::map<int, std::string> controls);

// The documents of one run into a fresh directory, read back in UTF-8.
struct WrittenPackage {
  Failures failures;
  std::string localization;
  std::string gameplayData;
  std::string manifest;
};
WrittenPackage GenerateInto(const std::filesystem::path& dir, const FormReader& form);

// Each test gets a fresh directory, removed afterwards.
class TempDirTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::filesystem::path dir_;
};

}  // namespace wondergen::testing

namespace wondergen::testing {

// Runs `body` in a child process that, when the tests run as root, first becomes the unprivileged
// user "nobody", so that permissions hold; the directory is handed over to that user. Returns
// what the body returned; an empty string means success.
std::string RunWithoutPrivileges(const std::filesystem::path& dir,
                                 const std::function<std::string()>& body);

// Lists a tree as "relative/path" lines, folders with a trailing slash, sorted.
std::vector<std::string> ListTree(const std::filesystem::path& root);

}  // namespace wondergen::testing

namespace wondergen::testing {

// What a real XML parser finds wrong with the document; empty when it is well-formed.
std::string XmlProblem(const std::string& document);

}  // namespace wondergen::testing
