// A tree of folders and the files in it, described as data, and its rebuilding. The tree is
// deleted and made through open folders only (file_system.h), so that nothing outside it is ever
// touched, and a file's path is known only from its place in the tree.
#pragma once

#include <chrono>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "file_system.h"
#include "retry.h"
#include "wondergen/generator.h"

namespace wondergen {

// The parent of a tree's top folder, which is made in the directory the tree is rebuilt in.
inline constexpr std::size_t kTopOfTree = std::numeric_limits<std::size_t>::max();

struct TreeFolder {
  std::string name;
  std::size_t parent;  // an index into the tree's folders, or kTopOfTree
};

// A file of the tree: the folder that holds it, its name, and the document whose bytes it holds.
struct TreeFile {
  std::size_t folder;
  std::string name;
  Document document;
};

struct TreeLayout {
  std::vector<TreeFolder> folders;  // the top folder first, then each folder after its parent
  std::vector<TreeFile> files;  // in the order they are written; an installed mod's manifest last
};

// The file's path in the tree, from the directory the tree is rebuilt in.
std::filesystem::path PathInTree(const TreeLayout& tree, const TreeFile& file);

// A handle of the file system, closed (or, for a lock, given back) when it goes.
struct Held {
  const FileSystem* system = nullptr;
  Handle handle = kNoHandle;
  bool isLock = false;

  Held() = default;
  Held(const FileSystem& fileSystem, Handle opened, bool lock = false)
      : system(&fileSystem), handle(opened), isLock(lock) {}
  Held(Held&& other) noexcept { *this = std::move(other); }
  Held& operator=(Held&& other) noexcept;
  ~Held() { Close(); }
  void Close();
  explicit operator bool() const { return handle != kNoHandle; }
};

// A folder where a tree is rebuilt: held open, or else the failure that keeps it from being (its
// own, or that of the folder it was to be made in); and its path, for messages, which are all made
// from it. The directory a run works in is also locked for the run.
struct Place {
  Held folder;
  std::filesystem::path path;
  Failure missing{};
  Held lock;
};

// What a rebuilding carries from step to step: the file system, where failures and waits go, what
// is left of its waiting for entries that another program holds, and whether the system deletes
// the classic way only. One run of a tree: AAA, or an install.
struct TreeRun {
  const FileSystem& system;
  const FailureReport& report;
  WaitReport onWait = nullptr;
  std::chrono::milliseconds retryBudget = kRetryBudgetOfARun;
  bool atOnceRefused = false;
  // What a failure in a Mods folder's protocol is told as: an install's, or a removal's.
  FailedStep modsStep = FailedStep::kInstall;
};

// How long a run waits for another run that holds a folder it works in.
inline constexpr std::chrono::seconds kLongestWaitForAnotherRun(30);

// A directory in which trees are rebuilt, reached as the system reaches it (links followed), and
// made first in its parent where `make` says so.
struct Workplace {
  std::filesystem::path dir;
  bool make = false;
};

// The directories `dirs`, each opened, then locked against every other run, in this process or
// another, in one order for every run: that of the folders' identities (FileIdentity, volume then
// file), whatever the order and the paths they are given in, so that two runs never hold one each
// while waiting for the other's. A folder reached twice is locked once. Each lock is waited for
// while another run holds it, up to kLongestWaitForAnotherRun, the wait told to run.onWait. A
// failure is left in the place's `missing`: kLock where another run held it, kCreateFolder else.
std::vector<Place> OpenWorkplaces(TreeRun& run, const std::vector<Workplace>& dirs);
// One directory so.
Place OpenWorkplace(TreeRun& run, const std::filesystem::path& dir, bool make);
// The identity of the folder at `path`, links followed; none where no folder is there.
std::optional<FileIdentity> FolderIdentity(const FileSystem& system,
                                           const std::filesystem::path& path);

// What a rebuilding left: the tree's top folder, the path of each file written whole, in writing
// order, and whether that is every file of the tree.
struct RebuiltTree {
  std::filesystem::path top;
  std::vector<std::filesystem::path> written;
  bool whole = false;
};

// Deletes the tree's top folder in `dir` with everything below it, as far as it can, at any depth
// and holding a few folders open at a time, makes the tree's folders anew, a real folder that is
// still there counting as made, and creates each file new in its folder with its document's bytes
// from `package`, whole or not at all. Each failure is reported as it happens; a folder that could
// not be made is not tried below, and each file below it is reported with it as the cause.
// `durable`: each file on the disk before it is closed.
RebuiltTree RebuildTree(TreeRun& run, const TreeLayout& tree, const Place& dir,
                        const ModPackage& package, bool durable = false);

// ---------------------------------------------------------------------------------------------
// The steps that every job on a tree takes, each tried again while another program may be in the
// way; an entry always named in a folder held open.

inline bool IsMissing(const std::error_code& error) {
  return error == std::errc::no_such_file_or_directory;
}

// A step of the tree (an opening, a deletion, a creation, a renaming), tried again while another
// program may be in the way.
template <typename Attempt>
bool Try(TreeRun& run, const Attempt& attempt, std::error_code& error) {
  return Retry(attempt, error, run.retryBudget, run.system.mayPassSoon, run.system.pause);
}

// A folder opened by `open(error)`, tried again likewise.
template <typename Open>
Held TryOpen(TreeRun& run, const Open& open, std::error_code& error) {
  Held folder;
  Try(
      run,
      [&](std::error_code& failure) {
        folder = Held(run.system, open(failure));
        return static_cast<bool>(folder);
      },
      error);
  return folder;
}

// The entry `name` of `parent` as a folder, if it is a real one and not a link to one.
Held OpenSubfolder(TreeRun& run, Handle parent, const std::filesystem::path& name,
                   std::error_code& error);
// Deletes the entry as the system lets it: at once, its name going even while another program
// holds it, where the system and its file system offer that, and else, from then on in this run,
// the classic way.
bool Delete(TreeRun& run, Handle parent, const std::filesystem::path& name, bool isFolder,
            std::error_code& error);
// Renames the entry `name` of the held folder to `newName` there, never over an entry.
bool Rename(TreeRun& run, const Place& folder, const std::filesystem::path& name,
            const std::filesystem::path& newName, std::error_code& error);
// Deletes the entry `first` of `top` with everything below it, as far as it can, at any depth,
// holding a few folders open at a time, and reports each entry that stays; a folder that stays
// only because something in it did is not reported again. Returns whether the entry is gone.
bool DeleteTree(TreeRun& run, const Place& top, const FolderEntry& first);

}  // namespace wondergen
