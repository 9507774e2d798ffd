#include "output_tree.h"

#include <string>
#include <utility>

namespace wondergen {
namespace {

namespace fs = std::filesystem;

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
      case TreeError::kNotAFile:
        return "is a FIFO, a socket or a device, not a file, and is never read as one";
      case TreeError::kPutBack:
        return "a manifest could not be renamed, so the new folder is removed and what was "
               "installed is put back as it was";
      case TreeError::kHoldsTheOutput:
        return "is a wonder's folder, which installing replaces, and holds the folder AAA is made "
               "in, so nothing is done";
    }
    return "unknown error";
  }
};

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

// Deletes the tree's top folder in `base`, then makes the tree there, or, where `base` is not
// held, reports each folder and file of the tree as missing for the reason it is not.
RebuiltTree RebuildTree(TreeRun& run, const TreeLayout& tree, const Place& base,
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

fs::path PathInTree(const TreeLayout& tree, const TreeFile& file) {
  fs::path path = file.name;
  for (std::size_t folder = file.folder; folder != kTopOfTree; folder = tree.folders[folder].parent)
    path = tree.folders[folder].name / path;
  return path;
}

}  // namespace wondergen
