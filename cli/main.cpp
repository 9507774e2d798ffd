// wondergen-cli: one generation run from the command line, without the window.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "options.h"
#include "wondergen/generator.h"

namespace {

constexpr int kExitWritten = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

std::string DescribeStep(wondergen::FailedStep step) {
  switch (step) {
    case wondergen::FailedStep::kDeleteEntry: return "cannot delete";
    case wondergen::FailedStep::kCreateFolder: return "cannot create folder";
    case wondergen::FailedStep::kCreateDocument: return "cannot create";
    case wondergen::FailedStep::kWriteDocument: return "cannot write";
  }
  return "cannot handle";
}

void ReportFailures(const wondergen::Failures& failures) {
  for (const wondergen::Failure& failure : failures) {
    std::cerr << "wondergen-cli: " << DescribeStep(failure.step) << " " << failure.path.string()
              << ": " << failure.reason.message() << "\n";
  }
}

bool Mentions(const wondergen::Failures& failures, const std::filesystem::path& path) {
  for (const wondergen::Failure& failure : failures) {
    if (failure.path == path) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace wondergen;
  const cli::ParsedCommandLine parsed =
      cli::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  const cli::CommandLine& commandLine = parsed.commandLine;
  if (!parsed.error.empty()) {
    std::cerr << "wondergen-cli: " << parsed.error << "\nTry 'wondergen-cli --help'.\n";
    return kExitUsage;
  }
  if (commandLine.action == cli::Action::kHelp) {
    std::cout << cli::HelpText();
    return kExitWritten;
  }
  if (commandLine.action == cli::Action::kVersion) {
    std::cout << "wondergen-cli " WONDERGEN_VERSION "\n";
    return kExitWritten;
  }
  std::error_code error;
  if (!std::filesystem::is_directory(commandLine.outputDir, error)) {
    std::cerr << "wondergen-cli: --out: " << commandLine.outputDir.string()
              << " is not a directory\n";
    return kExitUsage;
  }

  Failures failures = PrepareOutputTree(commandLine.outputDir);
  const Failures runFailures =
      GenerateModPackage(cli::MakeFormReader(commandLine), commandLine.outputDir);
  failures.insert(failures.end(), runFailures.begin(), runFailures.end());

  const OutputPaths paths = MakeOutputPaths(commandLine.outputDir);
  for (const auto& path : {paths.localization, paths.gameplayData, paths.manifest}) {
    if (!Mentions(runFailures, path)) std::cout << path.string() << "\n";
  }
  ReportFailures(failures);
  return failures.empty() ? kExitWritten : kExitFailed;
}
