#include "output_tree.h"

#include <string>
#include <thread>

#include "platform.h"
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

// The path of folder `index` of the tree, relative to the directory the tree is rebuilt in.
fs::path RelativePath(const TreeLayout& tree, std::size_t index) {
  const TreeFolder& folder = tree.folders[index];
  return folder.parent == kTopOfTree ? fs::path(folder.name)
                                     : RelativePath(tree, folder.parent) / folder.name;
}

// What a rebuilding carries from step to step: where failures go, and what is left of its
// waiting for entries that another program holds.
struct TreeRun {
  const FailureReport& report;
  std::chrono::milliseconds retryBudget = kRetryBudgetOfARun;

  // A step of the tree (an opening, a deletion, a creation), tried again while another program
  // may be in the way.
  template <typename Attempt>
  bool Try(const Attempt& attempt, std::error_code& error) {
    const auto sleep = [](std::chrono::milliseconds wait) { std::this_thread::sleep_for(wait); };
    return Retry(attempt, error, retryBudget, platform::MayPassSoon, sleep);
  }
  // A folder opened by `open(error)`, tried again likewise.
  template <typename Open>
  platform::Folder TryOpen(const Open& open, std::error_code& error) {
    platform::Folder folder;
    Try(
        [&](std::error_code& failure) {
          folder = open(failure);
          return static_cast<bool>(folder);
        },
        error);
    return folder;
  }
  platform::Folder OpenSubfolder(const platform::Folder& parent, const fs::path& name,
                                 std::error_code& error) {
    return TryOpen([&](std::error_code& e) { return platform::OpenSubfolder(parent, name, e); },
                   error);
  }
  // The directory a tree is rebuilt in, reached as the system reaches it, links included: the
  // user's folder or the game's.
  platform::Folder OpenDir(const fs::path& dir, std::error_code& error) {
    return TryOpen([&](std::error_code& e) { return platform::OpenFolder(dir, e); }, error);
  }
};

// Deletes `entry` of `parent` with everything below it, as far as it can, and reports each entry
// that stays; a folder that stays only because something in it did is not reported again. An entry
// that is no longer what the listing said (another process swapped it) is deleted as what it is
// now, never entered unless it is a real folder. Returns whether the entry is gone.
bool DeleteTree(const platform::Folder& parent, const platform::FolderEntry& entry, TreeRun& run) {
  // An entry that is gone already needs no deleting; one that stays is reported.
  const auto goneAnyway = [&](const std::error_code& reason) {
    if (IsMissing(reason)) return true;
    run.report({FailedStep::kDeleteEntry, parent.path / entry.name, reason, {}});
    return false;
  };
  bool isFolder = entry.isFolder;
  if (isFolder) {
    std::error_code openError;
    const platform::Folder folder = run.OpenSubfolder(parent, entry.name, openError);
    if (folder) {
      std::vector<platform::FolderEntry> entries;
      std::error_code listError;
      if (!platform::ListFolder(folder, entries, listError)) return goneAnyway(listError);
      bool emptied = true;
      for (const platform::FolderEntry& inner : entries)
        emptied &= DeleteTree(folder, inner, run);
      if (!emptied) return false;
    } else if (openError == TreeError::kIsALink || openError == std::errc::not_a_directory) {
      isFolder = false;
    } else {
      return goneAnyway(openError);
    }
  }
  std::error_code deleteError;
  const auto deleteEntry = [&](std::error_code& error) {
    return platform::DeleteEntry(parent, {entry.name, isFolder}, error);
  };
  return run.Try(deleteEntry, deleteError) || goneAnyway(deleteError);
}

// Makes the folder `name` in `parent`, or takes the real folder that is already there because it
// could not be deleted, so that as much of the package as possible is still written.
platform::Folder MakeFolder(const platform::Folder& parent, const char* name, TreeRun& run,
                            std::error_code& error) {
  std::error_code creationError;
  const auto createFolder = [&](std::error_code& failure) {
    return platform::CreateFolder(parent, name, failure);
  };
  if (!run.Try(createFolder, creationError) && creationError != std::errc::file_exists) {
    error = creationError;
    return {};
  }
  platform::Folder folder = run.OpenSubfolder(parent, name, error);
  // Something that is no folder was there: its creation's "file exists" says why.
  if (error == std::errc::not_a_directory && creationError) error = creationError;
  return folder;
}

// Creates the file `name` in `folder` and writes the document into it in one piece, whole or not
// at all: a document that could not be converted is not created, and one that could not be
// written whole or closed (a full disk, a drive pulled out) is removed again, so that no reader
// takes a truncated document for the package. Returns whether the file was written whole.
bool WriteDocument(const platform::Folder& folder, const char* name, const fs::path& path,
                   const DocumentBytes& bytes, TreeRun& run) {
  std::error_code error = bytes.conversionError;
  if (error) {
    run.report({FailedStep::kConvertDocument, path, error, {}});
    return false;
  }
  platform::Handle file = platform::kNoHandle;
  const auto createFile = [&](std::error_code& failure) {
    file = platform::CreateNewFile(folder, name, failure);
    return file != platform::kNoHandle;
  };
  if (!run.Try(createFile, error)) {
    run.report({FailedStep::kCreateDocument, path, error, {}});
    return false;
  }
  const bool written = platform::WriteToFile(file, bytes.utf8, error);
  std::error_code closeError;
  if (platform::CloseFile(file, closeError) && written) return true;
  run.report({FailedStep::kWriteDocument, path, written ? closeError : error, {}});
  std::error_code deleteError;
  if (!platform::DeleteEntry(folder, {name, false}, deleteError))
    run.report({FailedStep::kDeleteEntry, path, deleteError, {}});
  return false;
}

// Rebuilds the tree in `base`, the directory `dir` held open, or, where it could not be opened,
// reports each folder and file of the tree as missing for `baseError`.
RebuiltTree Rebuild(const TreeLayout& tree, const fs::path& dir, const platform::Folder& base,
                    const std::error_code& baseError, const ModPackage& package, TreeRun& run) {
  if (base) DeleteTree(base, {tree.folders[0].name, true}, run);

  // Each folder held open from its making on, so that nothing can be put in its place; or, where
  // it could not be made, the failure that says why (its own, or that of the folder above it).
  std::vector<platform::Folder> folders(tree.folders.size());
  std::vector<Failure> missing(tree.folders.size());
  for (std::size_t i = 0; i < tree.folders.size(); ++i) {
    const std::size_t parent = tree.folders[i].parent;
    std::error_code error;
    if (parent == kTopOfTree && !base) {
      error = baseError;
    } else if (parent == kTopOfTree) {
      folders[i] = MakeFolder(base, tree.folders[i].name, run, error);
    } else if (folders[parent]) {
      folders[i] = MakeFolder(folders[parent], tree.folders[i].name, run, error);
    } else {
      missing[i] = missing[parent];  // missing for the same reason, not reported again
      continue;
    }
    if (!folders[i]) {
      missing[i] = {FailedStep::kCreateFolder, dir / RelativePath(tree, i), error, {}};
      run.report(missing[i]);
    }
  }

  RebuiltTree rebuilt{dir / tree.folders[0].name, {}, false};
  for (const TreeFile& file : tree.files) {
    const fs::path path = dir / RelativePath(tree, file.folder) / file.name;
    const Failure& folderMissing = missing[file.folder];
    if (!folders[file.folder]) {
      run.report({FailedStep::kCreateDocument, path, folderMissing.reason, folderMissing.path});
    } else if (WriteDocument(folders[file.folder], file.name, path, package[Index(file.document)],
                             run)) {
      rebuilt.written.push_back(path);
    }
  }
  rebuilt.whole = rebuilt.written.size() == tree.files.size();
  return rebuilt;
}

}  // namespace

std::error_code make_error_code(TreeError error) {
  static const TreeCategory category;
  return {static_cast<int>(error), category};
}

RebuiltTree RebuildTree(const TreeLayout& tree, const fs::path& dir, const ModPackage& package,
                        const FailureReport& report) {
  TreeRun run{report};
  std::error_code error;
  const platform::Folder base = run.OpenDir(dir, error);
  return Rebuild(tree, dir, base, error, package, run);
}

RebuiltTree InstallTree(const TreeLayout& tree, const fs::path& dir, const ModPackage& package,
                        const FailureReport& report) {
  TreeRun run{report};
  std::error_code error;
  const platform::Folder parent = run.OpenDir(dir.parent_path(), error);
  const auto createDir = [&](std::error_code& failure) {
    return platform::CreateFolder(parent, dir.filename(), failure);
  };
  if (parent) run.Try(createDir, error);
  if (error == std::errc::file_exists) error.clear();  // the folder is there already
  const platform::Folder base = error ? platform::Folder() : run.OpenDir(dir, error);
  if (!base) {
    report({FailedStep::kCreateFolder, dir, error, {}});
    return {dir / tree.folders[0].name, {}, false};
  }
  RebuiltTree installed = Rebuild(tree, dir, base, error, package, run);
  if (!installed.whole) {
    DeleteTree(base, {tree.folders[0].name, true}, run);
    report({FailedStep::kInstall, installed.top, TreeError::kNotWhole, {}});
    installed.written.clear();
  }
  return installed;
}

}  // namespace wondergen
