// The command line of wondergen-cli: its options, their checks and its help.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "wondergen/generator.h"

namespace wondergen::cli {

// Generate rebuilds AAA; List, Show and Remove work on the wonders made before; Where names the
// game's folders found; Prerequisites lists the technologies and civics a wonder may need.
enum class Action { kGenerate, kHelp, kVersion, kList, kShow, kRemove, kWhere, kPrerequisites };

// What a valid command line asks for. Texts are code page 936, as the window would hold them.
struct CommandLine {
  Action action = Action::kGenerate;
  std::filesystem::path outputDir = ".";
  bool install = false;            // into every Mods folder of the game found
  std::filesystem::path modsDir;   // into this Mods folder instead, where given
  std::filesystem::path iconFile;  // the picture of the wonder's icon, where given
  Form form;                       // the value boxes screened, empty for a field not given
  int wonder = kFirstWonder;       // the wonder to show or remove
};

// Either a command line, or the message that explains why the arguments are not one; `notes` say
// where a number was taken as less than what was written ("1e9" as 1).
struct ParsedCommandLine {
  CommandLine commandLine;
  std::string error;
  std::vector<std::string> notes;
};

// `arguments` leaves out the program's name; they are UTF-8. "--help" and "--version" are found
// wherever they stand before a "--", which ends the options.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

std::string HelpText();

}  // namespace wondergen::cli
