// wondergen-cli: one generation run from the command line, without the window.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "options.h"
#include "picture.h"
#include "wondergen/generator.h"

namespace {

namespace fs = std::filesystem;

constexpr int kExitWritten = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// Standard error is unbuffered: each message is out as soon as it is known.
void Say(const std::string& message) {
  std::fputs(("wondergen-cli: " + message + "\n").c_str(), stderr);
}

const char* DescribeStep(wondergen::FailedStep step) {
  switch (step) {
    case wondergen::FailedStep::kDeleteEntry: return "cannot delete";
    case wondergen::FailedStep::kCreateFolder: return "cannot create folder";
    case wondergen::FailedStep::kCreateDocument: return "cannot create";
    case wondergen::FailedStep::kConvertDocument: return "cannot convert to UTF-8";
    case wondergen::FailedStep::kWriteDocument: return "cannot write";
    case wondergen::FailedStep::kInstall: return "cannot install";
    case wondergen::FailedStep::kLock: return "cannot work in";
  }
  return "cannot handle";
}

void Report(const wondergen::Failure& failure) {
  const std::string cause = failure.cause.empty() ? "" : failure.cause.string() + ": ";
  Say(std::string(DescribeStep(failure.step)) + " " + failure.path.string() + ": " + cause +
      failure.reason.message());
}

// What was printed must have arrived, as GNU tools insist: a full disk or a pipe nobody reads is a
// failure.
int FinishOutput(int status) {
  errno = 0;
  if (std::fflush(stdout) == 0 && !std::ferror(stdout) && std::fclose(stdout) == 0) return status;
  Say(std::string("cannot write standard output: ") + std::strerror(errno != 0 ? errno : EIO));
  return kExitFailed;
}

// A folder given on the command line, made absolute and its links resolved before anything is
// touched, so that a path through AAA itself ("DIR/AAA/..") still names the folder once AAA is
// deleted. --out must be a folder; --mods-dir may be one still to be made, in a folder that is.
bool ResolveFolder(const char* option, fs::path& folder) {
  const bool mayBeMade = std::string(option) == "--mods-dir";
  if (mayBeMade && !folder.has_filename()) folder = folder.parent_path();  // "Mods/"
  std::error_code error = folder.empty()
                              ? std::make_error_code(std::errc::no_such_file_or_directory)
                              : std::error_code();
  fs::path resolved;
  if (!error)
    resolved = mayBeMade ? fs::weakly_canonical(folder, error) : fs::canonical(folder, error);
  const fs::path mustBeFolder = mayBeMade ? resolved.parent_path() : resolved;
  if (!error && !fs::is_directory(mustBeFolder, error) && !error)
    error = std::make_error_code(fs::exists(mustBeFolder) ? std::errc::not_a_directory
                                                          : std::errc::no_such_file_or_directory);
  if (error) {
    Say(std::string(option) + ": \"" + folder.string() + "\": " + error.message());
    return false;
  }
  folder = resolved;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace wondergen;
  // A write past the file-size limit or into a pipe that nobody reads is to fail, and be reported,
  // rather than end the program.
  std::signal(SIGXFSZ, SIG_IGN);
  std::signal(SIGPIPE, SIG_IGN);

  cli::ParsedCommandLine parsed =
      cli::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  cli::CommandLine& commandLine = parsed.commandLine;
  if (!parsed.error.empty()) {
    Say(parsed.error + "\nTry 'wondergen-cli --help'.");
    return kExitUsage;
  }
  if (commandLine.action == cli::Action::kHelp) {
    std::fputs(cli::HelpText().c_str(), stdout);
    return FinishOutput(kExitWritten);
  }
  if (commandLine.action == cli::Action::kVersion) {
    std::fputs("wondergen-cli " WONDERGEN_VERSION "\n", stdout);
    return FinishOutput(kExitWritten);
  }
  if (!ResolveFolder("--out", commandLine.outputDir) ||
      (!commandLine.modsDir.empty() && !ResolveFolder("--mods-dir", commandLine.modsDir)))
    return kExitUsage;
  if (!commandLine.iconFile.empty()) {
    std::string why;
    const std::optional<Picture> picture = cli::ReadPictureFile(commandLine.iconFile, why);
    if (!picture) {
      Say("--icon: \"" + commandLine.iconFile.string() + "\": " + why);
      return kExitUsage;
    }
    commandLine.form.icon = FitIcon(*picture);
  }
  for (const std::string& note : parsed.notes)
    Say(note);

  std::vector<fs::path> modsFolders;
  if (!commandLine.modsDir.empty()) {
    modsFolders = {commandLine.modsDir};
  } else if (commandLine.install) {
    modsFolders = FindModsFolders();
  }
  const RunOutcome outcome = RebuildModPackage(
      commandLine.form, commandLine.outputDir, modsFolders, Report, [](const fs::path& folder) {
        Say("waiting for another run of wondergen, which works in " + folder.string());
      });
  for (const fs::path& path : outcome.written)
    std::fputs((path.string() + "\n").c_str(), stdout);
  // Nothing to install into is a failure of what was asked, told once AAA is written.
  const bool noGame = commandLine.install && modsFolders.empty();
  if (noGame) {
    const std::vector<fs::path> lookedFor = GameUserFolders();
    Say(lookedFor.empty() ? "--install: the game's folder is not known here; give --mods-dir"
                          : "--install: no folder of the game at \"" + lookedFor.front().string() +
                                "\"; start the game once, or give --mods-dir");
  }
  return FinishOutput(outcome.failures.empty() && !noGame ? kExitWritten : kExitFailed);
}
