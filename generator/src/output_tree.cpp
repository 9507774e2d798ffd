// The folder tree AAA in the output directory: two chains of folders that mirror the game's own
// layout, and the places of the documents in them. The tree is deleted and made through
// open folders only (see platform.h), so that nothing outside it is ever touched.
#include "output_tree.h"

#include <string>
#include <thread>
#include <vector>

#include "retry.h"

namespace wondergen {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kInOutputDir = kTreeFolderCount;  // the parent of AAA

// The tree's folders in the order they are made, each after its parent. A chain stops at its
// first failure: no folder is attempted below one that could not be made.
struct TreeFolder {
  const char* name;
  std::size_t parent;  // an index into this table
};
constexpr std::array<TreeFolder, kTreeFolderCount> kTreeFolders = {{
    {"AAA", kInOutputDir},      // 0: the root; neither chain runs without it
    {"Base", 0},                // 1: the Base chain
    {"Assets", 1},              // 2
    {"Text", 2},                // 3
    {"Translations", 3},        // 4: the localization document
    {"DLC", 0},                 // 5: the DLC chain
    {"Newbuilding2PD_RIR", 5},  // 6: the manifest
    {"Data", 6},                // 7: the gameplay data document
    {"Text", 6},                // 8: the mod's copy of the localization document
}};

// Indexed by Document. The manifest names the gameplay data document and the mod's texts as
// "Data/Newbuilding2PD_RIR_GameplayData.xml" and "Text/Newbuilding2PD_zh_Hans_CN.xml", relative
// to its own folder.
constexpr std::array<DocumentPlace, kDocuments.size()> kDocumentPlaces = {{
    {4, "Newbuilding2PD_zh_Hans_CN.xml"},
    {8, "Newbuilding2PD_zh_Hans_CN.xml"},
    {7, "Newbuilding2PD_RIR_GameplayData.xml"},
    {6, "Newbuilding2PD_RIR.modinfo"},
}};

fs::path RelativePath(std::size_t folder) {
  const TreeFolder& entry = kTreeFolders[folder];
  return entry.parent == kInOutputDir ? fs::path(entry.name)
                                      : RelativePath(entry.parent) / entry.name;
}

struct TreeCategory : std::error_category {
  const char* name() const noexcept override { return "wondergen tree"; }
  // kIsALink is the category's only error.
  std::string message(int) const override { return "is a link, which is never followed"; }
};

bool IsMissing(const std::error_code& error) {
  return error == std::errc::no_such_file_or_directory;
}

// What a run of the tree carries from step to step: where failures go, and what is left of its
// waiting for entries that another program holds.
struct TreeRun {
  const FailureReport& report;
  std::chrono::milliseconds retryBudget = kRetryBudgetOfARun;

  // A deletion or a folder creation, tried again while another program may be in the way.
  template <typename Attempt>
  bool Try(const Attempt& attempt, std::error_code& error) {
    const auto sleep = [](std::chrono::milliseconds wait) { std::this_thread::sleep_for(wait); };
    return Retry(attempt, error, retryBudget, platform::MayPassSoon, sleep);
  }
};

// Deletes `entry` of `parent` with everything below it, as far as it can, and reports each entry
// that stays; a folder that stays only because something in it did is not reported again. An entry
// that is no longer what the listing said (another process swapped it) is deleted as what it is
// now, never entered unless it is a real folder.
bool DeleteTree(const platform::Folder& parent, const platform::FolderEntry& entry, TreeRun& run) {
  // An entry that is gone already needs no deleting.
  const auto stays = [&](const std::error_code& reason) {
    if (IsMissing(reason)) return true;
    run.report({FailedStep::kDeleteEntry, parent.path / entry.name, reason, {}});
    return false;
  };
  bool isFolder = entry.isFolder;
  if (isFolder) {
    std::error_code openError;
    const platform::Folder folder = platform::OpenSubfolder(parent, entry.name, openError);
    if (folder) {
      std::vector<platform::FolderEntry> entries;
      std::error_code listError;
      if (!platform::ListFolder(folder, entries, listError)) return stays(listError);
      bool emptied = true;
      for (const platform::FolderEntry& inner : entries)
        emptied &= DeleteTree(folder, inner, run);
      if (!emptied) return false;
    } else if (openError == TreeError::kIsALink || openError == std::errc::not_a_directory) {
      isFolder = false;
    } else {
      return stays(openError);
    }
  }
  std::error_code deleteError;
  const auto deleteEntry = [&](std::error_code& error) {
    return platform::DeleteEntry(parent, {entry.name, isFolder}, error);
  };
  return run.Try(deleteEntry, deleteError) || stays(deleteError);
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
  platform::Folder folder = platform::OpenSubfolder(parent, name, error);
  // Something that is no folder was there: its creation's "file exists" says why.
  if (error == std::errc::not_a_directory && creationError) error = creationError;
  return folder;
}

}  // namespace

std::error_code make_error_code(TreeError error) {
  static const TreeCategory category;
  return {static_cast<int>(error), category};
}

DocumentPlace PlaceOf(Document document) {
  return kDocumentPlaces[Index(document)];
}

OutputPaths MakeOutputPaths(const fs::path& outputDir) {
  const auto path = [&outputDir](Document document) {
    const DocumentPlace place = PlaceOf(document);
    return outputDir / RelativePath(place.folder) / place.fileName;
  };
  return {path(Document::kLocalization), path(Document::kModLocalization),
          path(Document::kGameplayData), path(Document::kManifest)};
}

const fs::path& PathOf(const OutputPaths& paths, Document document) {
  switch (document) {
    case Document::kLocalization: return paths.localization;
    case Document::kModLocalization: return paths.modLocalization;
    case Document::kGameplayData: return paths.gameplayData;
    case Document::kManifest: break;
  }
  return paths.manifest;
}

OutputTree PrepareOutputTree(const fs::path& outputDir, const FailureReport& report) {
  OutputTree tree;
  TreeRun run{report};
  std::error_code outputError;
  const platform::Folder output = platform::OpenFolder(outputDir, outputError);
  if (output) DeleteTree(output, {kTreeFolders[0].name, true}, run);
  for (std::size_t i = 0; i < kTreeFolderCount; ++i) {
    const std::size_t parent = kTreeFolders[i].parent;
    std::error_code error;
    if (parent == kInOutputDir && !output) {
      error = outputError;  // AAA cannot be made in an output directory that cannot be opened
    } else if (parent == kInOutputDir) {
      tree.folders[i] = MakeFolder(output, kTreeFolders[i].name, run, error);
    } else if (tree.folders[parent]) {
      tree.folders[i] = MakeFolder(tree.folders[parent], kTreeFolders[i].name, run, error);
    } else {
      tree.missing[i] = tree.missing[parent];  // missing for the same reason, not reported again
      continue;
    }
    if (!tree.folders[i]) {
      tree.missing[i] = {FailedStep::kCreateFolder, outputDir / RelativePath(i), error, {}};
      report(tree.missing[i]);
    }
  }
  return tree;
}

}  // namespace wondergen
