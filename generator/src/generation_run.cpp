// One generation run: the form into the FieldStore, the documents composed and converted in memory,
// then the package's tree rebuilt with each document written into its places.
#include "documents.h"
#include "output_tree.h"
#include "wondergen/generator.h"

namespace wondergen {
namespace {

// AAA: two chains of folders that mirror the game's own layout. A chain stops at its first
// failure: no folder is attempted below one that could not be made. The mod carries its own copy
// of the localization document, which its manifest loads (UpdateText): the game reads no new file
// that is merely dropped among its own texts. The manifest names the gameplay data document and
// that copy as "Data/Newbuilding2PD_RIR_GameplayData.xml" and
// "Text/Newbuilding2PD_zh_Hans_CN.xml", relative to its own folder.
const TreeLayout kPackageTree = {
    {
        {"AAA", kTopOfTree},        // 0: neither chain runs without it
        {"Base", 0},                // 1: the Base chain
        {"Assets", 1},              // 2
        {"Text", 2},                // 3
        {"Translations", 3},        // 4
        {"DLC", 0},                 // 5: the DLC chain
        {"Newbuilding2PD_RIR", 5},  // 6: the mod's folder
        {"Data", 6},                // 7
        {"Text", 6},                // 8
    },
    {
        {4, "Newbuilding2PD_zh_Hans_CN.xml", Document::kLocalization},
        {8, "Newbuilding2PD_zh_Hans_CN.xml", Document::kLocalization},
        {7, "Newbuilding2PD_RIR_GameplayData.xml", Document::kGameplayData},
        {6, "Newbuilding2PD_RIR.modinfo", Document::kManifest},
    },
};

// How each document is composed, indexed by Document: its composition and its line count.
struct Composer {
  void (*compose)(const FieldStore& store, LineBuffer& lines);
  int lineCount;
};
constexpr std::array<Composer, kDocumentCount> kComposers = {{
    {ComposeLocalizationDocument, kLocalizationLineCount},
    {ComposeGameplayDocument, kGameplayLineCount},
    {ComposeManifestDocument, kManifestLineCount},
}};

}  // namespace

// The run's own field store and line buffer: nothing is shared with another run.
ModPackage ComposeModPackage(const FormReader& readControl) {
  FieldStore store;
  LineBuffer lines;
  ReadForm(readControl, store);
  ApplyTextDefaults(store);
  ModPackage package;
  for (std::size_t document = 0; document < kDocumentCount; ++document) {
    kComposers[document].compose(store, lines);
    // Each line holds whole characters only: converting them as one text gives the same bytes as
    // converting them one by one.
    std::string cp936;
    for (int i = 0; i < kComposers[document].lineCount; ++i)
      cp936 += lines[i];
    package[document].utf8 = ToUtf8(cp936, package[document].conversionError);
  }
  return package;
}

RunOutcome RebuildModPackage(const FormReader& readControl, const std::filesystem::path& outputDir,
                             const FailureReport& onFailure) {
  RunOutcome outcome;
  const FailureReport report = [&outcome, &onFailure](const Failure& failure) {
    outcome.failures.push_back(failure);
    if (onFailure) onFailure(failure);
  };
  outcome.written = RebuildTree(kPackageTree, outputDir, ComposeModPackage(readControl), report);
  return outcome;
}

}  // namespace wondergen
