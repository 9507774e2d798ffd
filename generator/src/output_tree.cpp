// The folder tree AAA in the output directory: two chains of folders that mirror the game's own
// layout, and the paths of the three documents inside them.
#include <vector>

#include "platform.h"
#include "wondergen/generator.h"

namespace wondergen {
namespace {

constexpr const char* kTreeRoot = "AAA";

// Each chain is created folder by folder below AAA and stops at its first failure.
constexpr std::array<const char*, 4> kBaseChain = {"Base", "Assets", "Text", "Translations"};
constexpr std::array<const char*, 3> kDlcChain = {"DLC", "Newbuilding2PD_RIR", "Data"};

template <std::size_t N>
std::filesystem::path ChainFolder(const std::filesystem::path& root,
                                  const std::array<const char*, N>& chain, std::size_t depth) {
  std::filesystem::path folder = root;
  for (std::size_t i = 0; i < depth; ++i)
    folder /= chain[i];
  return folder;
}

// Deletes `path` with everything below it, as far as it can. A folder whose entries could not all
// be deleted is left alone: only the entries that failed are reported, not the folders above.
bool DeleteTree(const std::filesystem::path& path, Failures& failures) {
  std::error_code error;
  const platform::EntryKind kind = platform::GetEntryKind(path, error);
  if (error) {
    failures.push_back({FailedStep::kDeleteEntry, path, error});
    return false;
  }
  if (kind == platform::EntryKind::kMissing) return true;
  if (kind == platform::EntryKind::kFolder) {
    std::vector<std::filesystem::path> entries;
    if (!platform::ListFolder(path, entries, error)) {
      failures.push_back({FailedStep::kDeleteEntry, path, error});
      return false;
    }
    bool emptied = true;
    for (const std::filesystem::path& entry : entries)
      emptied &= DeleteTree(entry, failures);
    if (!emptied) return false;
  }
  if (platform::DeleteEntry(path, kind, error)) return true;
  failures.push_back({FailedStep::kDeleteEntry, path, error});
  return false;
}

// A folder left over because its deletion failed is used as it is, so that as much of the
// package as possible is still written.
bool CreateFolder(const std::filesystem::path& folder, Failures& failures) {
  std::error_code error;
  if (platform::CreateFolder(folder, error)) return true;
  std::error_code ignored;
  if (platform::GetEntryKind(folder, ignored) == platform::EntryKind::kFolder) return true;
  failures.push_back({FailedStep::kCreateFolder, folder, error});
  return false;
}

template <std::size_t N>
void CreateChain(const std::filesystem::path& root, const std::array<const char*, N>& chain,
                 Failures& failures) {
  for (std::size_t depth = 1; depth <= N; ++depth) {
    if (!CreateFolder(ChainFolder(root, chain, depth), failures)) return;
  }
}

}  // namespace

// The manifest names the gameplay data document as "Data/Newbuilding2PD_RIR_GameplayData.xml",
// relative to its own folder, the second folder of the DLC chain.
OutputPaths MakeOutputPaths(const std::filesystem::path& outputDir) {
  const std::filesystem::path root = outputDir / kTreeRoot;
  return {
      ChainFolder(root, kBaseChain, kBaseChain.size()) / "Newbuilding2PD_zh_Hans_CN.xml",
      ChainFolder(root, kDlcChain, kDlcChain.size()) / "Newbuilding2PD_RIR_GameplayData.xml",
      ChainFolder(root, kDlcChain, kDlcChain.size() - 1) / "Newbuilding2PD_RIR.modinfo",
  };
}

const std::filesystem::path& PathOf(const OutputPaths& paths, Document document) {
  switch (document) {
    case Document::kLocalization: return paths.localization;
    case Document::kGameplayData: return paths.gameplayData;
    case Document::kManifest: break;
  }
  return paths.manifest;
}

// AAA is deleted as far as it can be, then created with its two chains of folders, each folder
// only once the one above it is there.
Failures PrepareOutputTree(const std::filesystem::path& outputDir) {
  const std::filesystem::path root = outputDir / kTreeRoot;
  Failures failures;
  DeleteTree(root, failures);
  if (CreateFolder(root, failures)) {
    CreateChain(root, kBaseChain, failures);
    CreateChain(root, kDlcChain, failures);
  }
  return failures;
}

}  // namespace wondergen
