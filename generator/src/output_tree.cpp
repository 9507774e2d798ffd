#include "output_tree.h"

#include <string>
#include <thread>
#include <utility>

#include "retry.h"

namespace wondergen {
namespace {

namespace fs = std::filesystem;

struct TreeCategory : std::error_category {
  const char* name() const noexcept override { return "wondergen tree"; }
  std::string message(int error) const override {
    return static_cast<TreeError>(error) == TreeError::kIsALink
               ? "is a link, which is never followed"
               : "not every file could be written, so what was written is removed again";
  }
};

bool IsMissing(const std::error_code& error) {
  return error == std::errc::no_such_file_or_directory;
}

// At most this many folders of an old tree are held open at once, whatever its depth: the walk
// lets a folder go this far above the one it is in, and opens it again from its parent on the way
// back, so that the deepest tree is deleted within a few descriptors, as GNU rm deletes it.
constexpr std::size_t kHeldFolders = 16;

// A handle of the file system, closed when it goes.
struct Held {
  const FileSystem* system = nullptr;
  Handle handle = kNoHandle;

  Held() = default;
  Held(const FileSystem& fileSystem, Handle opened) : system(&fileSystem), handle(opened) {}
  Held(Held&& other) noexcept { *this = std::move(other); }
  Held& operator=(Held&& other) noexcept {
    std::swap(system, other.system);
    std::swap(handle, other.handle);
    return *this;
  }
  ~Held() { Close(); }
  void Close() {
    std::error_code ignored;
    if (handle != kNoHandle) system->close(handle, ignored);
    handle = kNoHandle;
  }
  explicit operator bool() const { return handle != kNoHandle; }
};

// A folder where a tree is rebuilt: held open, or else the failure that keeps it from being (its
// own, or that of the folder it was to be made in); and its path, for messages, which are all
// made from it.
struct Place {
  Held folder;
  fs::path path;
  Failure missing;
};

// What a rebuilding carries from step to step: the file system, where failures go, what is left
// of its waiting for entries that another program holds, and whether the system deletes the
// classic way only.
struct TreeRun {
  const FileSystem& system;
  const FailureReport& report;
  std::chrono::milliseconds retryBudget = kRetryBudgetOfARun;
  bool atOnceRefused = false;

  // A step of the tree (an opening, a deletion, a creation), tried again while another program
  // may be in the way.
  template <typename Attempt>
  bool Try(const Attempt& attempt, std::error_code& error) {
    const auto sleep = [](std::chrono::milliseconds wait) { std::this_thread::sleep_for(wait); };
    return Retry(attempt, error, retryBudget, system.mayPassSoon, sleep);
  }
  // A folder opened by `open(error)`, tried again likewise.
  template <typename Open>
  Held TryOpen(const Open& open, std::error_code& error) {
    Held folder;
    Try(
        [&](std::error_code& failure) {
          folder = Held(system, open(failure));
          return static_cast<bool>(folder);
        },
        error);
    return folder;
  }
  Held OpenSubfolder(Handle parent, const fs::path& name, std::error_code& error) {
    return TryOpen([&](std::error_code& e) { return system.openSubfolder(parent, name, e); },
                   error);
  }
  // Deletes the entry as the system lets it: at once, its name going even while another program
  // holds it, where the system and its file system offer that, and else, from then on in this
  // run, the classic way.
  bool Delete(Handle parent, const fs::path& name, bool isFolder, std::error_code& error) {
    return Try(
        [&](std::error_code& failure) {
          if (!atOnceRefused) {
            if (system.deleteEntry(parent, name, isFolder, Deletion::kAtOnce, failure)) return true;
            if (failure != std::errc::not_supported) return false;
            atOnceRefused = true;
            failure.clear();
          }
          return system.deleteEntry(parent, name, isFolder, Deletion::kClassic, failure);
        },
        error);
  }
};

// A folder of an old tree that the deletion has entered: its name in the folder that holds it,
// its handle while it is held, and its entries, those before `next` done.
struct Entered {
  fs::path name;
  Held folder;
  std::vector<FolderEntry> entries;
  std::size_t next = 0;
  bool emptied = true;  // every entry done so far is gone
};

// Deletes the entry `first` of `top` with everything below it, as far as it can, and reports each
// entry that stays; a folder that stays only because something in it did is not reported again.
// An entry that is no longer what the listing said (another process swapped it), or that the
// listing did not say what it is, is deleted as what it is now, and entered only if it is a real
// folder. The folders entered are a stack, of any depth, never a recursion. Returns whether the
// entry is gone.
bool DeleteTree(TreeRun& run, const Place& top, const FolderEntry& first) {
  std::vector<Entered> stack;  // the folder at depth d + 1 below `top`, at d
  const auto folderAt = [&](std::size_t depth) {
    return depth == 0 ? top.folder.handle : stack[depth - 1].folder.handle;
  };
  const auto pathOf = [&](std::size_t depth, const fs::path& name) {
    fs::path path = top.path;
    for (std::size_t i = 0; i < depth; ++i)
      path /= stack[i].name;
    return path / name;
  };
  // An entry that is gone already needs no deleting; one that stays is reported.
  const auto goneAnyway = [&](std::size_t depth, const fs::path& name,
                              const std::error_code& reason) {
    if (IsMissing(reason)) return true;
    run.report({FailedStep::kDeleteEntry, pathOf(depth, name), reason, {}});
    return false;
  };
  // Holds the folder at `depth` again where the walk let it go: each folder from the deepest one
  // still held is opened anew by its name, as on the way down, and only the last kHeldFolders stay
  // held. One that cannot be stays, with what it holds, and is reported; false then.
  const auto hold = [&](std::size_t depth) {
    std::size_t from = depth;
    while (from > 0 && folderAt(from) == kNoHandle)
      --from;
    for (std::size_t d = from + 1; d <= depth; ++d) {
      Entered& folder = stack[d - 1];
      std::error_code error;
      folder.folder = run.OpenSubfolder(folderAt(d - 1), folder.name, error);
      if (!folder.folder) {
        folder.emptied = goneAnyway(d - 1, folder.name, error);
        folder.next = folder.entries.size();
        stack.resize(d);
        return false;
      }
      if (d > kHeldFolders) stack[d - 1 - kHeldFolders].folder.Close();
    }
    return true;
  };
  // Deletes the entry of the folder at `depth`, or enters it; false where it stays.
  const auto deleteOrEnter = [&](std::size_t depth, const FolderEntry& entry) {
    bool isFolder = entry.kind != EntryKind::kOther;
    std::error_code error;
    if (isFolder) {
      Held folder = run.OpenSubfolder(folderAt(depth), entry.name, error);
      if (folder) {
        std::vector<FolderEntry> entries;
        if (!run.system.list(folder.handle, entries, error))
          return goneAnyway(depth, entry.name, error);
        stack.push_back({entry.name, std::move(folder), std::move(entries)});
        if (stack.size() > kHeldFolders) stack[stack.size() - 1 - kHeldFolders].folder.Close();
        return true;  // gone or not, once it is emptied
      }
      if (error != TreeError::kIsALink && error != std::errc::not_a_directory)
        return goneAnyway(depth, entry.name, error);
      isFolder = false;  // a link, or no folder (any more): deleted as the entry it is
      error.clear();
    }
    return run.Delete(folderAt(depth), entry.name, isFolder, error) ||
           goneAnyway(depth, entry.name, error);
  };

  bool gone = deleteOrEnter(0, first);
  while (!stack.empty()) {
    const std::size_t depth = stack.size();
    Entered& folder = stack.back();
    if (folder.next < folder.entries.size()) {
      if (!hold(depth)) continue;
      const FolderEntry entry = folder.entries[folder.next++];
      if (!deleteOrEnter(depth, entry)) stack[depth - 1].emptied = false;
      continue;
    }
    // Emptied as far as it goes: let go, and deleted from the folder that holds it.
    Entered done = std::move(folder);
    stack.pop_back();
    done.folder.Close();
    if (!hold(depth - 1)) continue;
    std::error_code error;
    const bool doneGone =
        done.emptied && (run.Delete(folderAt(depth - 1), done.name, true, error) ||
                         goneAnyway(depth - 1, done.name, error));
    if (depth == 1) {
      gone = doneGone;
    } else if (!doneGone) {
      stack.back().emptied = false;
    }
  }
  return gone;
}

// Makes the folder `name` in `parent`, or takes the real folder that is already there because it
// could not be deleted, so that as much of the package as possible is still written.
Held MakeFolder(TreeRun& run, const Place& parent, const std::string& name,
                std::error_code& error) {
  std::error_code creationError;
  const auto createFolder = [&](std::error_code& failure) {
    return run.system.makeFolder(parent.folder.handle, name, failure);
  };
  if (!run.Try(createFolder, creationError) && creationError != std::errc::file_exists) {
    error = creationError;
    return {};
  }
  Held folder = run.OpenSubfolder(parent.folder.handle, name, error);
  // Something that is no folder was there: its creation's "file exists" says why.
  if (error == std::errc::not_a_directory && creationError) error = creationError;
  return folder;
}

// Creates the file `name` in `folder` and writes the document into it in one piece, whole or not
// at all: a document that could not be converted is not created, and one that could not be
// written whole or closed (a full disk, a drive pulled out) is removed again, so that no reader
// takes a truncated document for the package. Returns whether the file was written whole.
bool WriteDocument(TreeRun& run, const Place& folder, const std::string& name,
                   const DocumentBytes& bytes) {
  const fs::path path = folder.path / name;
  std::error_code error = bytes.conversionError;
  if (error) {
    run.report({FailedStep::kConvertDocument, path, error, {}});
    return false;
  }
  Handle file = kNoHandle;
  const auto createFile = [&](std::error_code& failure) {
    file = run.system.createFile(folder.folder.handle, name, failure);
    return file != kNoHandle;
  };
  if (!run.Try(createFile, error)) {
    run.report({FailedStep::kCreateDocument, path, error, {}});
    return false;
  }
  const bool written = run.system.write(file, bytes.utf8, error);
  std::error_code closeError;
  if (run.system.close(file, closeError) && written) return true;
  run.report({FailedStep::kWriteDocument, path, written ? closeError : error, {}});
  std::error_code deleteError;
  if (!run.Delete(folder.folder.handle, name, false, deleteError))
    run.report({FailedStep::kDeleteEntry, path, deleteError, {}});
  return false;
}

// Rebuilds the tree in `base`, or, where it is not held, reports each folder and file of the tree
// as missing for the reason it is not.
RebuiltTree Rebuild(TreeRun& run, const TreeLayout& tree, const Place& base,
                    const ModPackage& package) {
  if (base.folder) DeleteTree(run, base, {tree.folders[0].name, EntryKind::kFolder});

  // Each folder held open from its making on, so that nothing can be put in its place.
  std::vector<Place> places(tree.folders.size());
  for (std::size_t i = 0; i < tree.folders.size(); ++i) {
    const TreeFolder& folder = tree.folders[i];
    const Place& parent = folder.parent == kTopOfTree ? base : places[folder.parent];
    Place& place = places[i];
    place.path = parent.path / folder.name;
    std::error_code error = parent.missing.reason;
    if (parent.folder) {
      place.folder = MakeFolder(run, parent, folder.name, error);
    } else if (folder.parent != kTopOfTree) {
      place.missing = parent.missing;  // missing for the same reason, not reported again
      continue;
    }
    if (!place.folder) {
      place.missing = {FailedStep::kCreateFolder, place.path, error, {}};
      run.report(place.missing);
    }
  }

  RebuiltTree rebuilt{places[0].path, {}, false};
  for (const TreeFile& file : tree.files) {
    const Place& folder = places[file.folder];
    if (!folder.folder) {
      run.report({FailedStep::kCreateDocument, folder.path / file.name, folder.missing.reason,
                  folder.missing.path});
    } else if (WriteDocument(run, folder, file.name, package[Index(file.document)])) {
      rebuilt.written.push_back(folder.path / file.name);
    }
  }
  rebuilt.whole = rebuilt.written.size() == tree.files.size();
  return rebuilt;
}

// The folder `path`, relative to the held folder `base` (or to the current directory), reached
// as the system reaches it, links included: the user's folder or the game's; `shownAs` in
// messages.
Place OpenDirectory(TreeRun& run, Handle base, const fs::path& path, const fs::path& shownAs) {
  Place directory;
  directory.path = shownAs;
  directory.folder =
      run.TryOpen([&](std::error_code& e) { return run.system.openFolder(base, path, e); },
                  directory.missing.reason);
  return directory;
}

}  // namespace

std::error_code make_error_code(TreeError error) {
  static const TreeCategory category;
  return {static_cast<int>(error), category};
}

RebuiltTree RebuildTree(const FileSystem& system, const TreeLayout& tree, const fs::path& dir,
                        const ModPackage& package, const FailureReport& report) {
  TreeRun run{system, report};
  return Rebuild(run, tree, OpenDirectory(run, kNoHandle, dir, dir), package);
}

RebuiltTree InstallTree(const FileSystem& system, const TreeLayout& tree, const fs::path& dir,
                        const ModPackage& package, const FailureReport& report) {
  TreeRun run{system, report};
  const fs::path mods = dir.has_filename() ? dir : dir.parent_path();
  const Place parent =
      OpenDirectory(run, kNoHandle, mods.has_parent_path() ? mods.parent_path() : ".", dir);
  std::error_code error = parent.missing.reason;
  const auto createMods = [&](std::error_code& failure) {
    return run.system.makeFolder(parent.folder.handle, mods.filename(), failure);
  };
  if (parent.folder) run.Try(createMods, error);
  if (error == std::errc::file_exists) error.clear();  // the folder is there already
  Place base;
  if (!error) base = OpenDirectory(run, parent.folder.handle, mods.filename(), dir);
  if (!base.folder) {
    report({FailedStep::kCreateFolder, dir, error ? error : base.missing.reason, {}});
    return {dir / tree.folders[0].name, {}, false};
  }
  RebuiltTree installed = Rebuild(run, tree, base, package);
  if (!installed.whole) {
    DeleteTree(run, base, {tree.folders[0].name, EntryKind::kFolder});
    report({FailedStep::kInstall, installed.top, TreeError::kNotWhole, {}});
    installed.written.clear();
  }
  return installed;
}

}  // namespace wondergen
