// One generation run: the form into the FieldStore, the documents composed and converted in memory,
// then the package's tree rebuilt with each document written into its places, and the mod's folder
// installed into the game's Mods folders.
#include <algorithm>

#include "documents.h"
#include "output_tree.h"
#include "wondergen/generator.h"

namespace wondergen {
namespace {

// `tree` with the mod's own folder added below its folder `parent`: the manifest, the gameplay
// data and icon documents in Data and the mod's copy of the localization document and its texts
// in the other languages in Text. The manifest names them relative to its own folder
// ("Data/Newbuilding2PD_RIR_GameplayData.xml", ...).
TreeLayout WithModFolder(TreeLayout tree, std::size_t parent) {
  const std::size_t mod = tree.folders.size(), data = mod + 1, text = mod + 2;
  tree.folders.insert(tree.folders.end(),
                      {{"Newbuilding2PD_RIR", parent}, {"Data", mod}, {"Text", mod}});
  tree.files.insert(tree.files.end(),
                    {{text, "Newbuilding2PD_zh_Hans_CN.xml", Document::kLocalization},
                     {text, "Newbuilding2PD_OtherLanguages.xml", Document::kOtherLanguages},
                     {data, "Newbuilding2PD_RIR_GameplayData.xml", Document::kGameplayData},
                     {data, "Newbuilding2PD_RIR_Icons.xml", Document::kIcons},
                     {mod, "Newbuilding2PD_RIR.modinfo", Document::kManifest}});
  return tree;
}

// AAA: two chains of folders that mirror the game's own layout, Base holding the localization
// document where the game's first release read its texts, and DLC the mod's folder. A chain stops
// at its first failure: no folder is attempted below one that could not be made.
const TreeLayout kPackageTree =
    WithModFolder({{
                       {"AAA", kTopOfTree},  // 0: neither chain runs without it
                       {"Base", 0},          // 1: the Base chain
                       {"Assets", 1},        // 2
                       {"Text", 2},          // 3
                       {"Translations", 3},  // 4
                       {"DLC", 0},           // 5: the DLC chain
                   },
                   {{4, "Newbuilding2PD_zh_Hans_CN.xml", Document::kLocalization}}},
                  5);

// The mod's folder alone, as it is installed into a Mods folder of the game.
const TreeLayout kInstalledTree = WithModFolder({}, kTopOfTree);

// A tree as wonder `wonder` has it: the mod's folder and files named for it.
TreeLayout NumberedTree(TreeLayout tree, int wonder) {
  for (TreeFolder& folder : tree.folders)
    folder.name = Numbered(folder.name, wonder);
  for (TreeFile& file : tree.files)
    file.name = Numbered(file.name, wonder);
  return tree;
}

// How each document is composed, indexed by Document.
constexpr std::array<std::string (*)(const FieldStore&, int), kDocumentCount> kComposers = {
    ComposeLocalizationDocument, ComposeOtherLanguagesDocument, ComposeGameplayDocument,
    ComposeIconDocument, ComposeManifestDocument};

}  // namespace

// The run's own field store: nothing is shared with another run.
ModPackage ComposeModPackage(const Form& form) {
  FieldStore store = ReadForm(form);
  ApplyTextDefaults(store);
  ModPackage package;
  for (std::size_t document = 0; document < kDocumentCount; ++document)
    package[document].utf8 =
        ToUtf8(kComposers[document](store, form.wonder), package[document].conversionError);
  return package;
}

RunOutcome RebuildModPackage(const Form& form, const std::filesystem::path& outputDir,
                             const std::vector<std::filesystem::path>& modsFolders,
                             const FailureReport& onFailure) {
  RunOutcome outcome;
  const FailureReport report = [&outcome, &onFailure](const Failure& failure) {
    outcome.failures.push_back(failure);
    if (onFailure) onFailure(failure);
  };
  // Installed from the bytes composed here, never read back from AAA.
  const ModPackage package = ComposeModPackage(form);
  const FileSystem& system = SystemFileSystem();
  RebuiltTree rebuilt =
      RebuildTree(system, NumberedTree(kPackageTree, form.wonder), outputDir, package, report);
  if (rebuilt.whole) outcome.package = rebuilt.top;
  outcome.written = std::move(rebuilt.written);
  const TreeLayout installedTree = NumberedTree(kInstalledTree, form.wonder);
  for (const std::filesystem::path& mods : modsFolders) {
    RebuiltTree installed = InstallTree(system, installedTree, mods, package, report);
    if (installed.whole) outcome.installed.push_back(installed.top);
    outcome.written.insert(outcome.written.end(), installed.written.begin(),
                           installed.written.end());
  }
  return outcome;
}

std::vector<std::filesystem::path> FindModsFolders() {
  std::vector<std::filesystem::path> found;
  for (const std::filesystem::path& game : GameUserFolders()) {
    std::error_code error;
    if (std::filesystem::is_directory(game, error)) found.push_back(game / "Mods");
  }
  return found;
}

std::vector<int> InstalledWonders(const std::vector<std::filesystem::path>& modsFolders) {
  std::vector<int> installed;
  for (int wonder = kFirstWonder; wonder <= kLastWonder; ++wonder) {
    // The mod's folder comes first in the installed tree, and its manifest last.
    const std::filesystem::path manifest =
        std::filesystem::path(Numbered(kInstalledTree.folders.front().name, wonder)) /
        Numbered(kInstalledTree.files.back().name, wonder);
    const auto holdsManifest = [&](const std::filesystem::path& mods) {
      std::error_code error;
      return std::filesystem::is_regular_file(mods / manifest, error);
    };
    if (std::any_of(modsFolders.begin(), modsFolders.end(), holdsManifest))
      installed.push_back(wonder);
  }
  return installed;
}

}  // namespace wondergen
