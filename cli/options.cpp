#include "options.h"

#include <algorithm>
#include <optional>

namespace wondergen::cli {
namespace {

constexpr std::string_view kOptionPrefix = "--";
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

// The slot of a field option or the index of a text option; -1 where there is none.
int FindField(std::string_view name) {
  for (int slot = 0; slot < kFieldCount; ++slot) {
    if (name == kFieldCatalogue[slot].option) return slot;
  }
  return -1;
}
int FindText(std::string_view name) {
  for (int text = 0; text < kTextCount; ++text) {
    if (name == kTextCatalogue[text].option) return text;
  }
  return -1;
}

// The argument in code page 936, as the window would hold it, or why it cannot be: `lacking` says
// what is wrong with an argument that code page 936 cannot hold.
std::optional<std::string> InCodePage936(std::string_view name, std::string_view value,
                                         std::string_view lacking, std::string& error) {
  std::error_code failure;
  std::optional<std::string> cp936 = FromUtf8(value, failure);
  if (failure) {
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
  const std::string range = "give a number from " + std::to_string(kLowestAcceptedValue) + " to " +
                            std::to_string(kHighestAcceptedValue);
  const std::optional<std::string> cp936 =
      InCodePage936(name, value, " is not a number; " + range, error);
  if (!cp936) return std::nullopt;
  const std::optional<std::string> screened = ScreenEntryText(*cp936);
  if (!screened) {
    error = "--" + std::string(name) + ": " + Quoted(value) + " is 10 bytes or longer; " + range;
    return std::nullopt;
  }
  if (*screened == "0" && *cp936 != "0") {
    error = "--" + std::string(name) + ": " + Quoted(value) + " is not a number from " +
            std::to_string(kLowestAcceptedValue) + " to " + std::to_string(kHighestAcceptedValue);
    return std::nullopt;
  }
  return screened;
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  ParsedCommandLine parsed;
  CommandLine& commandLine = parsed.commandLine;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    if (argument == "--help" || argument == "--version") {
      commandLine.action = argument == "--help" ? Action::kHelp : Action::kVersion;
      return parsed;
    }
    if (argument.substr(0, kOptionPrefix.size()) != kOptionPrefix) {
      parsed.error = "unexpected argument " + Quoted(argument);
      return parsed;
    }
    const std::size_t equals = argument.find('=');
    const std::string name(argument.substr(kOptionPrefix.size(), equals - kOptionPrefix.size()));
    const int slot = FindField(name);
    const int text = FindText(name);
    if (slot < 0 && text < 0 && name != "out") {
      parsed.error = "unknown option --" + name;
      return parsed;
    }
    std::string value;
    if (equals != std::string_view::npos) {
      value = argument.substr(equals + 1);
    } else if (i + 1 < arguments.size()) {
      value = arguments[++i];
    } else {
      parsed.error = "--" + name + " needs a value";
      return parsed;
    }

    if (name == "out") {
      commandLine.outputDir = std::filesystem::path(value);
    } else if (slot >= 0) {
      const std::optional<std::string> screened = ScreenFieldOption(name, value, parsed.error);
      if (!screened) return parsed;
      commandLine.valueBoxes[slot] = *screened;
    } else {
      const std::optional<std::string> cp936 = InCodePage936(
          name, value, " holds a character that code page 936 (GBK) cannot hold", parsed.error);
      if (!cp936) return parsed;
      commandLine.texts[text] = *cp936;
    }
  }
  return parsed;
}

FormReader MakeFormReader(const CommandLine& commandLine) {
  return [&commandLine](int controlId) -> std::string {
    for (int slot = 0; slot < kFieldCount; ++slot) {
      if (controlId == ValueBoxId(slot)) return commandLine.valueBoxes[slot];
    }
    for (int text = 0; text < kTextCount; ++text) {
      if (controlId == TextBoxId(text)) return commandLine.texts[text];
    }
    return std::string();
  };
}

std::string HelpText() {
  const auto line = [](std::string option, std::string_view what) {
    option = "  --" + option;
    option.resize(std::max(option.size() + 1, kHelpOptionColumn), ' ');
    return option + std::string(what) + "\n";
  };
  std::string help =
      "Usage: wondergen-cli [OPTION]...\n"
      "Rebuilds the folder AAA in DIR and writes into it the Civilization VI mod package of one\n"
      "wonder, as the window does when its button is pressed. A field not given stays unset.\n\n";
  help += line("out DIR", "where AAA is rebuilt (default: the current directory)");
  help += "\nNumbers, screened as the window screens what is typed into a field: a number from " +
          std::to_string(kLowestAcceptedValue) + " to " + std::to_string(kHighestAcceptedValue) +
          ", at most 9 bytes, taken as written (007 and 12abc pass):\n";
  for (const FieldSpec& field : kFieldCatalogue) {
    help += line(std::string(field.option) + " N", Label(field.label));
  }
  help += "\nTexts, in UTF-8; an empty one takes its default:\n";
  for (const TextSpec& text : kTextCatalogue) {
    help += line(std::string(text.option) + " TEXT", Label(text.label));
  }
  help += "\n";
  help += line("help", "show this help and exit");
  help += line("version", "show the version and exit");
  help +=
      "\nExit status: 0 when the three documents are written, 1 when something could not be\n"
      "deleted, created or written, 2 for bad usage (nothing on disk is touched then).\n";
  return help;
}

}  // namespace wondergen::cli
