// Whole generation runs: repeated runs, and documents that cannot be written.
#include <gtest/gtest.h>

#include "test_support.h"

namespace wondergen::testing {
namespace {

using GenerationRunTest = TempDirTest;

TEST_F(GenerationRunTest, TwoRunsWithTheSameFormGiveTheSameFiles) {
  const FormReader form = FormWith({{ValueBoxId(0), "25"}, {TextBoxId(4), Cp936("作者")}});
  const WrittenPackage first = GenerateInto(dir_, form);
  const WrittenPackage second = GenerateInto(dir_, form);
  EXPECT_TRUE(second.failures.empty());
  EXPECT_EQ(second.localization, first.localization);
  EXPECT_EQ(second.gameplayData, first.gameplayData);
  EXPECT_EQ(second.manifest, first.manifest);
  // The name is wrapped afresh on every run, never twice.
  EXPECT_NE(second.localization.find("------改写：《作者》</Text>"), std::string::npos);
  EXPECT_EQ(second.localization.find("《《"), std::string::npos);
}

TEST_F(GenerationRunTest, ARunWithoutTheTreeRebuiltReplacesEachFileWhole) {
  std::map<int, std::string> everything;
  for (int slot = 0; slot < kFieldCount; ++slot)
    everything[ValueBoxId(slot)] = "1999";
  everything[TextBoxId(1)] = std::string(3000, 'x');
  GenerateInto(dir_, FormWith(everything));
  // The second run writes over the first run's files without the tree being deleted.
  EXPECT_TRUE(GenerateModPackage(FormWith({}), dir_).empty());
  const WrittenPackage fresh = GenerateInto(dir_ / "fresh", FormWith({}));
  const OutputPaths paths = MakeOutputPaths(dir_);
  EXPECT_EQ(ReadFile(paths.localization), fresh.localization);
  EXPECT_EQ(ReadFile(paths.gameplayData), fresh.gameplayData);
  EXPECT_EQ(ReadFile(paths.manifest), fresh.manifest);
}

TEST_F(GenerationRunTest, AMissingFolderIsReportedAndTheOtherDocumentsAreWritten) {
  ASSERT_TRUE(PrepareOutputTree(dir_).empty());
  std::filesystem::remove(dir_ / "AAA/Base/Assets/Text/Translations");
  const Failures failures = GenerateModPackage(FormWith({{ValueBoxId(0), "25"}}), dir_);
  const OutputPaths paths = MakeOutputPaths(dir_);
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].step, FailedStep::kCreateDocument);
  EXPECT_EQ(failures[0].path, paths.localization);
  EXPECT_EQ(failures[0].reason, std::errc::no_such_file_or_directory);
  EXPECT_NE(ReadFile(paths.gameplayData).find("YIELD_SCIENCE\" YieldChange=\"25\""),
            std::string::npos);
  EXPECT_EQ(ReadFile(paths.manifest).size(), 693u);
}

TEST_F(GenerationRunTest, AFolderWhereADocumentMustGoIsReported) {
  ASSERT_TRUE(PrepareOutputTree(dir_).empty());
  const OutputPaths paths = MakeOutputPaths(dir_);
  std::filesystem::create_directory(paths.gameplayData);
  const Failures failures = GenerateModPackage(FormWith({}), dir_);
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].step, FailedStep::kCreateDocument);
  EXPECT_EQ(failures[0].path, paths.gameplayData);
  EXPECT_EQ(failures[0].reason, std::errc::is_a_directory);
}

TEST_F(GenerationRunTest, AWriteThatFailsIsReported) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  ASSERT_TRUE(PrepareOutputTree(dir_).empty());
  const OutputPaths paths = MakeOutputPaths(dir_);
  std::filesystem::create_symlink("/dev/full", paths.manifest);
  const Failures failures = GenerateModPackage(FormWith({}), dir_);
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].step, FailedStep::kWriteDocument);
  EXPECT_EQ(failures[0].path, paths.manifest);
  EXPECT_EQ(failures[0].reason, std::errc::no_space_on_device);
}

TEST_F(GenerationRunTest, NoDocumentHasAByteOrderMarkAndEachEndsRight) {
  const WrittenPackage package = GenerateInto(dir_, FormWith({{TextBoxId(0), Cp936("中文")}}));
  for (const std::string* document :
       {&package.localization, &package.gameplayData, &package.manifest}) {
    EXPECT_EQ(document->substr(0, 5), "<?xml");
  }
  EXPECT_EQ(package.localization.back(), '>');
  EXPECT_EQ(package.gameplayData.substr(package.gameplayData.size() - 12), "</GameInfo>\n");
  EXPECT_EQ(package.manifest.substr(package.manifest.size() - 7), "</Mod>\n");
  EXPECT_EQ(package.localization.find('\r'), std::string::npos);
}

}  // namespace
}  // namespace wondergen::testing
