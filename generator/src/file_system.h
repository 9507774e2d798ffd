// How the tree code reaches the disk: one small table of operations, the platform's own by default
// (SystemFileSystem), a fake in the tests that fails on cue. An entry is always named relative to
// a folder held open; only the directory a tree is rebuilt in is reached by its path.
#pragma once

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace wondergen {

// Whether two names are the same whatever the case of their ASCII letters, as Windows' and
// macOS's file systems, and Steam's KeyValues, take names.
inline bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

using Handle = std::intptr_t;
inline constexpr Handle kNoHandle = -1;

// What a listing says an entry is: a real folder, anything else (a link to a folder included), or
// nothing, as some file systems' listings do not say.
enum class EntryKind { kFolder, kOther, kUnknown };

struct FolderEntry {
  std::filesystem::path name;
  EntryKind kind;
};

// Which file or folder a handle holds, whatever its name: its volume and its number there (POSIX's
// device and inode, Windows' volume serial number and file index).
struct FileIdentity {
  std::uint64_t volume = 0, file = 0;
  bool operator==(const FileIdentity& other) const {
    return volume == other.volume && file == other.file;
  }
};

// How an entry is deleted: at once, its name going even while another program holds it open (as
// POSIX deletes, and Windows with POSIX semantics), or in Windows' classic way, the name going when
// the last program lets it go, a read-only entry's attribute cleared first as the shell does.
enum class Deletion { kAtOnce, kClassic };

struct FileSystem {
  // The folder at `path`, relative to the held folder `base`, or to the current directory where it
  // is kNoHandle, reached as the system reaches it, links followed: the user's folder or the
  // game's.
  Handle (*openFolder)(Handle base, const std::filesystem::path& path, std::error_code& error);
  // The entry `name` of `parent` as a folder, if it is a real one and not a link to one (of any
  // kind): a link fails with TreeError::kIsALink, anything else that is no folder with
  // std::errc::not_a_directory.
  Handle (*openSubfolder)(Handle parent, const std::filesystem::path& name, std::error_code& error);
  // The folder that holds the held folder `child` as its entry `name`, at a cost that does not
  // grow with the depth, if it is still the folder `expected` identifies; TreeError::kMoved where
  // either was moved meanwhile.
  Handle (*openParent)(Handle child, const std::filesystem::path& name,
                       const FileIdentity& expected, std::error_code& error);
  bool (*identify)(Handle held, FileIdentity& identity, std::error_code& error);
  // The folder's entries, "." and ".." left out; every call lists the whole folder.
  bool (*list)(Handle folder, std::vector<FolderEntry>& entries, std::error_code& error);
  // Deletes the entry `name` of `parent`: a file, a link (never its target) or an empty folder.
  // Deletion at once fails with std::errc::not_supported where the system or its file system does
  // not offer it; the classic deletion is then the way.
  bool (*deleteEntry)(Handle parent, const std::filesystem::path& name, bool isFolder, Deletion how,
                      std::error_code& error);
  // Creates the folder `name` in `parent`; fails with std::errc::file_exists when anything is
  // there.
  bool (*makeFolder)(Handle parent, const std::filesystem::path& name, std::error_code& error);
  // Creates the file `name` in `parent` for writing, shared with no one; fails when anything is
  // there already, so that nothing an entry points to is ever opened.
  Handle (*createFile)(Handle parent, const std::filesystem::path& name, std::error_code& error);
  // The entry `name` of `parent` opened for reading, if it is a file and not a link (of any
  // kind): a link fails with TreeError::kIsALink, a folder with std::errc::is_a_directory,
  // anything else that is no file (a FIFO, a socket, a device) with TreeError::kNotAFile; never
  // waits on what is no file.
  Handle (*openFile)(Handle parent, const std::filesystem::path& name, std::error_code& error);
  // Reads the whole file into `bytes`; one of more than `most` bytes fails as too large (EFBIG,
  // ERROR_FILE_TOO_LARGE), having read no more than a chunk beyond them.
  bool (*read)(Handle file, std::string& bytes, std::size_t most, std::error_code& error);
  // Writes all of `bytes`, however many calls that takes.
  bool (*write)(Handle file, std::string_view bytes, std::error_code& error);
  // Has what was written to the file reach the disk, so that a power cut cannot take it back.
  bool (*sync)(Handle file, std::error_code& error);
  // Moves the entry `name` of `parent` (a link as itself) to `newName` in `newParent`, in one
  // step; fails with std::errc::file_exists when anything is there.
  bool (*rename)(Handle parent, const std::filesystem::path& name, Handle newParent,
                 const std::filesystem::path& newName, std::error_code& error);
  // Closes a file or a folder.
  bool (*close)(Handle handle, std::error_code& error);
  // The run's lock on the held folder, seen by every thread and process that locks the same
  // folder: a handle for unlock, or kNoHandle with std::errc::resource_unavailable_try_again while
  // another holds it.
  Handle (*tryLock)(Handle folder, std::error_code& error);
  void (*unlock)(Handle lock);
  // The system's own rule: whether a step that failed so may succeed a moment later, as where
  // another program holds an entry or a name is still pending its deletion; never on POSIX.
  bool (*mayPassSoon)(const std::error_code& error);
  void (*pause)(std::chrono::milliseconds time);
};

// The operating system's. Every operation may be called from any thread; a lock is given back by
// the thread that took it.
const FileSystem& SystemFileSystem();

}  // namespace wondergen
