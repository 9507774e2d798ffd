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
    case wondergen::FailedStep::kConvertDocument: return "cannot convert to UTF-8";
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

bool Written(const wondergen::Failures& failures, const std::filesystem::path& document) {
  for (const wondergen::Failure& failure : failures) {
    const bool ofADocument = failure.step == wondergen::FailedStep::kCreateDocument ||
                             failure.step == wondergen::FailedStep::kConvertDocument ||
                             failure.step == wondergen::FailedStep::kWriteDocument;
    if (ofADocument && failure.path == document) return false;
  }
  return true;
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

  const Failures failures =
      RebuildModPackage(cli::MakeFormReader(commandLine), commandLine.outputDir);
  const OutputPaths paths = MakeOutputPaths(commandLine.outputDir);
  for (Document document : kDocuments) {
    const std::filesystem::path& path = PathOf(paths, document);
    if (Written(failures, path)) std::cout << path.string() << "\n";
  }
  ReportFailures(failures);
  return failures.empty() ? kExitWritten : kExitFailed;
}
