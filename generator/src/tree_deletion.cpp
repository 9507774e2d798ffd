// Deleting a tree: a walk down and back up, one folder at a time, as fts walks for rm.
#include "output_tree.h"

namespace wondergen {
namespace {

namespace fs = std::filesystem;

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

}  // namespace

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

}  // namespace wondergen
