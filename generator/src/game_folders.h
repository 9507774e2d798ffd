// Where the game keeps its user folders, for each system and edition: a table of places and one
// rule, a pure function of the user's environment and of what the file system holds, so that
// the rule for every system runs wherever the tests run. The platform layer fills the
// environment (platform.h); the file system is reached only through its table (file_system.h).
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "file_system.h"
#include "wondergen/generator.h"

namespace wondergen {

enum class HostSystem { kWindows, kLinux, kMacOS };

// What the rule is given of the user's environment. A home or a data home that is not an
// absolute path counts as none, as the XDG base directories say of theirs.
struct GameHome {
  HostSystem system = HostSystem::kLinux;
  std::filesystem::path home;                    // $HOME (Linux, macOS)
  std::string dataHome;                          // $XDG_DATA_HOME as set (Linux)
  std::vector<std::filesystem::path> documents;  // the Documents known folder (Windows)
};

// Steam's list of libraries is read whole, up to this size; its blocks up to this depth.
inline constexpr std::size_t kLargestLibraryList = 1 << 20;
inline constexpr int kDeepestKeyValues = 32;
// macOS: the sandbox containers looked into, at most, in the order of their names.
inline constexpr std::size_t kMostContainers = 4096;

// The game folders that `home` leads to on `system`: each that is a folder, once by its identity,
// in the order of the table; and where reading Steam's lists of libraries or listing the
// containers failed, a note that names the file or folder. Thread-safe.
GameFolderSearch FindGameFolders(const GameHome& home, const FileSystem& system);

// The libraries that libraryfolders.vdf lists, read as Valve's KeyValues text: each "path" of a
// numbered block of "libraryfolders" (today's layout), or the value of a numbered key (the layout
// before 2021), keys in any case. nullopt where the text is not KeyValues or has no such block,
// `why` then saying so, with its line.
std::optional<std::vector<std::string>> SteamLibraryPaths(std::string_view text, std::string& why);

namespace platform {
// The user's environment in which the game's folders are looked for, as the platform layer gives
// it.
GameHome UserGameHome();
}  // namespace platform

}  // namespace wondergen
