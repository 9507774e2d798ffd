#include "output_tree.h"

#include <algorithm>
#include <set>
#include <string>
#include <tuple>
#include <utility>

#include "retry.h"

namespace wondergen {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

struct TreeCategory : std::error_category {
  const char* name() const noexcept override { return "wondergen tree"; }
  std::string message(int error) const override {
    switch (static_cast<TreeError>(error)) {
      case TreeError::kIsALink: return "is a link, which is never followed";
      case TreeError::kNotWhole:
        return "not every file could be written, so the new files are removed and what was "
               "installed is left as it was";
      case TreeError::kMoved: return "was moved elsewhere while it was deleted, and is left there";
      case TreeError::kHeldByAnotherRun: return "another run of wondergen held it for 30 seconds";
      case TreeError::kPutBack:
        return "a manifest could not be renamed, so the new folder is removed and what was "
               "installed is put back as it was";
    }
    return "unknown error";
  }
};

bool IsMissing(const std::error_code& error) {
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

Held OpenSubfolder(TreeRun& run, Handle parent, const fs::path& name, std::error_code& error) {
  return TryOpen(
      run, [&](std::error_code& e) { return run.system.openSubfolder(parent, name, e); }, error);
}

// Deletes the entry as the system lets it: at once, its name going even while another program
// holds it, where the system and its file system offer that, and else, from then on in this run,
// the classic way.
bool Delete(TreeRun& run, Handle parent, const fs::path& name, bool isFolder,
            std::error_code& error) {
  return Try(
      run,
      [&](std::error_code& failure) {
        if (!run.atOnceRefused) {
          if (run.system.deleteEntry(parent, name, isFolder, Deletion::kAtOnce, failure))
            return true;
          if (failure != std::errc::not_supported) return false;
          run.atOnceRefused = true;
          failure.clear();
        }
        return run.system.deleteEntry(parent, name, isFolder, Deletion::kClassic, failure);
      },
      error);
}

bool Rename(TreeRun& run, const Place& folder, const fs::path& name, const fs::path& newName,
            std::error_code& error) {
  return Try(
      run,
      [&](std::error_code& failure) {
        return run.system.rename(folder.folder.handle, name, folder.folder.handle, newName,
                                 failure);
      },
      error);
}

// ---------------------------------------------------------------------------------------------
// Deleting a tree: a walk down and back up, one folder at a time, as fts walks for rm.

// At most this many folders of an old tree are held open at once, whatever its depth: the walk
// lets a folder go this far above the one it is in and, on the way back, opens it again from the
// folder it holds, as fts does: a tree of any depth is deleted within a few descriptors, at a cost
// that grows with its size alone.
constexpr std::size_t kHeldFolders = 16;

// A folder the walk has entered: its name in the folder that holds it, its handle while it is
// held, which folder it is, and its entries, those before `next` done; `emptied` while every one
// done is gone.
struct Frame {
  fs::path name;
  Held folder;
  FileIdentity identity;
  std::vector<FolderEntry> entries;
  std::size_t next = 0;
  bool emptied = true;
};

// The deletion of one entry of `top` with everything below it: the folders entered, each inside
// the one before it.
struct Walk {
  TreeRun& run;
  const Place& top;
  std::vector<Frame> stack;

  // The folder the walk stands in: the deepest entered, which is always held.
  Handle Current() const { return stack.empty() ? top.folder.handle : stack.back().folder.handle; }
  // The entry `name` of the folder at `depth` (0 the top), for a message.
  fs::path PathOf(std::size_t depth, const fs::path& name) const {
    fs::path path = top.path;
    for (std::size_t i = 0; i < depth; ++i)
      path /= stack[i].name;
    return path / name;
  }
  // Whether an entry that failed so is gone all the same; one that stays is reported.
  bool Gone(std::size_t depth, const fs::path& name, const std::error_code& reason) const {
    if (IsMissing(reason)) return true;
    run.report({FailedStep::kDeleteEntry, PathOf(depth, name), reason, {}});
    return false;
  }
};

// Deletes the entry of the folder the walk stands in, or enters it where it is a real folder:
// false where it stays. An entry that is no longer what the listing said (another process swapped
// it), or that the listing did not say what it is, is deleted as what it is now.
bool DeleteOrEnter(Walk& walk, const FolderEntry& entry) {
  TreeRun& run = walk.run;
  const Handle parent = walk.Current();
  const std::size_t depth = walk.stack.size();
  bool isFolder = entry.kind != EntryKind::kOther;
  std::error_code error;
  if (isFolder) {
    Held folder = OpenSubfolder(run, parent, entry.name, error);
    FileIdentity identity;
    std::vector<FolderEntry> entries;
    if (folder && run.system.identify(folder.handle, identity, error) &&
        run.system.list(folder.handle, entries, error)) {
      walk.stack.push_back({entry.name, std::move(folder), identity, std::move(entries)});
      if (walk.stack.size() > kHeldFolders)
        walk.stack[walk.stack.size() - 1 - kHeldFolders].folder.Close();
      return true;  // gone or not, once it is emptied
    }
    if (folder || (error != TreeError::kIsALink && error != std::errc::not_a_directory))
      return walk.Gone(depth, entry.name, error);
    isFolder = false;  // a link, or no folder (any more): deleted as the entry it is
    error.clear();
  }
  return Delete(run, parent, entry.name, isFolder, error) || walk.Gone(depth, entry.name, error);
}

// Deletes the entry `first` of `top` with everything below it, as far as it can, and reports each
// entry that stays; a folder that stays only because something in it did is not reported again.
// One loop over an explicit stack: down into each folder, and back up to delete it once it is
// emptied. Returns whether the entry is gone.
bool DeleteTree(TreeRun& run, const Place& top, const FolderEntry& first) {
  Walk walk{run, top, {}};
  bool gone = DeleteOrEnter(walk, first);
  while (!walk.stack.empty()) {
    const std::size_t depth = walk.stack.size();
    Frame& folder = walk.stack.back();
    if (folder.next < folder.entries.size()) {
      const FolderEntry entry = folder.entries[folder.next++];
      if (!DeleteOrEnter(walk, entry)) walk.stack[depth - 1].emptied = false;
      continue;
    }
    // Emptied as far as it goes: back in the folder that holds it, opened again from this one
    // where the walk let it go, and deleted there. A folder moved meanwhile ends the walk.
    Handle parent = top.folder.handle;
    if (depth > 1) {
      Frame& holder = walk.stack[depth - 2];
      std::error_code error;
      if (!holder.folder) {
        holder.folder = TryOpen(
            run,
            [&](std::error_code& e) {
              return run.system.openParent(folder.folder.handle, folder.name, holder.identity, e);
            },
            error);
      }
      if (!holder.folder) {
        run.report({FailedStep::kDeleteEntry, walk.PathOf(depth - 1, folder.name), error, {}});
        return false;
      }
      parent = holder.folder.handle;
    }
    Frame done = std::move(folder);
    walk.stack.pop_back();
    done.folder.Close();
    std::error_code error;
    const bool doneGone = done.emptied && (Delete(run, parent, done.name, true, error) ||
                                           walk.Gone(depth - 1, done.name, error));
    if (walk.stack.empty()) {
      gone = doneGone;
    } else if (!doneGone) {
      walk.stack.back().emptied = false;
    }
  }
  return gone;
}

// ---------------------------------------------------------------------------------------------
// Making a tree

// Makes the folder `name` in `parent`, or takes the real folder that is already there because it
// could not be deleted, so that as much of the package as possible is still written.
Held MakeFolder(TreeRun& run, const Place& parent, const std::string& name,
                std::error_code& error) {
  std::error_code creationError;
  const auto createFolder = [&](std::error_code& failure) {
    return run.system.makeFolder(parent.folder.handle, name, failure);
  };
  if (!Try(run, createFolder, creationError) && creationError != std::errc::file_exists) {
    error = creationError;
    return {};
  }
  Held folder = OpenSubfolder(run, parent.folder.handle, name, error);
  // Something that is no folder was there: its creation's "file exists" says why.
  if (error == std::errc::not_a_directory && creationError) error = creationError;
  return folder;
}

// Creates the file `name` in `folder` and writes the document into it in one piece, whole or not
// at all: one that could not be written whole or closed (a full disk, a drive pulled out) is
// removed again, so that no reader takes a truncated document for the package. `durable`: on the
// disk before it is closed. Returns whether the file was written whole.
bool WriteDocument(TreeRun& run, const Place& folder, const std::string& name,
                   const DocumentBytes& bytes, bool durable) {
  const fs::path path = folder.path / name;
  std::error_code error;
  Handle file = kNoHandle;
  const auto createFile = [&](std::error_code& failure) {
    file = run.system.createFile(folder.folder.handle, name, failure);
    return file != kNoHandle;
  };
  if (!Try(run, createFile, error)) {
    run.report({FailedStep::kCreateDocument, path, error, {}});
    return false;
  }
  const bool written =
      run.system.write(file, bytes.bytes, error) && (!durable || run.system.sync(file, error));
  std::error_code closeError;
  if (run.system.close(file, closeError) && written) return true;
  run.report({FailedStep::kWriteDocument, path, written ? closeError : error, {}});
  std::error_code deleteError;
  if (!Delete(run, folder.folder.handle, name, false, deleteError))
    run.report({FailedStep::kDeleteEntry, path, deleteError, {}});
  return false;
}

// Deletes the tree's top folder in `base`, then makes the tree there, or, where `base` is not
// held, reports each folder and file of the tree as missing for the reason it is not.
RebuiltTree Rebuild(TreeRun& run, const TreeLayout& tree, const Place& base,
                    const ModPackage& package, bool durable) {
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
    } else if (WriteDocument(run, folder, file.name, package[Index(file.document)], durable)) {
      rebuilt.written.push_back(folder.path / file.name);
    }
  }
  rebuilt.whole = rebuilt.written.size() == tree.files.size();
  return rebuilt;
}

// ---------------------------------------------------------------------------------------------
// Installing: the new folder made whole beside the installed one, then swapped in.

// The names of a tree's folder in a Mods folder: installed; new, while it is written or on its way
// out, its manifest under a name the game does not load; and retired, while the new one takes its
// place. And the manifest's own name.
constexpr std::string_view kNewSuffix = ".wondergen-new";
constexpr std::string_view kRetiredSuffix = ".wondergen-old";

std::string Suffixed(std::string name, std::string_view suffix) {
  return name.append(suffix);
}

struct ModNames {
  std::string installed, fresh, retired, manifest;
};

// An installed tree's names: its top folder's, and its manifest's, its last file, in that folder.
ModNames NamesOf(const TreeLayout& tree) {
  const std::string& name = tree.folders[0].name;
  return {name, Suffixed(name, kNewSuffix), Suffixed(name, kRetiredSuffix), tree.files.back().name};
}

// Gives the manifest of the mod folder `name` of `mods` its other name (`load` false), so that
// the game no longer loads the mod, or its own name back. A folder that is a link or is not there,
// or a manifest already so named, is left as it is; a failure is reported. Returns whether the
// manifest is so named, or missing.
bool NameManifest(TreeRun& run, const Place& mods, const std::string& name,
                  const std::string& manifest, bool load) {
  Place folder;
  folder.path = mods.path / name;
  std::error_code error;
  folder.folder = OpenSubfolder(run, mods.folder.handle, name, error);
  const std::string hidden = Suffixed(manifest, kNewSuffix);
  if (folder.folder) {
    Rename(run, folder, load ? hidden : manifest, load ? manifest : hidden, error);
  }
  if (!error || IsMissing(error) || error == TreeError::kIsALink ||
      error == std::errc::not_a_directory)
    return true;
  run.report({FailedStep::kInstall, folder.path, error, {}});
  return false;
}

// Renames the folder `name` of `mods` to `newName`; a failure is reported with its path.
bool Move(TreeRun& run, const Place& mods, const std::string& name, const std::string& newName) {
  std::error_code error;
  if (Rename(run, mods, name, newName, error)) return true;
  run.report({FailedStep::kInstall, mods.path / name, error, {}});
  return false;
}

// Where a swap ends: the new folder loaded in the installed one's place, the retired one (where
// there is one) to be deleted; the new one gone and the retired one loaded in its place again; or
// the retired one left loaded beside, a step of the way back refused, for the next run.
enum class SwapEnd { kNewInPlace, kRetiredPutBack, kRetiredLeft };

// Goes back to the retired folder where the swap cannot be finished: the new folder's manifest
// hidden, the retired one's given its own name, the new folder moved out of the way and the
// retired one into its place, then the new one deleted. Each step only once the one before it is
// done, so that the game loads at most one copy at every moment and, once the first is done, the
// retired one, which stays loaded under its retired name where it cannot be moved back. With no
// retired folder (a first install), the new one alone goes.
SwapEnd GoBack(TreeRun& run, const Place& mods, const ModNames& names, bool retired) {
  if (!NameManifest(run, mods, names.installed, names.manifest, false))
    return SwapEnd::kRetiredLeft;
  if (retired) NameManifest(run, mods, names.retired, names.manifest, true);
  if (!Move(run, mods, names.installed, names.fresh)) return SwapEnd::kRetiredLeft;
  const bool back = !retired || Move(run, mods, names.retired, names.installed);
  DeleteTree(run, mods, {names.fresh, EntryKind::kUnknown});
  if (!back) return SwapEnd::kRetiredLeft;
  run.report({FailedStep::kInstall, mods.path / names.installed, TreeError::kPutBack, {}});
  return SwapEnd::kRetiredPutBack;
}

// Finishes the swap, the new folder whole in the installed one's place and the retired one (where
// `retired`) beside it: the game stops loading the retired one, then loads the new one. Never the
// new one's manifest named while the retired one's still is: where either cannot be renamed, it
// goes back instead.
SwapEnd FinishSwap(TreeRun& run, const Place& mods, const ModNames& names, bool retired) {
  if ((!retired || NameManifest(run, mods, names.retired, names.manifest, false)) &&
      NameManifest(run, mods, names.installed, names.manifest, true))
    return SwapEnd::kNewInPlace;
  return GoBack(run, mods, names, retired);
}

// Puts right what a run that was killed, or whose way back was refused, left in `mods`, for each
// tree of `family`, only by steps that keep the game loading at most one copy: a new folder, whose
// manifest is never loaded, is deleted; where both the installed and the retired folder are there,
// the swap is finished, or undone where it cannot be; a retired folder alone is put back in its
// place, or, where it cannot be, left loaded; and the installed folder's manifest given its own
// name. Returns whether no retired folder of the tree `own` is left, which is not known where
// `mods` cannot be listed.
bool RecoverLeftovers(TreeRun& run, const Place& mods, const std::vector<TreeLayout>& family,
                      const std::string& own) {
  std::vector<FolderEntry> entries;
  std::error_code listError;
  if (!run.system.list(mods.folder.handle, entries, listError)) {
    run.report({FailedStep::kInstall, mods.path, listError, {}});
    return false;
  }
  std::set<fs::path> there;
  for (const FolderEntry& entry : entries)
    there.insert(entry.name);
  bool ownLeft = false;
  for (const TreeLayout& tree : family) {
    const ModNames names = NamesOf(tree);
    if (there.count(names.fresh)) DeleteTree(run, mods, {names.fresh, EntryKind::kUnknown});
    const bool installed = there.count(names.installed) != 0;
    bool left = there.count(names.retired) != 0;
    if (left && installed) {
      const SwapEnd end = FinishSwap(run, mods, names, true);
      left = end == SwapEnd::kRetiredLeft ||
             (end == SwapEnd::kNewInPlace &&
              !DeleteTree(run, mods, {names.retired, EntryKind::kUnknown}));
    } else if (left) {
      left = !Move(run, mods, names.retired, names.installed);
      NameManifest(run, mods, left ? names.retired : names.installed, names.manifest, true);
    } else if (installed) {
      NameManifest(run, mods, names.installed, names.manifest, true);
    }
    ownLeft |= left && names.installed == own;
  }
  return !ownLeft;
}

// ---------------------------------------------------------------------------------------------
// The runs' lock

// The directory `dir` reached as the system reaches it (links followed), made first in its parent
// where `make` says so; not locked yet.
Place OpenFolderAt(TreeRun& run, const fs::path& dir, bool make) {
  Place place;
  place.path = dir;
  std::error_code& error = place.missing.reason;
  const auto openFolder = [&](Handle base, const fs::path& path) {
    return TryOpen(
        run, [&](std::error_code& e) { return run.system.openFolder(base, path, e); }, error);
  };
  if (make) {
    const fs::path folder = dir.has_filename() ? dir : dir.parent_path();  // "Mods/"
    const Held parent =
        openFolder(kNoHandle, folder.has_parent_path() ? folder.parent_path() : ".");
    const auto makeFolder = [&](std::error_code& failure) {
      return run.system.makeFolder(parent.handle, folder.filename(), failure);
    };
    if (parent && !Try(run, makeFolder, error) && error == std::errc::file_exists) error.clear();
    if (parent && !error) place.folder = openFolder(parent.handle, folder.filename());
  } else {
    place.folder = openFolder(kNoHandle, dir);
  }
  if (!place.folder) place.missing = {FailedStep::kCreateFolder, dir, error, {}};
  return place;
}

// The lock of the held folder `place`, waited for while another run holds it, the waits growing to
// a tenth of a second; where it cannot be had, the folder is let go and `missing` says why.
void Lock(TreeRun& run, Place& place) {
  std::error_code& error = place.missing.reason;
  milliseconds waited(0), wait(5);
  for (;;) {
    error.clear();
    place.lock = Held(run.system, run.system.tryLock(place.folder.handle, error), true);
    if (place.lock || error != std::errc::resource_unavailable_try_again) break;
    if (waited >= kLongestWaitForAnotherRun) {
      error = TreeError::kHeldByAnotherRun;
      break;
    }
    if (waited.count() == 0 && run.onWait) run.onWait(place.path);
    run.system.pause(wait);
    waited += wait;
    wait = std::min(wait * 2, milliseconds(100));
  }
  if (!place.lock) {
    place.folder.Close();
    place.missing = {FailedStep::kLock, place.path, error, {}};
  }
}

}  // namespace

Held& Held::operator=(Held&& other) noexcept {
  std::swap(system, other.system);
  std::swap(handle, other.handle);
  std::swap(isLock, other.isLock);
  return *this;
}

void Held::Close() {
  std::error_code ignored;
  if (handle != kNoHandle) isLock ? system->unlock(handle) : (void)system->close(handle, ignored);
  handle = kNoHandle;
}

std::error_code make_error_code(TreeError error) {
  static const TreeCategory category;
  return {static_cast<int>(error), category};
}

std::vector<Place> OpenWorkplaces(TreeRun& run, const std::vector<Workplace>& dirs) {
  std::vector<Place> places;
  for (const Workplace& dir : dirs)
    places.push_back(OpenFolderAt(run, dir.dir, dir.make));
  // Locked in the order of the folders' identities, whatever order and paths they come in, so
  // that two runs never hold one folder each while waiting for the other's; a folder whose
  // identity the system does not give comes last.
  struct Ordered {
    bool unknown;
    FileIdentity identity;
    Place* place;
  };
  std::vector<Ordered> order;
  for (Place& place : places) {
    if (!place.folder) continue;
    Ordered each{false, {}, &place};
    std::error_code error;
    each.unknown = !run.system.identify(place.folder.handle, each.identity, error);
    order.push_back(each);
  }
  const auto key = [](const Ordered& each) {
    return std::make_tuple(each.unknown, each.identity.volume, each.identity.file);
  };
  std::stable_sort(order.begin(), order.end(),
                   [&](const Ordered& a, const Ordered& b) { return key(a) < key(b); });
  const Ordered* holder = nullptr;
  for (const Ordered& each : order) {
    Place& place = *each.place;
    // The same folder reached again, as where AAA and the mod share one: held by the first.
    if (holder && !each.unknown && !holder->unknown && each.identity == holder->identity) {
      if (!holder->place->lock) {
        place.folder.Close();
        place.missing = {FailedStep::kLock, place.path, holder->place->missing.reason, {}};
      }
      continue;
    }
    Lock(run, place);
    holder = &each;
  }
  return places;
}

Place OpenWorkplace(TreeRun& run, const fs::path& dir, bool make) {
  return std::move(OpenWorkplaces(run, {{dir, make}}).front());
}

std::string LoadedCopy(const FileSystem& system, Handle mods, const TreeLayout& tree) {
  const ModNames names = NamesOf(tree);
  for (const std::string& copy : {names.installed, names.retired}) {
    std::error_code error;
    const Held folder(system, system.openSubfolder(mods, copy, error));
    if (folder && Held(system, system.openFile(folder.handle, names.manifest, error))) return copy;
  }
  return {};
}

RebuiltTree RebuildTree(TreeRun& run, const TreeLayout& tree, const Place& dir,
                        const ModPackage& package) {
  return Rebuild(run, tree, dir, package, false);
}

RebuiltTree InstallTree(TreeRun& run, const TreeLayout& tree, const Place& mods,
                        const ModPackage& package, const std::vector<TreeLayout>& family) {
  const ModNames names = NamesOf(tree);
  const RebuiltTree failed{mods.path / names.installed, {}, false};
  if (!RecoverLeftovers(run, mods, family, names.installed)) return failed;

  TreeLayout staged = tree;
  staged.folders[0].name = names.fresh;
  staged.files.back().name = Suffixed(names.manifest, kNewSuffix);
  if (!Rebuild(run, staged, mods, package, true).whole) {
    DeleteTree(run, mods, {names.fresh, EntryKind::kFolder});
    run.report({FailedStep::kInstall, failed.top, TreeError::kNotWhole, {}});
    return failed;
  }
  // The swap: the installed folder retired, the new one put in its place, or else the retired one
  // back in it.
  std::error_code error;
  const bool replacing = Rename(run, mods, names.installed, names.retired, error);
  if (replacing || IsMissing(error)) {
    error.clear();
    if (!Rename(run, mods, names.fresh, names.installed, error) && replacing)
      Move(run, mods, names.retired, names.installed);
  }
  if (error) {
    run.report({FailedStep::kInstall, failed.top, error, {}});
    DeleteTree(run, mods, {names.fresh, EntryKind::kFolder});
    return failed;
  }
  if (FinishSwap(run, mods, names, replacing) != SwapEnd::kNewInPlace) return failed;
  if (replacing) DeleteTree(run, mods, {names.retired, EntryKind::kUnknown});
  RebuiltTree installed{failed.top, {}, true};
  for (const TreeFile& file : tree.files)
    installed.written.push_back(mods.path / PathInTree(tree, file));
  return installed;
}

bool UninstallTree(TreeRun& run, const TreeLayout& tree, const Place& mods,
                   const std::vector<TreeLayout>& family) {
  const ModNames names = NamesOf(tree);
  if (!RecoverLeftovers(run, mods, family, names.installed)) return false;
  std::error_code error;
  Held folder = OpenSubfolder(run, mods.folder.handle, names.installed, error);
  const bool there = folder || error == TreeError::kIsALink || error == std::errc::not_a_directory;
  folder.Close();
  if (!there || !NameManifest(run, mods, names.installed, names.manifest, false)) return false;
  if (!Rename(run, mods, names.installed, names.fresh, error)) {
    run.report({FailedStep::kDeleteEntry, mods.path / names.installed, error, {}});
    NameManifest(run, mods, names.installed, names.manifest, true);
    return false;
  }
  return DeleteTree(run, mods, {names.fresh, EntryKind::kUnknown});
}

fs::path PathInTree(const TreeLayout& tree, const TreeFile& file) {
  fs::path path = file.name;
  for (std::size_t folder = file.folder; folder != kTopOfTree; folder = tree.folders[folder].parent)
    path = tree.folders[folder].name / path;
  return path;
}

}  // namespace wondergen
