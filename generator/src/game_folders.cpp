// The game's user folders: where each edition keeps it, on each system, and the reading of Steam's
// list of libraries, in which the Windows edition run through Proton keeps its folder.
#include "game_folders.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "output_tree.h"

namespace wondergen {
namespace {

// ---------------------------------------------------------------------------------------------
// Valve's KeyValues text: pairs of a key and a value, a value being a string or a block of pairs
// in braces; strings quoted (with the escapes \\ \" \n \t) or not, "//" starting a comment.

struct KeyValues {
  std::string key, value;
  bool isBlock = false;
  std::vector<KeyValues> block;
};

struct Token {
  enum Kind { kString, kOpen, kClose, kEnd } kind = kEnd;
  std::string text;
};

struct KeyValuesReader {
  std::string_view text;
  std::size_t at = 0;
  int line = 1;
  std::string error;
};

bool Refuse(KeyValuesReader& reader, int line, const std::string& why) {
  reader.error = "line " + std::to_string(line) + ": " + why;
  return false;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// The next token, or the end; false at what no KeyValues text holds.
bool NextToken(KeyValuesReader& reader, Token& token) {
  const std::string_view text = reader.text;
  std::size_t& at = reader.at;
  while (at < text.size()) {
    if (text[at] == '\n') ++reader.line;
    if (IsBlank(text[at])) {
      ++at;
    } else if (text.compare(at, 2, "//") == 0) {
      at = std::min(text.find('\n', at), text.size());
    } else {
      break;
    }
  }
  token = {};
  if (at == text.size()) return true;
  const int line = reader.line;
  const char first = text[at];
  if (first == '\0') return Refuse(reader, line, "a NUL byte");
  if (first == '{' || first == '}') {
    token.kind = first == '{' ? Token::kOpen : Token::kClose;
    return ++at, true;
  }
  token.kind = Token::kString;
  if (first != '"') {  // a token without quotes ends at a blank, a brace or a quote
    for (; at < text.size() && !IsBlank(text[at]) && text[at] != '\0' &&
           std::string_view("{}\"").find(text[at]) == std::string_view::npos;
         ++at)
      token.text += text[at];
    return true;
  }
  constexpr std::string_view kEscapes = "\\\\\"\"n\nt\t";  // each escaped character, then its value
  for (++at; at < text.size() && text[at] != '"'; ++at) {
    char c = text[at];
    if (c == '\0') return Refuse(reader, reader.line, "a NUL byte");
    reader.line += c == '\n';
    if (c == '\\' && ++at < text.size()) {
      const std::size_t escape = kEscapes.find(text[at]);
      if (escape == std::string_view::npos || escape % 2 != 0)
        return Refuse(reader, reader.line, "an unknown escape \\" + std::string(1, text[at]));
      c = kEscapes[escape + 1];
    }
    token.text += c;
  }
  if (at >= text.size()) return Refuse(reader, line, "a quoted string does not end");
  return ++at, true;
}

// The pairs up to the end of the text, at `depth` 0, or else up to the brace that closes their
// block.
bool ReadPairs(KeyValuesReader& reader, std::vector<KeyValues>& pairs, int depth) {
  for (Token key, value;;) {
    if (!NextToken(reader, key)) return false;
    if (key.kind == Token::kEnd)
      return depth == 0 || Refuse(reader, reader.line, "a block is not closed");
    if (key.kind == Token::kClose)
      return depth > 0 || Refuse(reader, reader.line, "a } that closes no block");
    if (key.kind == Token::kOpen) return Refuse(reader, reader.line, "a { where a key belongs");
    if (!NextToken(reader, value)) return false;
    KeyValues pair{key.text, value.text, false, {}};
    if (value.kind == Token::kOpen) {
      if (depth == kDeepestKeyValues)
        return Refuse(reader, reader.line,
                      "blocks nested deeper than " + std::to_string(kDeepestKeyValues));
      pair.isBlock = true;
      if (!ReadPairs(reader, pair.block, depth + 1)) return false;
    } else if (value.kind != Token::kString) {
      return Refuse(reader, reader.line, "the key \"" + key.text + "\" has no value");
    }
    pairs.push_back(std::move(pair));
  }
}

// KeyValues compares keys without regard to case.
bool SameKey(std::string_view key, std::string_view name) {
  return SameIgnoringCase(key, name);
}

bool IsNumber(std::string_view key) {
  return !key.empty() && std::all_of(key.begin(), key.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
  });
}

// ---------------------------------------------------------------------------------------------
// The places

// What a place's path is taken from.
enum class From {
  kDocuments,     // each Documents folder (Windows)
  kDataHome,      // $XDG_DATA_HOME where it is absolute, else ~/.local/share
  kHome,          // the home folder
  kSteamLibrary,  // each Steam library found, Steam's roots and those their lists name
  kContainer,     // each sandbox container, in ~/Library/Containers
};

struct GamePlace {
  HostSystem system;
  From from;
  const char* path;
  bool unlessAbove;  // looked at only where the row above found no folder from the same start
};

// Where each edition keeps its user folder. The first row of a system is its usual place, which
// a player who has not yet started the game is told of.
constexpr std::array<GamePlace, 8> kPlaces = {{
    {HostSystem::kWindows, From::kDocuments, "My Games/Sid Meier's Civilization VI", false},
    {HostSystem::kWindows, From::kDocuments, "My Games/Sid Meier's Civilization VI (Epic)", false},
    {HostSystem::kLinux, From::kDataHome, "aspyr-media/Sid Meier's Civilization VI", false},
    // The Windows edition through Proton, app 289070's prefix; older prefixes say "My Documents".
    {HostSystem::kLinux, From::kSteamLibrary,
     "steamapps/compatdata/289070/pfx/drive_c/users/steamuser/Documents/My Games/"
     "Sid Meier's Civilization VI",
     false},
    {HostSystem::kLinux, From::kSteamLibrary,
     "steamapps/compatdata/289070/pfx/drive_c/users/steamuser/My Documents/My Games/"
     "Sid Meier's Civilization VI",
     false},
    // Builds since about 2020 nest the folder in one of the same name; the older one is its parent.
    {HostSystem::kMacOS, From::kHome,
     "Library/Application Support/Sid Meier's Civilization VI/Sid Meier's Civilization VI", false},
    {HostSystem::kMacOS, From::kHome, "Library/Application Support/Sid Meier's Civilization VI",
     true},
    // The Mac App Store build, in its sandbox.
    {HostSystem::kMacOS, From::kContainer,
     "Data/Library/Application Support/Sid Meier's Civilization VI", false},
}};

// Steam's roots, the native client's (reached by three paths) and the Flatpak's, and where in a
// root its list of libraries is.
constexpr std::array<const char*, 4> kSteamRoots = {
    ".local/share/Steam", ".steam/steam", ".steam/root",
    ".var/app/com.valvesoftware.Steam/.local/share/Steam"};
constexpr const char* kLibraryList = "steamapps/libraryfolders.vdf";
constexpr const char* kContainers = "Library/Containers";

// The bytes of the file at `path`, at most `most`: a file, never a link or a FIFO.
bool ReadFileAt(const FileSystem& system, const std::filesystem::path& path, std::string& bytes,
                std::size_t most, std::error_code& error) {
  const Held folder(system, system.openFolder(kNoHandle, path.parent_path(), error));
  const Held file(system,
                  folder ? system.openFile(folder.handle, path.filename(), error) : kNoHandle);
  return file && system.read(file.handle, bytes, most, error);
}

// What was found, and what could not be read; each folder once.
struct Search {
  const GameHome& home;
  const FileSystem& system;
  GameFolderSearch result;
  std::vector<FileIdentity> seen;
  std::optional<std::vector<std::filesystem::path>> libraries, containers;
};

// Whether `path` is a folder; one not seen before is found.
bool Take(Search& search, const std::filesystem::path& path) {
  const std::optional<FileIdentity> identity = FolderIdentity(search.system, path);
  if (identity &&
      std::find(search.seen.begin(), search.seen.end(), *identity) == search.seen.end()) {
    search.seen.push_back(*identity);
    search.result.found.push_back(path);
  }
  return identity.has_value();
}

void Note(Search& search, const std::filesystem::path& path, const std::error_code& error) {
  if (error == std::errc::no_such_file_or_directory) return;  // none: nothing to say
  search.result.notes.push_back({path, error.message()});
}

// Every Steam library: each root, and each library its list names, each folder once.
std::vector<std::filesystem::path> SteamLibraries(Search& search) {
  std::vector<std::filesystem::path> libraries;
  std::vector<FileIdentity> roots, seen;
  const auto add = [&](const std::filesystem::path& library) {
    const std::optional<FileIdentity> identity = FolderIdentity(search.system, library);
    if (identity && std::find(seen.begin(), seen.end(), *identity) == seen.end())
      seen.push_back(*identity), libraries.push_back(library);
  };
  for (const char* root : kSteamRoots) {
    const std::filesystem::path folder = search.home.home / root;
    const std::optional<FileIdentity> identity = FolderIdentity(search.system, folder);
    if (!identity || std::find(roots.begin(), roots.end(), *identity) != roots.end()) continue;
    roots.push_back(*identity);
    add(folder);
    const std::filesystem::path list = folder / kLibraryList;
    std::string bytes, why;
    std::error_code error;
    if (!ReadFileAt(search.system, list, bytes, kLargestLibraryList, error)) {
      Note(search, list, error);
      continue;
    }
    const std::optional<std::vector<std::string>> paths = SteamLibraryPaths(bytes, why);
    if (!paths) search.result.notes.push_back({list, why});
    for (const std::string& path : paths.value_or(std::vector<std::string>()))
      if (std::filesystem::path(path).is_absolute()) add(path);
  }
  return libraries;
}

// Each sandbox container, by name, at most kMostContainers of them.
std::vector<std::filesystem::path> Containers(Search& search) {
  const std::filesystem::path containers = search.home.home / kContainers;
  std::error_code error;
  const Held folder(search.system, search.system.openFolder(kNoHandle, containers, error));
  std::vector<FolderEntry> entries;
  if (!folder || !search.system.list(folder.handle, entries, error)) {
    Note(search, containers, error);
    return {};
  }
  std::vector<std::filesystem::path> found;
  for (const FolderEntry& entry : entries)
    found.push_back(containers / entry.name);
  std::sort(found.begin(), found.end());
  if (found.size() > kMostContainers) {
    search.result.notes.push_back(
        {containers, "more than " + std::to_string(kMostContainers) +
                         " entries: those after the first, by name, are not looked into"});
    found.resize(kMostContainers);
  }
  return found;
}

// The folders a place's path is taken from.
std::vector<std::filesystem::path> Starts(Search& search, From from) {
  const GameHome& home = search.home;
  const bool hasHome = home.home.is_absolute();
  switch (from) {
    case From::kDocuments: return home.documents;
    case From::kDataHome:
      if (std::filesystem::path(home.dataHome).is_absolute()) return {home.dataHome};
      return hasHome ? std::vector<std::filesystem::path>{home.home / ".local/share"}
                     : std::vector<std::filesystem::path>();
    case From::kHome:
      return hasHome ? std::vector<std::filesystem::path>{home.home}
                     : std::vector<std::filesystem::path>();
    case From::kSteamLibrary:
      if (!search.libraries)
        search.libraries = hasHome ? SteamLibraries(search) : std::vector<std::filesystem::path>();
      return *search.libraries;
    case From::kContainer:
      if (!search.containers)
        search.containers = hasHome ? Containers(search) : std::vector<std::filesystem::path>();
      return *search.containers;
  }
  return {};
}

}  // namespace

std::optional<std::vector<std::string>> SteamLibraryPaths(std::string_view text, std::string& why) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // UTF-8's byte-order mark
  KeyValuesReader reader{text, 0, 1, {}};
  std::vector<KeyValues> roots;
  if (!ReadPairs(reader, roots, 0)) {
    why = reader.error;
    return std::nullopt;
  }
  bool listed = false;
  std::vector<std::string> paths;
  for (const KeyValues& root : roots) {
    if (!root.isBlock || !SameKey(root.key, "libraryfolders")) continue;
    listed = true;
    for (const KeyValues& library : root.block) {
      if (!IsNumber(library.key)) continue;  // contentstatsid, TimeNextStatsReport
      if (!library.isBlock) paths.push_back(library.value);
      for (const KeyValues& field : library.block)
        if (!field.isBlock && SameKey(field.key, "path")) paths.push_back(field.value);
    }
  }
  if (!listed) {
    why = "no \"libraryfolders\" block";
    return std::nullopt;
  }
  return paths;
}

GameFolderSearch FindGameFolders(const GameHome& home, const FileSystem& system) {
  Search search{home, system, {}, {}, {}, {}};
  // Each path in the system's own separators, as the player reads it in what the program says.
  std::vector<bool> foundAbove;
  for (const GamePlace& place : kPlaces) {
    if (place.system != home.system) continue;
    const std::vector<std::filesystem::path> starts = Starts(search, place.from);
    if (search.result.usual.empty() && !starts.empty())
      search.result.usual = (starts.front() / place.path).make_preferred();
    foundAbove.resize(starts.size());
    for (std::size_t i = 0; i < starts.size(); ++i) {
      if (!(place.unlessAbove && foundAbove[i]))
        foundAbove[i] = Take(search, (starts[i] / place.path).make_preferred());
    }
  }
  return search.result;
}

GameFolderSearch SearchGameFolders() {
  return FindGameFolders(platform::UserGameHome(), SystemFileSystem());
}

std::vector<std::filesystem::path> FindModsFolders() {
  return ModsFoldersOf(SearchGameFolders().found);
}

std::vector<std::filesystem::path> ModsFoldersOf(
    const std::vector<std::filesystem::path>& gameFolders) {
  std::vector<std::filesystem::path> mods;
  std::vector<FileIdentity> seen;
  for (const std::filesystem::path& game : gameFolders) {
    const std::optional<FileIdentity> identity = FolderIdentity(SystemFileSystem(), game / "Mods");
    if (identity && std::find(seen.begin(), seen.end(), *identity) != seen.end()) continue;
    if (identity) seen.push_back(*identity);
    mods.push_back(game / "Mods");
  }
  return mods;
}

}  // namespace wondergen
