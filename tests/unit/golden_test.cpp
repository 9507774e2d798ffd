// The documents of every golden form, composed in memory, byte for byte as the golden files hold
// them; and the golden files themselves held to the byte counts of the format's line tables.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "options.h"

namespace wondergen::testing {
namespace {

namespace fs = std::filesystem;
const fs::path kGoldenDir = WONDERGEN_GOLDEN_DIR;

std::string ReadFile(const fs::path& path) {
  std::ostringstream bytes;
  bytes << std::ifstream(path, std::ios::binary).rdbuf();
  return bytes.str();
}

// A document's lines, each with its LF if it has one.
std::vector<std::string> SplitLines(std::string_view document) {
  std::vector<std::string> lines;
  while (!document.empty()) {
    const std::size_t length = std::min(document.find('\n'), document.size() - 1) + 1;
    lines.emplace_back(document.substr(0, length));
    document.remove_prefix(length);
  }
  return lines;
}

TEST(GoldenTest, EveryFormGivesItsDocumentsByteForByte) {
  int forms = 0;
  for (const fs::directory_entry& form : fs::directory_iterator(kGoldenDir)) {
    if (!form.is_directory()) continue;
    SCOPED_TRACE(form.path().filename().string());
    std::vector<std::string> arguments;
    std::istringstream lines(ReadFile(form.path() / "args"));
    for (std::string argument; std::getline(lines, argument);)
      arguments.push_back(argument);
    const cli::ParsedCommandLine parsed = cli::ParseCommandLine(arguments);
    ASSERT_EQ(parsed.error, "");

    const ModPackage package = ComposeModPackage(cli::MakeFormReader(parsed.commandLine));
    const OutputPaths golden = MakeOutputPaths(form.path());
    for (Document document : kDocuments) {
      const DocumentBytes& bytes = package[Index(document)];
      EXPECT_FALSE(bytes.conversionError);
      EXPECT_EQ(bytes.utf8, ReadFile(PathOf(golden, document))) << PathOf(golden, document);
    }
    ++forms;
  }
  EXPECT_GE(forms, 7);
}

// With every field set, every line of the layout stands in the file but the always-empty line 9
// of the gameplay data document.
TEST(GoldenTest, ConstantLinesHoldTheByteCountsOfTheLineTables) {
  const OutputPaths golden = MakeOutputPaths(kGoldenDir / "every-field-7");
  const std::map<std::string, std::vector<std::string>> documents = {
      {"localization", SplitLines(ReadFile(golden.localization))},
      {"gameplay", SplitLines(ReadFile(golden.gameplayData))},
      {"manifest", SplitLines(ReadFile(golden.manifest))}};
  std::istringstream table(ReadFile(kGoldenDir / "constant-line-bytes.txt"));
  int checked = 0;
  for (std::string row; std::getline(table, row);) {
    if (row.empty() || row[0] == '#') continue;
    std::string document;
    std::size_t line = 0, bytes = 0;
    std::istringstream(row) >> document >> line >> bytes;
    const std::vector<std::string>& lines = documents.at(document);
    const std::size_t fileLine = document == "gameplay" && line > 9 ? line - 1 : line;
    ASSERT_LT(fileLine, lines.size()) << row;
    EXPECT_EQ(lines[fileLine].size(), bytes) << row << ": " << lines[fileLine];
    ++checked;
  }
  EXPECT_EQ(checked, 13 + 46 + 22);
  EXPECT_EQ(documents.at("gameplay").size(), 69u);
}

}  // namespace
}  // namespace wondergen::testing
