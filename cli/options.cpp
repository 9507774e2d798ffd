#include "options.h"

#include <algorithm>
#include <array>
#include <cstdio>
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

// The place in a catalogue (a field's slot, a text's index) of the option with this name, if any.
template <typename Spec, std::size_t N>
std::optional<int> FindOption(const std::array<Spec, N>& catalogue, std::string_view name) {
  for (std::size_t i = 0; i < N; ++i) {
    if (name == catalogue[i].option) return static_cast<int>(i);
  }
  return std::nullopt;
}

// The length of the well-formed UTF-8 sequence that `text` starts with, 0 where none starts there.
std::size_t Utf8SequenceLength(std::string_view text) {
  const auto byte = [text](std::size_t i) {
    return i < text.size() ? static_cast<unsigned char>(text[i]) : 0;
  };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  // The second byte's range depends on the lead byte: no overlong forms, surrogates or code
  // points past U+10FFFF.
  std::size_t length = 4;
  unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
  unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
  } else if (lead < 0xF0 || lead > 0xF4) {
    return 0;
  }
  if (byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

// The text as a message shows it, each byte that is not part of a UTF-8 character written \xHH;
// nullopt when there is none.
std::optional<std::string> ShowInvalidUtf8(std::string_view text) {
  std::string shown;
  bool invalid = false;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = Utf8SequenceLength(text.substr(at));
    if (length > 0) {
      shown += text.substr(at, length);
      at += length;
      continue;
    }
    char escaped[5];
    std::snprintf(escaped, sizeof escaped, "\\x%02x", static_cast<unsigned char>(text[at++]));
    shown += escaped;
    invalid = true;
  }
  return invalid ? std::optional<std::string>(shown) : std::nullopt;
}

// The argument in code page 936, as the window would hold it, or why it cannot be: `lacking` says
// what is wrong with an argument that code page 936 cannot hold.
std::optional<std::string> InCodePage936(std::string_view name, std::string_view value,
                                         std::string_view lacking, std::string& error) {
  if (const std::optional<std::string> shown = ShowInvalidUtf8(value)) {
    error = "--" + std::string(name) + ": " + Quoted(*shown) + " is not valid UTF-8";
    return std::nullopt;
  }
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

// Takes one option, with its value, at `arguments[i]`; false with `parsed.error` set where it is
// not one. `i` is left at the option's last argument.
bool TakeOption(const std::vector<std::string>& arguments, std::size_t& i,
                ParsedCommandLine& parsed) {
  CommandLine& commandLine = parsed.commandLine;
  const std::string_view argument = arguments[i];
  const std::size_t equals = argument.find('=');
  const std::string name(argument.substr(kOptionPrefix.size(), equals - kOptionPrefix.size()));
  const std::optional<int> slot = FindOption(kFieldCatalogue, name);
  const std::optional<int> text = FindOption(kTextCatalogue, name);
  if (name == "help" || name == "version") {
    parsed.error = "--" + name + " takes no value";
    return false;
  }
  if (!slot && !text && name != "out") {
    parsed.error = "unknown option --" + name;
    return false;
  }
  std::string value;
  if (equals != std::string_view::npos) {
    value = argument.substr(equals + 1);
  } else if (i + 1 >= arguments.size()) {
    parsed.error = "--" + name + " needs a value";
    return false;
  } else if (arguments[i + 1].rfind(kOptionPrefix, 0) == 0) {
    parsed.error = "--" + name + ": " + Quoted(arguments[i + 1]) +
                   " looks like an option; write --" + name + "=" + arguments[i + 1] +
                   " if it is the value";
    return false;
  } else {
    value = arguments[++i];
  }

  if (name == "out") {
    commandLine.outputDir = std::filesystem::path(value);
  } else if (slot) {
    const std::optional<std::string> screened = ScreenFieldOption(name, value, parsed.error);
    if (!screened) return false;
    if (value != *screened)
      parsed.notes.push_back("--" + name + ": " + Quoted(value) + " is taken as " + *screened);
    commandLine.valueBoxes[*slot] = *screened;
  } else {
    const std::optional<std::string> cp936 = InCodePage936(
        name, value, " holds a character that code page 936 (GBK) cannot hold", parsed.error);
    if (!cp936) return false;
    commandLine.texts[*text] = *cp936;
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
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    if (argument == kOptionPrefix && !optionsEnded) {
      optionsEnded = true;
    } else if (optionsEnded || argument.rfind(kOptionPrefix, 0) != 0) {
      parsed.error = "unexpected argument " + Quoted(argument);
      return parsed;
    } else if (!TakeOption(arguments, i, parsed)) {
      return parsed;
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
      "Rebuilds the folder AAA in DIR and writes into it the Civilization VI mod\n"
      "package of one wonder, as the window does when its button is pressed.\n\n";
  help += line("out DIR", "where AAA is rebuilt (default: the current folder)");
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
      "\nTexts, in UTF-8; one that is empty once the characters XML cannot carry are\n"
      "dropped takes its default:\n";
  for (const TextSpec& text : kTextCatalogue) {
    help += line(std::string(text.option) + " TEXT", Label(text.label));
  }
  help += "\n";
  help += line("help", "show this help and exit");
  help += line("version", "show the version and exit");
  help +=
      "\nExit status: 0 when the four files are written; 1 when something could not\n"
      "be deleted, created or written, or the output could not be printed; 2 for bad\n"
      "usage, which touches nothing on disk.\n";
  return help;
}

}  // namespace wondergen::cli
