// Deleting and recreating the folder tree AAA, and the documents that cannot be written into it.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "support.h"

namespace wondergen::testing {
namespace {

// A tree as "relative/path" lines, folders with a trailing slash, sorted.
std::vector<std::string> ListTree(const fs::path& root) {
  std::vector<std::string> entries;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    std::string line = entry.path().lexically_relative(root).generic_string();
    if (entry.is_directory() && !entry.is_symlink()) line += "/";
    entries.push_back(line);
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

const std::vector<std::string> kEmptyTree = {
    "AAA/",
    "AAA/Base/",
    "AAA/Base/Assets/",
    "AAA/Base/Assets/Text/",
    "AAA/Base/Assets/Text/Translations/",
    "AAA/DLC/",
    "AAA/DLC/Newbuilding2PD_RIR/",
    "AAA/DLC/Newbuilding2PD_RIR/Data/",
};

using OutputTreeTest = TempDirTest;

TEST_F(OutputTreeTest, AnOldTreeGoesWithWhatTheUserPutIntoItButLinksAreNeverFollowed) {
  fs::create_directories(dir_ / "outside/sub");
  WriteFile(dir_ / "outside/sub/precious.txt", "keep me");
  fs::create_directories(dir_ / "out/AAA/DLC/mine/deeper");
  WriteFile(dir_ / "out/AAA/notes.txt", "x");
  fs::permissions(dir_ / "out/AAA/notes.txt", fs::perms::owner_read);
  WriteFile(dir_ / "out/AAA/DLC/mine/deeper/old.xml", "y");
  fs::create_directory_symlink(dir_ / "outside", dir_ / "out/AAA/link");
  WriteFile(dir_ / "out/beside.txt", "kept");

  EXPECT_TRUE(PrepareOutputTree(dir_ / "out").empty());
  std::vector<std::string> expected = kEmptyTree;
  expected.push_back("beside.txt");
  EXPECT_EQ(ListTree(dir_ / "out"), expected);
  EXPECT_EQ(ReadFile(dir_ / "outside/sub/precious.txt"), "keep me");

  // AAA itself a link: the link goes, what it points to stays.
  fs::remove_all(dir_ / "out/AAA");
  fs::create_directory_symlink(dir_ / "outside", dir_ / "out/AAA");
  EXPECT_TRUE(PrepareOutputTree(dir_ / "out").empty());
  EXPECT_FALSE(fs::is_symlink(dir_ / "out/AAA"));
  EXPECT_EQ(ListTree(dir_ / "outside"), (std::vector<std::string>{"sub/", "sub/precious.txt"}));
}

TEST_F(OutputTreeTest, AnOutputDirectoryThatIsMissingOrAFileIsReported) {
  WriteFile(dir_ / "file", "mine");
  for (const auto& [outputDir, reason] :
       {std::pair(dir_ / "missing", std::errc::no_such_file_or_directory),
        std::pair(dir_ / "file", std::errc::not_a_directory)}) {
    const Failures failures = PrepareOutputTree(outputDir);
    ASSERT_EQ(failures.size(), 1u) << outputDir;
    EXPECT_EQ(failures[0].step, FailedStep::kCreateFolder);
    EXPECT_EQ(failures[0].path, outputDir / "AAA");
    EXPECT_EQ(failures[0].reason, reason);
  }
  EXPECT_EQ(ReadFile(dir_ / "file"), "mine");
}

TEST_F(OutputTreeTest, AFolderThatCannotBeCreatedStopsOnlyItsChain) {
  EXPECT_TRUE(DeleteOutputTree(dir_).empty());
  fs::create_directory(dir_ / "AAA");
  WriteFile(dir_ / "AAA/DLC", "a file where a folder must go");
  const Failures failures = CreateOutputTree(dir_);
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].step, FailedStep::kCreateFolder);
  EXPECT_EQ(failures[0].path, dir_ / "AAA/DLC");
  EXPECT_EQ(failures[0].reason, std::errc::file_exists);
  std::vector<std::string> expected(kEmptyTree.begin(), kEmptyTree.begin() + 5);
  expected.push_back("AAA/DLC");
  EXPECT_EQ(ListTree(dir_), expected);
}

TEST_F(OutputTreeTest, DeletingATreeLeavesNoFolderOpen) {
  for (int i = 0; i < 50; ++i)
    fs::create_directories(dir_ / "AAA/many" / std::to_string(i) / "x");
  const auto openFiles = [] {
    return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
  };
  const auto before = openFiles();
  EXPECT_TRUE(PrepareOutputTree(dir_).empty());
  EXPECT_EQ(openFiles(), before);
}

// A document that cannot be written is reported with its path and reason; the others are written.
TEST_F(OutputTreeTest, ADocumentThatCannotBeWrittenIsReported) {
  struct Case {
    std::function<void(const OutputPaths&)> spoil;
    Document document;
    FailedStep step;
    std::errc reason;
  };
  const Case cases[] = {
      {[](const OutputPaths& paths) { fs::remove(paths.localization.parent_path()); },
       Document::kLocalization, FailedStep::kCreateDocument, std::errc::no_such_file_or_directory},
      {[](const OutputPaths& paths) { fs::create_directory(paths.gameplayData); },
       Document::kGameplayData, FailedStep::kCreateDocument, std::errc::is_a_directory},
      {[](const OutputPaths& paths) { fs::create_symlink("/dev/full", paths.manifest); },
       Document::kManifest, FailedStep::kWriteDocument, std::errc::no_space_on_device},
  };
  const OutputPaths paths = MakeOutputPaths(dir_);
  for (const Case& c : cases) {
    ASSERT_TRUE(PrepareOutputTree(dir_).empty());
    c.spoil(paths);
    const Failures failures = GenerateModPackage(FormWith({}), dir_);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].step, c.step);
    EXPECT_EQ(failures[0].path, PathOf(paths, c.document));
    EXPECT_EQ(failures[0].reason, c.reason);
    for (Document other : kDocuments) {
      if (other == c.document) continue;
      EXPECT_FALSE(ReadFile(PathOf(paths, other)).empty());
    }
  }
}

}  // namespace
}  // namespace wondergen::testing
