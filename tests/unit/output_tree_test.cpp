// Deleting and recreating the folder tree AAA.
#include <gtest/gtest.h>
#include <unistd.h>

#include "test_support.h"

namespace wondergen::testing {
namespace {

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

TEST_F(OutputTreeTest, FirstUseCreatesTheEightFolders) {
  EXPECT_TRUE(PrepareOutputTree(dir_).empty());
  EXPECT_EQ(ListTree(dir_), kEmptyTree);
}

TEST_F(OutputTreeTest, AnOldTreeIsEmptiedWithEverythingTheUserPutIntoIt) {
  std::filesystem::create_directories(dir_ / "AAA/DLC/mine/deeper");
  WriteFile(dir_ / "AAA/notes.txt", "x");
  WriteFile(dir_ / "AAA/DLC/mine/deeper/old.xml", "y");
  std::filesystem::permissions(dir_ / "AAA/notes.txt", std::filesystem::perms::owner_read);
  WriteFile(dir_ / "beside.txt", "kept");

  EXPECT_TRUE(PrepareOutputTree(dir_).empty());
  std::vector<std::string> expected = kEmptyTree;
  expected.push_back("beside.txt");
  EXPECT_EQ(ListTree(dir_), expected);
}

TEST_F(OutputTreeTest, LinksAreRemovedNeverFollowed) {
  const std::filesystem::path outside = dir_ / "outside";
  std::filesystem::create_directories(outside / "sub");
  WriteFile(outside / "sub/precious.txt", "keep me");
  std::filesystem::create_directories(dir_ / "out/AAA");
  std::filesystem::create_directory_symlink(outside, dir_ / "out/AAA/link");

  EXPECT_TRUE(PrepareOutputTree(dir_ / "out").empty());
  EXPECT_EQ(ReadFile(outside / "sub/precious.txt"), "keep me");

  // AAA itself a link: the link goes, what it points to stays.
  std::filesystem::remove_all(dir_ / "out/AAA");
  std::filesystem::create_directory_symlink(outside, dir_ / "out/AAA");
  EXPECT_TRUE(PrepareOutputTree(dir_ / "out").empty());
  EXPECT_FALSE(std::filesystem::is_symlink(dir_ / "out/AAA"));
  EXPECT_EQ(ReadFile(outside / "sub/precious.txt"), "keep me");
}

TEST_F(OutputTreeTest, AMissingOutputDirectoryIsReported) {
  const Failures failures = PrepareOutputTree(dir_ / "missing");
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].step, FailedStep::kCreateFolder);
  EXPECT_EQ(failures[0].path, dir_ / "missing/AAA");
  EXPECT_EQ(failures[0].reason, std::errc::no_such_file_or_directory);
}

TEST_F(OutputTreeTest, AnOutputDirectoryThatIsAFileIsReported) {
  WriteFile(dir_ / "file", "mine");
  const Failures failures = PrepareOutputTree(dir_ / "file");
  ASSERT_FALSE(failures.empty());
  EXPECT_EQ(failures[0].path, dir_ / "file/AAA");
  EXPECT_EQ(failures[0].reason, std::errc::not_a_directory);
  EXPECT_EQ(ReadFile(dir_ / "file"), "mine");
}

TEST_F(OutputTreeTest, WhatCannotBeDeletedIsReportedAndTheRestGoes) {
  std::filesystem::create_directories(dir_ / "AAA/locked");
  std::filesystem::create_directories(dir_ / "AAA/open");
  WriteFile(dir_ / "AAA/locked/held.txt", "held");
  WriteFile(dir_ / "AAA/open/free.txt", "free");
  const std::string outcome = RunWithoutPrivileges(dir_, [this]() -> std::string {
    std::filesystem::permissions(dir_ / "AAA/locked", std::filesystem::perms::owner_read |
                                                          std::filesystem::perms::owner_exec);
    const Failures failures = PrepareOutputTree(dir_);
    if (failures.size() != 1) return "expected 1 failure, got " + std::to_string(failures.size());
    if (failures[0].step != FailedStep::kDeleteEntry ||
        failures[0].path != dir_ / "AAA/locked/held.txt" ||
        failures[0].reason != std::errc::permission_denied) {
      return "unexpected failure: " + failures[0].path.string();
    }
    if (std::filesystem::exists(dir_ / "AAA/open")) return "the deletable folder stayed";
    // The folders above the held file stay and the tree is completed around them.
    if (!std::filesystem::is_directory(dir_ / "AAA/DLC/Newbuilding2PD_RIR/Data")) {
      return "the tree was not completed";
    }
    return "";
  });
  EXPECT_EQ(outcome, "");
}

TEST_F(OutputTreeTest, AFolderThatCannotBeCreatedStopsOnlyItsChain) {
  WriteFile(dir_ / "unrelated.txt", "x");
  EXPECT_TRUE(DeleteOutputTree(dir_).empty());
  std::filesystem::create_directory(dir_ / "AAA");
  WriteFile(dir_ / "AAA/DLC", "a file where a folder must go");

  const Failures failures = CreateOutputTree(dir_);
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].step, FailedStep::kCreateFolder);
  EXPECT_EQ(failures[0].path, dir_ / "AAA/DLC");
  EXPECT_EQ(failures[0].reason, std::errc::file_exists);
  EXPECT_TRUE(std::filesystem::is_directory(dir_ / "AAA/Base/Assets/Text/Translations"));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "AAA/DLC/Newbuilding2PD_RIR"));
}

TEST(OutputPathsTest, DocumentsLieInTheirChains) {
  const OutputPaths paths = MakeOutputPaths("out");
  EXPECT_EQ(paths.localization.generic_string(),
            "out/AAA/Base/Assets/Text/Translations/Newbuilding2PD_zh_Hans_CN.xml");
  EXPECT_EQ(paths.gameplayData.generic_string(),
            "out/AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_GameplayData.xml");
  EXPECT_EQ(paths.manifest.generic_string(),
            "out/AAA/DLC/Newbuilding2PD_RIR/Newbuilding2PD_RIR.modinfo");
}

}  // namespace
}  // namespace wondergen::testing
