// The command line: its options, its errors and its exit codes, run as a user would run it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include "options.h"
#include "test_support.h"

extern char** environ;

namespace wondergen::testing {
namespace {

struct CliRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs wondergen-cli in `workDir` with the given arguments.
CliRun RunCli(const std::filesystem::path& workDir, std::vector<std::string> arguments) {
  const std::filesystem::path outFile = workDir / ".." / (workDir.filename().string() + ".out");
  const std::filesystem::path errFile = workDir / ".." / (workDir.filename().string() + ".err");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  const std::string program = WONDERGEN_CLI;
  const std::string script = "cd \"$0\" && exec \"$@\"";
  std::vector<std::string> command = {"/bin/sh", "-c", script, workDir.string(), program};
  command.insert(command.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : command)
    argv.push_back(argument.data());
  argv.push_back(nullptr);
  CliRun run;
  pid_t child;
  if (posix_spawn(&child, "/bin/sh", &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    waitpid(child, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  run.out = ReadFile(outFile);
  run.err = ReadFile(errFile);
  return run;
}

class CliTest : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    work_ = dir_ / "work";
    std::filesystem::create_directory(work_);
  }
  std::filesystem::path work_;
};

TEST_F(CliTest, WithoutOptionsWritesTheDefaultPackageHere) {
  const CliRun run = RunCli(work_, {});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const OutputPaths paths = MakeOutputPaths(".");
  EXPECT_EQ(run.out, paths.localization.string() + "\n" + paths.gameplayData.string() + "\n" +
                         paths.manifest.string() + "\n");
  const WrittenPackage library = GenerateInto(dir_ / "library", FormWith({}));
  EXPECT_EQ(ReadFile(work_ / paths.localization), library.localization);
  EXPECT_EQ(ReadFile(work_ / paths.gameplayData), library.gameplayData);
  EXPECT_EQ(ReadFile(work_ / paths.manifest), library.manifest);
}

TEST_F(CliTest, OptionsFillTheFormAsTheWindowWould) {
  const CliRun run = RunCli(work_, {"--out", dir_.string(), "--science", "007", "--gold=12abc",
                                    "--housing", "3", "--wall-defence", "0", "--title", "奇观",
                                    "--description", "A&B", "--author", "玩家"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const WrittenPackage library =
      GenerateInto(dir_ / "library", FormWith({{ValueBoxId(0), "007"},
                                               {ValueBoxId(5), "12abc"},
                                               {ValueBoxId(24), "3"},
                                               {ValueBoxId(26), "0"},
                                               {TextBoxId(0), Cp936("奇观")},
                                               {TextBoxId(2), "A&B"},
                                               {TextBoxId(4), Cp936("玩家")}}));
  const OutputPaths paths = MakeOutputPaths(dir_);
  EXPECT_EQ(ReadFile(paths.localization), library.localization);
  EXPECT_EQ(ReadFile(paths.gameplayData), library.gameplayData);
  EXPECT_NE(library.gameplayData.find("YieldChange=\"12abc\""), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(work_ / "AAA"));
}

struct UsageErrorCase {
  std::vector<std::string> arguments;
  std::string message;  // a part of what standard error must say
};
void PrintTo(const UsageErrorCase& c, std::ostream* out) {
  for (const std::string& argument : c.arguments)
    *out << argument << ' ';
}

class CliUsageTest : public CliTest, public ::testing::WithParamInterface<UsageErrorCase> {};

TEST_P(CliUsageTest, ExitsWithTwoAndTouchesNothing) {
  std::filesystem::create_directories(work_ / "AAA/old");
  const CliRun run = RunCli(work_, GetParam().arguments);
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(ListTree(work_), (std::vector<std::string>{"AAA/", "AAA/old/"}));
}

INSTANTIATE_TEST_SUITE_P(
    BadUsage, CliUsageTest,
    ::testing::Values(
        UsageErrorCase{{"--science", "abc"}, "--science: \"abc\" is not a number from 1 to 1999"},
        UsageErrorCase{{"--gold", "2000"}, "--gold: \"2000\" is not a number from 1 to 1999"},
        UsageErrorCase{{"--faith", "-3"}, "--faith: \"-3\" is not a number from 1 to 1999"},
        UsageErrorCase{{"--food="}, "--food: \"\" is not a number from 1 to 1999"},
        UsageErrorCase{
            {"--housing", "1234567890"},
            "--housing: \"1234567890\" is 10 bytes or longer; give a number from 1 to 1999"},
        UsageErrorCase{{"--amenity", "1科技科技科"},
                       "--amenity: \"1科技科技科\" is 10 bytes or longer"},
        UsageErrorCase{{"--culture", "😀"}, "--culture: \"😀\" is not a number"},
        UsageErrorCase{{"--title", "😀"}, "--title: \"😀\" holds a character that code page 936"},
        UsageErrorCase{{"--author", "\xff"}, "--author:"},
        UsageErrorCase{{"--colour", "red"}, "unknown option --colour"},
        UsageErrorCase{{"--science"}, "--science needs a value"},
        UsageErrorCase{{"stray"}, "unexpected argument \"stray\""},
        UsageErrorCase{{"--out", "missing"}, "--out: missing is not a directory"},
        UsageErrorCase{{"--science", "5", "--relic-slots", "x"}, "--relic-slots:"}));

TEST_F(CliTest, AFailureToWriteExitsWithOneNamingThePath) {
  if (!std::filesystem::is_directory("/proc/self")) GTEST_SKIP() << "needs /proc";
  const CliRun run = RunCli(work_, {"--out", "/proc"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("cannot create folder /proc/AAA: "), std::string::npos) << run.err;
  EXPECT_NE(
      run.err.find("cannot create /proc/AAA/DLC/Newbuilding2PD_RIR/Newbuilding2PD_RIR.modinfo: "),
      std::string::npos)
      << run.err;
  EXPECT_EQ(run.out, "");
}

TEST_F(CliTest, HelpListsEveryOptionWithTheWindowsLabel) {
  const CliRun run = RunCli(work_, {"--help"});
  EXPECT_EQ(run.exitCode, 0);
  for (const FieldSpec& field : kFieldCatalogue) {
    const std::string option = std::string("--") + field.option;
    const std::size_t at = run.out.find(option + " N");
    ASSERT_NE(at, std::string::npos) << option;
    const std::string line = run.out.substr(at, run.out.find('\n', at) - at);
    EXPECT_NE(line.find(ToUtf8(field.label)), std::string::npos) << line;
  }
  for (const TextSpec& text : kTextCatalogue) {
    EXPECT_NE(run.out.find(std::string("--") + text.option + " TEXT"), std::string::npos);
    EXPECT_NE(run.out.find(ToUtf8(text.label)), std::string::npos);
  }
  EXPECT_FALSE(std::filesystem::exists(work_ / "AAA"));
  EXPECT_EQ(RunCli(work_, {"--version"}).out, "wondergen-cli " WONDERGEN_VERSION "\n");
}

TEST(CommandLineTest, TheLastOfARepeatedOptionCounts) {
  const cli::ParsedCommandLine parsed =
      cli::ParseCommandLine({"--science", "5", "--science=1999", "--title", "a", "--title=b"});
  EXPECT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.commandLine.valueBoxes[0], "1999");
  EXPECT_EQ(parsed.commandLine.texts[0], "b");
}

}  // namespace
}  // namespace wondergen::testing
