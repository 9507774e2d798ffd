// One generation run: the form into the FieldStore, the documents composed and converted in memory,
// then the package's tree rebuilt with each document written into its places, and the mod's folder
// installed into the game's Mods folders.
#include <algorithm>

#include "documents.h"
#include "mods_folder.h"
#include "package.h"
#include "wondergen/generator.h"

namespace wondergen {
namespace {

// `tree` with the mod's own folder added below its folder `parent`: the manifest, the gameplay
// data and icon documents in Data, the mod's copy of the localization document and its texts in
// the other languages in Text, and an icon of its own in Icons: its textures and its square. The
// manifest names them relative to its own folder ("Data/Newbuilding2PD_RIR_GameplayData.xml",
// ...), and is written last.
TreeLayout WithModFolder(TreeLayout tree, std::size_t parent, bool ownIcon) {
  const std::size_t mod = tree.folders.size(), data = mod + 1, text = mod + 2, icons = mod + 3;
  tree.folders.insert(tree.folders.end(),
                      {{"Newbuilding2PD_RIR", parent}, {"Data", mod}, {"Text", mod}});
  tree.files.insert(tree.files.end(),
                    {{text, "Newbuilding2PD_zh_Hans_CN.xml", Document::kLocalization},
                     {text, "Newbuilding2PD_OtherLanguages.xml", Document::kOtherLanguages},
                     {data, "Newbuilding2PD_RIR_GameplayData.xml", Document::kGameplayData},
                     {data, "Newbuilding2PD_RIR_Icons.xml", Document::kIcons}});
  if (ownIcon) {
    tree.folders.push_back({kIconFolderName, mod});
    for (std::size_t size = 0; size < kIconSizes.size(); ++size)
      tree.files.push_back({icons, TextureFileName(kIconSizes[size]),
                            static_cast<Document>(Index(Document::kTexture32) + size)});
    tree.files.push_back({icons, kIconSquareFileName, Document::kIconSquare});
  }
  tree.files.push_back({mod, "Newbuilding2PD_RIR.modinfo", Document::kManifest});
  return tree;
}

// A tree as wonder `wonder` has it: the mod's folder and files named for it.
TreeLayout NumberedTree(TreeLayout tree, int wonder) {
  for (TreeFolder& folder : tree.folders)
    folder.name = Numbered(folder.name, wonder);
  for (TreeFile& file : tree.files)
    file.name = Numbered(file.name, wonder);
  return tree;
}

}  // namespace

// AAA: two chains of folders that mirror the game's own layout, Base holding the localization
// document where the game's first release read its texts, and DLC the mod's folder. A chain stops
// at its first failure: no folder is attempted below one that could not be made.
TreeLayout PackageTree(int wonder, bool ownIcon) {
  const TreeLayout chains = {{
                                 {"AAA", kTopOfTree},  // 0: neither chain runs without it
                                 {"Base", 0},          // 1: the Base chain
                                 {"Assets", 1},        // 2
                                 {"Text", 2},          // 3
                                 {"Translations", 3},  // 4
                                 {"DLC", 0},           // 5: the DLC chain
                             },
                             {{4, "Newbuilding2PD_zh_Hans_CN.xml", Document::kLocalization}}};
  return NumberedTree(WithModFolder(chains, 5, ownIcon), wonder);
}

// The mod's folder alone, as it is installed into a Mods folder of the game.
TreeLayout InstalledTree(int wonder, bool ownIcon) {
  return NumberedTree(WithModFolder({}, kTopOfTree, ownIcon), wonder);
}

// The tree of every wonder, as installed into a Mods folder.
const std::vector<TreeLayout>& InstalledFamily() {
  static const std::vector<TreeLayout> family = [] {
    std::vector<TreeLayout> trees;
    for (int wonder = kFirstWonder; wonder <= kLastWonder; ++wonder)
      trees.push_back(InstalledTree(wonder, false));
    return trees;
  }();
  return family;
}

namespace {

// How each XML document is composed, indexed by Document.
constexpr std::array<std::string (*)(const FieldStore&, const Composition&), 5> kComposers = {
    ComposeLocalizationDocument, ComposeOtherLanguagesDocument, ComposeGameplayDocument,
    ComposeIconDocument, ComposeManifestDocument};

}  // namespace

bool Holds(const Composition& composition, Document document) {
  switch (document) {
    case Document::kOtherLanguages: return composition.edition >= Edition::kEveryLanguage;
    case Document::kIcons: return composition.edition >= Edition::kIconDocument;
    case Document::kLocalization:
    case Document::kGameplayData:
    case Document::kManifest: return true;
    default: return composition.ownIcon;  // the textures and the square
  }
}

ModPackage ComposeDocuments(const FieldStore& store, const Composition& composition) {
  ModPackage package;
  for (std::size_t document = 0; document < kComposers.size(); ++document) {
    if (Holds(composition, static_cast<Document>(document)))
      package[document].bytes =
          ToUtf8(kComposers[document](store, composition), package[document].conversionError);
  }
  return package;
}

// The run's own field store: nothing is shared with another run.
ModPackage ComposeModPackage(const Form& form) {
  FieldStore store = ReadForm(form);
  ApplyTextDefaults(store);
  ModPackage package = ComposeDocuments(store, {form.wonder, form.icon.has_value()});
  if (!form.icon) return package;
  for (std::size_t size = 0; size < kIconSizes.size(); ++size)
    package[Index(Document::kTexture32) + size].bytes = DdsTexture(*form.icon, kIconSizes[size]);
  package[Index(Document::kIconSquare)].bytes = PngFile(*form.icon);
  return package;
}

RunOutcome RebuildModPackage(const Form& form, const std::filesystem::path& outputDir,
                             const std::vector<std::filesystem::path>& modsFolders,
                             const FailureReport& onFailure, const WaitReport& onWait) {
  RunOutcome outcome;
  const FailureReport report = [&outcome, &onFailure](const Failure& failure) {
    outcome.failures.push_back(failure);
    if (onFailure) onFailure(failure);
  };
  // Composed first, and installed from the bytes composed here, never read back from AAA: a
  // document that cannot be converted is known before anything on disk changes.
  const ModPackage package = ComposeModPackage(form);
  const TreeLayout packageTree = PackageTree(form.wonder, form.icon.has_value());
  for (const TreeFile& file : packageTree.files) {
    const std::error_code& error = package[Index(file.document)].conversionError;
    if (!error) continue;
    report({FailedStep::kConvertDocument, outputDir / PathInTree(packageTree, file), error, {}});
  }
  if (!outcome.failures.empty()) return outcome;

  // Every folder the run works in is locked before anything changes, in the one order of every
  // run, and stays locked until the run returns, so that what it says it left is its own. Each
  // install has its own run of the tree, with its own patience for programs in the way.
  const FileSystem& system = SystemFileSystem();
  // AAA made inside a mod's folder that the install replaces would be deleted with it.
  for (const std::filesystem::path& folder : modsFolders) {
    const std::filesystem::path holder =
        ReplacedFolderHolding(system, folder, outputDir, InstalledFamily());
    if (!holder.empty()) report({FailedStep::kInstall, holder, TreeError::kHoldsTheOutput, {}});
  }
  if (!outcome.failures.empty()) return outcome;

  TreeRun run{system, report};
  run.onWait = onWait;
  std::vector<Workplace> dirs = {{outputDir, false}};
  for (const std::filesystem::path& folder : modsFolders)
    dirs.push_back({folder, true});
  const std::vector<Place> places = OpenWorkplaces(run, dirs);
  bool locked = true;
  for (const Place& place : places) {
    if (place.missing.step != FailedStep::kLock) continue;
    report(place.missing);
    locked = false;
  }
  if (!locked) return outcome;
  const Place& output = places.front();
  std::vector<TreeRun> installRuns(modsFolders.size(), run);

  RebuiltTree rebuilt = RebuildTree(run, packageTree, output, package);
  if (rebuilt.whole) outcome.package = rebuilt.top;
  outcome.written = std::move(rebuilt.written);
  const TreeLayout installedTree = InstalledTree(form.wonder, form.icon.has_value());
  for (std::size_t i = 0; i < installRuns.size(); ++i) {
    const Place& mods = places[i + 1];
    if (!mods.folder) {
      report(mods.missing);
      continue;
    }
    RebuiltTree installed =
        InstallTree(installRuns[i], installedTree, mods, package, InstalledFamily());
    if (installed.whole) outcome.installed.push_back(installed.top);
    outcome.written.insert(outcome.written.end(), installed.written.begin(),
                           installed.written.end());
  }
  return outcome;
}

}  // namespace wondergen
