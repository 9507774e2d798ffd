#include "options.h"

#include <getopt.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>

namespace wondergen::cli {
namespace {

constexpr std::size_t kHelpOptionColumn = 28;

// A label of the window in UTF-8; left out where the system cannot convert it.
std::string Label(const char* cp936Label) {
  std::error_code ignored;
  return ToUtf8(cp936Label, ignored);
}

std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  quoted += text;
  return quoted += '"';
}

// The argument in code page 936, as the window would hold it, or why it cannot be: `lacking` says
// what is wrong with an argument that code page 936 cannot hold.
std::optional<std::string> InCodePage936(std::string_view name, std::string_view value,
                                         std::string_view lacking, std::string& error) {
  std::error_code failure;
  std::vector<std::size_t> invalidBytes;
  std::optional<std::string> cp936 = FromUtf8(value, failure, &invalidBytes);
  if (failure == std::errc::illegal_byte_sequence) {
    // Each byte that is part of no UTF-8 character is shown as \xHH, from the last one back.
    std::string shown(value);
    for (auto at = invalidBytes.rbegin(); at != invalidBytes.rend(); ++at) {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", static_cast<unsigned char>(value[*at]));
      shown.replace(*at, 1, escaped);
    }
    error = "--" + std::string(name) + ": " + Quoted(shown) + " is not valid UTF-8";
  } else if (failure) {
    error = "--" + std::string(name) + ": cannot convert " + Quoted(value) +
            " to code page 936 (GBK): " + failure.message();
  } else if (!cp936) {
    error = "--" + std::string(name) + ": " + Quoted(value) + std::string(lacking);
  }
  return cp936;
}

// The value-box text that a field option gives, as the window would screen it when typed, or the
// reason it is refused: a value that would become "0" or be ignored is a mistake on a command line.
std::optional<std::string> ScreenFieldOption(std::string_view name, std::string_view value,
                                             std::string& error) {
  const std::string range = "a number from " + std::to_string(kLowestAcceptedValue) + " to " +
                            std::to_string(kHighestAcceptedValue);
  const std::optional<std::string> cp936 =
      InCodePage936(name, value, " is not a number; give " + range, error);
  if (!cp936) return std::nullopt;
  const std::optional<std::string> screened = ScreenEntryText(*cp936);
  if (!screened) {
    error =
        "--" + std::string(name) + ": " + Quoted(value) + " is 10 bytes or longer; give " + range;
    return std::nullopt;
  }
  if (*screened == "0" && *cp936 != "0") {
    error = "--" + std::string(name) + ": " + Quoted(value) + " is not " + range;
    return std::nullopt;
  }
  return screened;
}

// What getopt_long returns for each option beyond the characters: a field's slot or a text's index
// added to its base.
// Each kind in a block of its own: a form's options, where the wonders are, the actions that stand
// without a form, and help and version.
enum OptionCode : int {
  kField = 0x1000,
  kText = 0x2000,
  kNumber = 0x3000,
  kIcon,
  kInstall,
  kCost,
  kPrerequisite,
  kObsoleteEra,
  kQuote,
  kNoGoldPurchase,
  kOut = 0x4000,
  kModsDir,
  kList = 0x5000,
  kShow,
  kRemove,
  kWhere,
  kListPrerequisites,
  kHelp = 0x6000,
  kVersion,
};
bool IsPlace(int code) {
  return code >= kOut && code < kList;
}
bool IsAction(int code) {
  return code >= kList && code < kHelp;
}

// The options table, from the two catalogues.
std::vector<option> OptionTable() {
  std::vector<option> table;
  for (int slot = 0; slot < kFieldCount; ++slot)
    table.push_back({kFieldCatalogue[slot].option, required_argument, nullptr, kField + slot});
  for (int text = 0; text < kTextCount; ++text)
    table.push_back({kTextCatalogue[text].option, required_argument, nullptr, kText + text});
  table.push_back({"out", required_argument, nullptr, kOut});
  table.push_back({"number", required_argument, nullptr, kNumber});
  table.push_back({"icon", required_argument, nullptr, kIcon});
  table.push_back({"install", no_argument, nullptr, kInstall});
  table.push_back({"mods-dir", required_argument, nullptr, kModsDir});
  table.push_back({"list", no_argument, nullptr, kList});
  table.push_back({"show", required_argument, nullptr, kShow});
  table.push_back({"remove", required_argument, nullptr, kRemove});
  table.push_back({"where", no_argument, nullptr, kWhere});
  table.push_back({"prereqs", no_argument, nullptr, kListPrerequisites});
  table.push_back({"cost", required_argument, nullptr, kCost});
  table.push_back({"prereq", required_argument, nullptr, kPrerequisite});
  table.push_back({"obsolete-era", required_argument, nullptr, kObsoleteEra});
  table.push_back({"quote", required_argument, nullptr, kQuote});
  table.push_back({"no-gold-purchase", no_argument, nullptr, kNoGoldPurchase});
  table.push_back({"help", no_argument, nullptr, kHelp});
  table.push_back({"version", no_argument, nullptr, kVersion});
  table.push_back({nullptr, 0, nullptr, 0});
  return table;
}

// An option getopt_long did not take, by what was written ("--colour=red" as --colour).
std::string Refused(const std::vector<option>& table, std::string written) {
  written = written.substr(0, written.find('='));
  int matches = 0;
  for (const option& known : table)
    matches +=
        known.name != nullptr && std::string_view(known.name).rfind(written.substr(2), 0) == 0;
  return (matches > 1 ? "ambiguous option " : "unknown option ") + written;
}

// Takes the value of the option `code` (`name` in full).
bool TakeValue(int code, const std::string& name, const std::string& value,
               ParsedCommandLine& parsed) {
  CommandLine& commandLine = parsed.commandLine;
  // An empty value is a mistake, often a script's variable left unset: taken as the option left
  // out, it would install into or remove from the game's own Mods folder, or drop the icon.
  if (value.empty() && (code == kOut || code == kModsDir || code == kIcon)) {
    parsed.error = "--" + name + ": \"\": " +
                   std::make_error_code(std::errc::no_such_file_or_directory).message();
    return false;
  }
  const bool isText = (code >= kText && code < kText + kTextCount) || code == kQuote;
  if (value.empty() && isText) {
    parsed.error =
        "--" + name + ": \"\" is empty; give a text, or leave --" + name + " out for its default";
    return false;
  }
  const auto characters = std::count_if(value.begin(), value.end(), [](char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;  // not a UTF-8 continuation byte
  });
  if (isText && static_cast<std::size_t>(characters) > kLongestText) {
    parsed.error = "--" + name + ": longer than " + std::to_string(kLongestText) +
                   " characters, the most a text holds";
    return false;
  }
  if (code == kOut) {
    commandLine.outputDir = std::filesystem::path(value);
  } else if (code == kNumber || code == kShow || code == kRemove) {
    const std::optional<int> wonder = WonderNumber(value);
    if (!wonder) {
      parsed.error = "--" + name + ": " + Quoted(value) + " is not a number from " +
                     std::to_string(kFirstWonder) + " to " + std::to_string(kLastWonder);
      return false;
    }
    (code == kNumber ? commandLine.form.wonder : commandLine.wonder) = *wonder;
  } else if (code == kCost) {
    const std::optional<int> cost = CostNumber(value);
    if (!cost) {
      parsed.error = "--" + name + ": " + Quoted(value) + " is not a number from " +
                     std::to_string(kLowestCost) + " to " + std::to_string(kHighestCost);
      return false;
    }
    commandLine.form.rules.cost = *cost;
  } else if (code == kPrerequisite) {
    if (std::none_of(wondergen::kPrerequisites.begin(), wondergen::kPrerequisites.end(),
                     [&](const PrerequisiteSpec& offered) { return value == offered.type; })) {
      parsed.error = "--" + name + ": " + Quoted(value) +
                     " is no technology or civic of the base game (--prereqs lists them)";
      return false;
    }
    commandLine.form.rules.prerequisite = value;
  } else if (code == kObsoleteEra) {
    std::string eras;
    for (const EraSpec& era : kEras)
      eras += (eras.empty() ? "" : ", ") + std::string(era.type);
    if (std::none_of(kEras.begin(), kEras.end(),
                     [&](const EraSpec& era) { return value == era.type; })) {
      parsed.error = "--" + name + ": " + Quoted(value) + " is no era of the base game: " + eras;
      return false;
    }
    commandLine.form.rules.obsoleteEra = value;
  } else if (code == kModsDir) {
    commandLine.modsDir = std::filesystem::path(value);
  } else if (code == kIcon) {
    commandLine.iconFile = std::filesystem::path(value);
  } else if (code < kText) {
    const std::optional<std::string> screened = ScreenFieldOption(name, value, parsed.error);
    if (!screened) return false;
    if (value != *screened)
      parsed.notes.push_back("--" + name + ": " + Quoted(value) + " is taken as " + *screened);
    commandLine.form.valueBoxes[code - kField] = *screened;
  } else {
    const std::optional<std::string> cp936 = InCodePage936(
        name, value, " holds a character that code page 936 (GBK) cannot hold", parsed.error);
    if (!cp936) return false;
    (code == kQuote ? commandLine.form.rules.quote : commandLine.form.texts[code - kText]) = *cp936;
  }
  return true;
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  ParsedCommandLine parsed;
  for (const std::string& argument : arguments) {
    if (argument == "--") break;
    if (argument == "--help" || argument == "--version") {
      parsed.commandLine.action = argument == "--help" ? Action::kHelp : Action::kVersion;
      return parsed;
    }
  }
  std::vector<std::string> words = {"wondergen-cli"};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words)
    argv.push_back(word.data());
  argv.push_back(nullptr);
  const std::vector<option> table = OptionTable();
  // "+": the options end at the first argument that is none; ":": a missing value is told apart.
  opterr = 0;
  optind = 0;
  // The first option that asks for work on the wonders made before or for the prerequisites, the
  // first of a form, and the first that says where the wonders are.
  std::string action, formOption, placeOption;
  for (int code; (code = getopt_long(static_cast<int>(words.size()), argv.data(),
                                     "+:", table.data(), nullptr)) != -1;) {
    // The option in full, whatever abbreviation was written.
    const auto found = std::find_if(table.begin(), table.end(), [code](const option& known) {
      return known.val == (code == '?' || code == ':' ? optopt : code);
    });
    const bool known = found != table.end() && found->name != nullptr;
    const std::string name = known ? found->name : "";
    if (code == '?' && known) {  // getopt_long's word for a value given to an option of none
      parsed.error = "--" + name + " takes no value";
    } else if (code == '?' && optopt > 0) {
      parsed.error = "unknown option -" + std::string(1, static_cast<char>(optopt));
    } else if (code == '?') {
      parsed.error = Refused(table, argv[optind - 1]);
    } else if (code == ':') {
      parsed.error = "--" + name + " needs a value";
    } else if (IsAction(code)) {
      parsed.error = action.empty()   ? ""
                     : action == name ? "--" + name + " is given twice"
                                      : "--" + action + " and --" + name + " exclude each other";
      action = action.empty() ? name : action;
      parsed.commandLine.action = code == kList     ? Action::kList
                                  : code == kShow   ? Action::kShow
                                  : code == kWhere  ? Action::kWhere
                                  : code == kRemove ? Action::kRemove
                                                    : Action::kPrerequisites;
      if ((code == kShow || code == kRemove) && parsed.error.empty())
        TakeValue(code, name, optarg, parsed);
    } else if (code == kInstall) {
      parsed.commandLine.install = true;
    } else if (code == kNoGoldPurchase) {
      parsed.commandLine.form.rules.goldPurchase = false;
    } else if (code == kHelp || code == kVersion) {
      parsed.commandLine.action = code == kHelp ? Action::kHelp : Action::kVersion;
      return parsed;
    } else if (optarg == argv[optind - 1] && std::string_view(optarg).rfind("--", 0) == 0) {
      parsed.error = "--" + name + ": " + Quoted(optarg) + " looks like an option; write --" +
                     name + "=" + optarg + " if it is the value";
    } else {
      TakeValue(code, name, optarg, parsed);
    }
    if (formOption.empty() && !IsPlace(code) && !IsAction(code)) formOption = name;
    if (placeOption.empty() && IsPlace(code)) placeOption = name;
    // --where names the game's folders that the search finds: a Mods folder given plays no role.
    if (parsed.error.empty() && action == "where" && !parsed.commandLine.modsDir.empty())
      parsed.error = "--where and --mods-dir exclude each other";
    // The prerequisites are the game's, wherever the wonders are: --prereqs stands alone.
    const std::string& other = formOption.empty() && action == "prereqs" ? placeOption : formOption;
    if (parsed.error.empty() && !action.empty() && !other.empty())
      parsed.error = "--" + action + " and --" + other + " exclude each other";
    if (!parsed.error.empty()) return parsed;
  }
  if (optind < static_cast<int>(words.size()))
    parsed.error = "unexpected argument " + Quoted(words[static_cast<std::size_t>(optind)]);
  return parsed;
}

std::string HelpText() {
  const auto line = [](std::string option, std::string_view what) {
    option = option.empty() ? "" : "  --" + option;
    option.resize(kHelpOptionColumn, ' ');
    return option + std::string(what) + "\n";
  };
  std::string help =
      "Usage: wondergen-cli [OPTION]...\n"
      "Rebuilds the folder AAA in DIR and writes into it the Civilization VI mod\n"
      "package of one wonder, as the window does when its button is pressed.\n"
      "An option may be shortened to a beginning no other option shares (--sci for\n"
      "--science); its value, never empty, follows as the next argument or after \"=\".\n"
      "An option given again replaces the value it was given before.\n\n";
  help += line("out DIR", "where AAA is rebuilt (default: the current folder)");
  help += line("number N", "the wonder's number, 1 to 99 (default 1)");
  help += line("icon FILE", "its icon: a PNG, JPEG, BMP or GIF picture");
  help += line("install", "also install the mod into the game's Mods folder");
  help += line("mods-dir DIR", "install it into DIR, a Mods folder, instead");
  help +=
      "\nThe wonders made before, in the game's Mods folders (or in DIR with --mods-dir);\n"
      "each of these stands alone, once, without the options of a form:\n";
  help += line("list", "list the wonders installed: number, name, folder");
  help += line("show N", "print the options that make wonder N again, read");
  help += line("", "from its Mods folder, or else from AAA in --out");
  help += line("remove N", "remove wonder N from the Mods folders");
  help += line("where", "name each game folder found and its Mods folder:");
  help += line("", "GAME<TAB>MODS, a line each (not with --mods-dir)");
  help +=
      "\nNumbers, screened as the window screens what is typed into a field: a text of at\n"
      "most 9 bytes whose leading number is " +
      std::to_string(kLowestAcceptedValue) + " to " + std::to_string(kHighestAcceptedValue) +
      " gives that number (007 gives 7,\n"
      "12abc gives 12); 0 leaves the field unset, as does leaving the option out:\n";
  for (const FieldSpec& field : kFieldCatalogue) {
    help += line(std::string(field.option) + " N", Label(field.label));
  }
  help +=
      "\nTexts, in UTF-8; one left out, or empty once the characters XML cannot carry\n"
      "are dropped, takes its default:\n";
  for (const TextSpec& text : kTextCatalogue) {
    help += line(std::string(text.option) + " TEXT", Label(text.label));
  }
  help += "\nRules of play, each optional (without them, as a wonder made before rules):\n";
  help += line("cost N", "its production cost, " + std::to_string(kLowestCost) + " to " +
                             std::to_string(kHighestCost) + " (default " +
                             std::to_string(kLowestCost) + ")");
  help += line("prereq TYPE", "the technology or civic it needs (see --prereqs)");
  help += line("obsolete-era ERA", "the era from which it is no longer built: ERA_...");
  help += line("quote TEXT", "its quote in the Civilopedia, in UTF-8");
  help += line("no-gold-purchase", "it cannot be bought with gold");
  help += "\n";
  help += line("prereqs", "list the technologies and civics a wonder may need,");
  help += line("", "one a line: type, name, era");
  help += line("help", "show this help and exit");
  help += line("version", "show the version and exit");
  help +=
      "\nExit status: 0 when every file is written; 1 when something could not be\n"
      "deleted, created or written, no game folder was found to install into, a wonder\n"
      "to show cannot be read back or one to remove is not installed, or the output\n"
      "could not be printed; 2 for bad usage, which touches nothing on disk.\n";
  return help;
}

}  // namespace wondergen::cli
