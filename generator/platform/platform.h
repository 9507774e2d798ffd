// The only part of the generator that knows the operating system: code-page conversion, and the
// folders and files of the output tree. One implementation for Windows, one for POSIX.
//
// The tree is handled through open folders, never by resolving a path again: an entry is named
// relative to the folder that holds it, a folder is entered only when it is a real folder and not
// a link to one, and a file is only ever created new. So nothing outside the tree is followed,
// opened, written or deleted, even while another process renames entries in it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "wondergen/system.h"

namespace wondergen::platform {

// Code page 936 to UTF-8; a byte that does not start a valid character becomes U+FFFD. Fails, with
// `utf8` empty, when the system has no converter for code page 936 or the converter fails.
bool Cp936ToUtf8(std::string_view cp936Text, std::string& utf8, std::error_code& error);
// UTF-8 to code page 936, as FromUtf8 (generator.h) gives it.
std::optional<std::string> Utf8ToCp936(std::string_view utf8Text, std::error_code& error,
                                       std::vector<std::size_t>* invalidBytes);

using Handle = std::intptr_t;
inline constexpr Handle kNoHandle = -1;

// Closes a folder's handle, if it is one.
void CloseFolder(Handle folder);

// An open folder, closed when it goes; `path` is how it was reached, for messages (and, on
// Windows, for the calls that take a path).
struct Folder {
  Handle handle = kNoHandle;
  std::filesystem::path path;

  Folder() = default;
  Folder(Handle openHandle, std::filesystem::path reachedBy)
      : handle(openHandle), path(std::move(reachedBy)) {}
  Folder(Folder&& other) noexcept { *this = std::move(other); }
  Folder& operator=(Folder&& other) noexcept {
    std::swap(handle, other.handle);
    std::swap(path, other.path);
    return *this;
  }
  ~Folder() { CloseFolder(handle); }
  explicit operator bool() const { return handle != kNoHandle; }
};

// The folder at `path`, links followed: the output directory is the user's choice.
Folder OpenFolder(const std::filesystem::path& path, std::error_code& error);

// The entry `name` of `parent` as a folder, if it is a real one. A link (of any kind) gives
// TreeError::kIsALink and anything else that is not a folder std::errc::not_a_directory.
Folder OpenSubfolder(const Folder& parent, const std::filesystem::path& name,
                     std::error_code& error);

struct FolderEntry {
  std::filesystem::path name;
  bool isFolder;  // a real folder; a link to one is not
};
// The folder's entries, "." and ".." left out.
bool ListFolder(const Folder& folder, std::vector<FolderEntry>& entries, std::error_code& error);

// Deletes the entry `name` of `parent`: a file, a link (never its target) or an empty folder.
bool DeleteEntry(const Folder& parent, const FolderEntry& entry, std::error_code& error);

// Creates the folder `name` in `parent`; fails with std::errc::file_exists when anything is there.
bool CreateFolder(const Folder& parent, const std::filesystem::path& name, std::error_code& error);

// Creates the file `name` in `parent` for writing, shared with no one; fails when anything is
// there already, so that nothing an entry points to is ever opened.
Handle CreateNewFile(const Folder& parent, const std::filesystem::path& name,
                     std::error_code& error);
// Writes all of `bytes`, however many calls that takes.
bool WriteToFile(Handle file, std::string_view bytes, std::error_code& error);
bool CloseFile(Handle file, std::error_code& error);

}  // namespace wondergen::platform
