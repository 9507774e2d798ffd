// wondergen-cli: one generation run from the command line, without the window.
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <new>
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
    case wondergen::FailedStep::kRemove: return "cannot remove";
    case wondergen::FailedStep::kRead: return "cannot read";
  }
  return "cannot handle";
}

void SayWaiting(const fs::path& folder) {
  Say("waiting for another run of wondergen, which works in " + folder.string());
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
  std::error_code error;
  const fs::path resolved =
      mayBeMade ? fs::weakly_canonical(fs::absolute(folder), error) : fs::canonical(folder, error);
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

// The game's folders found, each file the search could not read said on standard error.
wondergen::GameFolderSearch SearchGameFolders() {
  wondergen::GameFolderSearch search = wondergen::SearchGameFolders();
  for (const wondergen::SearchNote& note : search.notes)
    Say("cannot read " + note.file.string() + ": " + note.reason +
        "; the game folders it would lead to are left out");
  return search;
}

// The Mods folders that --list, --show, --remove and --install work in; `usual` (where given)
// receives where the game usually keeps its folder.
std::vector<fs::path> ModsFolders(const wondergen::cli::CommandLine& commandLine,
                                  fs::path* usual = nullptr) {
  if (!commandLine.modsDir.empty()) return {commandLine.modsDir};
  const wondergen::GameFolderSearch search = SearchGameFolders();
  if (usual != nullptr) *usual = search.usual;
  return wondergen::ModsFoldersOf(search.found);
}

// `text` with each backslash, tab, line break and carriage return written as \\, \t, \n and \r:
// one field of a line, whatever a name or a path holds.
std::string Field(const std::string& text) {
  std::string field;
  for (const char c : text) {
    field += c == '\\'   ? "\\\\"
             : c == '\t' ? "\\t"
             : c == '\n' ? "\\n"
             : c == '\r' ? "\\r"
                         : std::string(1, c);
  }
  return field;
}

// --where: each game folder found and its Mods folder, a line each.
int NameGameFolders() {
  for (const fs::path& game : SearchGameFolders().found)
    std::fputs((Field(game.string()) + "\t" + Field((game / "Mods").string()) + "\n").c_str(),
               stdout);
  return kExitWritten;
}

// `text` as one word of a POSIX shell, on one line: as it is where it holds only characters no
// shell reads otherwise; else in single quotes, each of its own ending the quotes for an escaped
// one; and where it breaks a line, made by printf from its format in single quotes, every
// backslash and percent sign escaped and each line break written \n or \r. Nullopt where it ends
// in a line break, which a command substitution drops and nothing else on one line can give.
std::optional<std::string> ShellWord(const std::string& text) {
  const bool plain = !text.empty() && text.find_first_not_of(
                                          "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                          "0123456789_@%+=:,./-") == std::string::npos;
  if (plain) return text;
  const bool breaks = text.find_first_of("\r\n") != std::string::npos;
  if (!text.empty() && text.back() == '\n') return std::nullopt;
  std::string word = breaks ? "\"$(printf '" : "'";
  for (const char c : text) {
    word += c == '\''               ? std::string("'\\''")
            : !breaks               ? std::string(1, c)
            : c == '\\' || c == '%' ? std::string(c == '%' ? "%%" : "\\\\")
            : c == '\n'             ? std::string("\\n")
            : c == '\r'             ? std::string("\\r")
                                    : std::string(1, c);
  }
  return word + (breaks ? "')\"" : "'");
}

// Each wonder in each Mods folder, by number, and for one number in the order of the folders.
int ListWonders(const wondergen::cli::CommandLine& commandLine) {
  bool failed = false;
  const auto report = [&failed](const wondergen::Failure& failure) {
    failed = true;
    Report(failure);
  };
  std::vector<wondergen::InstalledWonder> installed;
  for (const fs::path& mods : ModsFolders(commandLine)) {
    const std::vector<wondergen::InstalledWonder> there =
        wondergen::InstalledWonders({mods}, report, SayWaiting);
    installed.insert(installed.end(), there.begin(), there.end());
  }
  std::stable_sort(installed.begin(), installed.end(),
                   [](const wondergen::InstalledWonder& a, const wondergen::InstalledWonder& b) {
                     return a.number < b.number;
                   });
  std::error_code error;
  for (const wondergen::InstalledWonder& wonder : installed) {
    const std::string name =
        wonder.name.empty() ? "(cannot be read)" : wondergen::ToUtf8(wonder.name, error);
    std::fputs((std::to_string(wonder.number) + "\t" + Field(name) + "\t" +
                Field(wonder.folder.string()) + "\n")
                   .c_str(),
               stdout);
  }
  return failed ? kExitFailed : kExitWritten;
}

// The options that make the wonder again, on one line, read from its installed folder, or else
// from AAA.
int ShowWonder(const wondergen::cli::CommandLine& commandLine) {
  using namespace wondergen;
  const WonderReading reading = ReadWonder(
      commandLine.wonder, WonderShelves(ModsFolders(commandLine), commandLine.outputDir),
      [](std::string_view file) {
        std::error_code error;
        Picture picture = cli::DecodePicture(file, error, kLargestKeptSquare);
        return error ? std::nullopt : std::optional<Picture>(std::move(picture));
      },
      SayWaiting);
  if (reading.path.empty()) {
    Say("wonder " + std::to_string(commandLine.wonder) + " is neither installed nor in " +
        (commandLine.outputDir / "AAA").string());
    return kExitFailed;
  }
  if (!reading.form) {
    Say("cannot read " + reading.path.string() + ": " + reading.reason.message());
    return kExitFailed;
  }
  for (const fs::path& texture : reading.texturesMadeAgain)
    Say(texture.string() + ": not as this version makes it from " + reading.icon.string() +
        "; making the wonder again makes it anew");
  for (const fs::path& other : reading.deletedWhenMadeAgain)
    Say(other.string() + ": no part of the wonder's package; making the wonder again deletes it");
  // Each option with its value, the texts in UTF-8 and quoted as one word each.
  const Form& form = *reading.form;
  const Rules& rules = form.rules;
  std::vector<std::pair<std::string, std::string>> options = {
      {"number", std::to_string(form.wonder)}};
  for (int field = 0; field < kFieldCount; ++field) {
    if (IsSet(form.valueBoxes[field]))
      options.push_back({kFieldCatalogue[field].option, form.valueBoxes[field]});
  }
  for (int text = 0; text < kTextCount; ++text)
    options.push_back({kTextCatalogue[text].option, form.texts[text]});
  if (rules.cost != Rules().cost) options.push_back({"cost", std::to_string(rules.cost)});
  options.push_back({"prereq", rules.prerequisite});
  options.push_back({"obsolete-era", rules.obsoleteEra});
  options.push_back({"quote", rules.quote});
  std::string line;
  for (const auto& [option, value] : options) {
    std::error_code error;
    const std::string utf8 = ToUtf8(value, error);
    const std::optional<std::string> word = ShellWord(utf8);
    if (error || !word) {
      Say("cannot give --" + option + " of " + reading.path.string() +
          " on one line: " + (error ? error.message() : "its text ends in a line break"));
      return kExitFailed;
    }
    if (!value.empty()) line += (line.empty() ? "--" : " --") + option + "=" + *word;
  }
  if (!rules.goldPurchase) line += " --no-gold-purchase";
  if (!reading.icon.empty()) {
    const std::optional<std::string> icon = ShellWord(reading.icon.string());
    if (!icon) {
      Say("cannot give --icon on one line: " + reading.icon.string() + " ends in a line break");
      return kExitFailed;
    }
    line += " --icon=" + *icon;
  }
  std::fputs((line + "\n").c_str(), stdout);
  return kExitWritten;
}

// Each technology and civic a wonder may need, one a line, in the table's order: type, name, era.
int ListPrerequisites() {
  using namespace wondergen;
  for (const PrerequisiteSpec& prerequisite : kPrerequisites) {
    std::error_code error;
    const std::string name = ToUtf8(prerequisite.name, error);
    if (error) {
      Say("cannot convert the names to UTF-8: " + error.message());
      return kExitFailed;
    }
    std::fputs((std::string(prerequisite.type) + "\t" + name + "\t" +
                kEras[static_cast<std::size_t>(prerequisite.era)].type + "\n")
                   .c_str(),
               stdout);
  }
  return kExitWritten;
}

int RemoveWonder(const wondergen::cli::CommandLine& commandLine) {
  bool failed = false;
  const std::vector<fs::path> removed = wondergen::RemoveWonder(
      commandLine.wonder, ModsFolders(commandLine),
      [&failed](const wondergen::Failure& failure) {
        failed = true;
        Report(failure);
      },
      SayWaiting);
  for (const fs::path& folder : removed)
    std::fputs((folder.string() + "\n").c_str(), stdout);
  if (removed.empty() && !failed)
    Say("wonder " + std::to_string(commandLine.wonder) + " is not installed");
  return removed.empty() || failed ? kExitFailed : kExitWritten;
}

int Run(int argc, char** argv) {
  using namespace wondergen;

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
  if (commandLine.action == cli::Action::kPrerequisites) return FinishOutput(ListPrerequisites());
  const std::string modsDirGiven = commandLine.modsDir.string();
  if (!ResolveFolder("--out", commandLine.outputDir) ||
      (!commandLine.modsDir.empty() && !ResolveFolder("--mods-dir", commandLine.modsDir)))
    return kExitUsage;
  // A Mods folder to read or remove from that is a file holds no wonder, which would pass for
  // "none installed"; an install into it fails as it is made.
  std::error_code error;
  if (commandLine.action != cli::Action::kGenerate && !commandLine.modsDir.empty() &&
      fs::exists(commandLine.modsDir, error) && !fs::is_directory(commandLine.modsDir, error)) {
    Say("--mods-dir: \"" + modsDirGiven +
        "\": " + std::make_error_code(std::errc::not_a_directory).message());
    return kExitFailed;
  }
  if (commandLine.action == cli::Action::kList) return FinishOutput(ListWonders(commandLine));
  if (commandLine.action == cli::Action::kShow) return FinishOutput(ShowWonder(commandLine));
  if (commandLine.action == cli::Action::kRemove) return FinishOutput(RemoveWonder(commandLine));
  if (commandLine.action == cli::Action::kWhere) return FinishOutput(NameGameFolders());
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

  fs::path usual;
  const std::vector<fs::path> modsFolders = commandLine.install || !commandLine.modsDir.empty()
                                                ? ModsFolders(commandLine, &usual)
                                                : std::vector<fs::path>();
  const RunOutcome outcome =
      RebuildModPackage(commandLine.form, commandLine.outputDir, modsFolders, Report, SayWaiting);
  for (const fs::path& path : outcome.written)
    std::fputs((path.string() + "\n").c_str(), stdout);
  // Nothing to install into is a failure of what was asked, told once AAA is written.
  const bool noGame = commandLine.install && modsFolders.empty();
  if (noGame)
    Say(usual.empty() ? "--install: the game's folder is not known here; give --mods-dir"
                      : "--install: no folder of the game at \"" + usual.string() +
                            "\"; start the game once, or give --mods-dir");
  return FinishOutput(outcome.failures.empty() && !noGame ? kExitWritten : kExitFailed);
}

}  // namespace

int main(int argc, char** argv) {
  // A write past the file-size limit or into a pipe that nobody reads is to fail, and be reported,
  // rather than end the program.
  std::signal(SIGXFSZ, SIG_IGN);
  std::signal(SIGPIPE, SIG_IGN);
  // So is running out of memory, in a picture's decoder or anywhere else: a message, exit status 1.
  try {
    return Run(argc, argv);
  } catch (const std::bad_alloc&) {
    Say("out of memory: " + std::make_error_code(std::errc::not_enough_memory).message());
    return kExitFailed;
  }
}
