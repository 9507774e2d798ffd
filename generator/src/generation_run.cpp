// One generation run: the form into the FieldStore, the documents composed and converted in memory,
// then each written to its file in turn.
#include "document_writer.h"
#include "documents.h"
#include "output_tree.h"
#include "wondergen/generator.h"

namespace wondergen {
namespace {

int ComposeDocument(Document document, FieldStore& store, LineBuffer& lines) {
  switch (document) {
    case Document::kLocalization:
    case Document::kModLocalization:
      ComposeLocalizationDocument(store, lines);
      return kLocalizationLineCount;
    case Document::kGameplayData: ComposeGameplayDocument(store, lines); return kGameplayLineCount;
    case Document::kManifest: ComposeManifestDocument(store, lines); return kManifestLineCount;
  }
  return 0;
}

// The lines are converted as one text: each line holds whole characters only, so that gives the
// same bytes as converting them one by one.
DocumentBytes RenderDocument(Document document, FieldStore& store, LineBuffer& lines) {
  const int lineCount = ComposeDocument(document, store, lines);
  std::string cp936;
  for (int i = 0; i < lineCount; ++i)
    cp936 += lines[i];
  DocumentBytes bytes;
  bytes.utf8 = ToUtf8(cp936, bytes.conversionError);
  return bytes;
}

// Writes the documents into the prepared tree, one after the other.
void GenerateModPackage(const FormReader& readControl, const OutputTree& tree,
                        const std::filesystem::path& outputDir, const FailureReport& report) {
  const ModPackage package = ComposeModPackage(readControl);
  const OutputPaths paths = MakeOutputPaths(outputDir);
  for (Document document : kDocuments) {
    const std::optional<Failure> failure =
        WriteDocument(tree, document, PathOf(paths, document), package[Index(document)]);
    if (failure) report(*failure);
  }
}

}  // namespace

// The run's own field store and line buffer: nothing is shared with another run.
ModPackage ComposeModPackage(const FormReader& readControl) {
  FieldStore store;
  LineBuffer lines;
  ReadForm(readControl, store);
  ApplyTextDefaults(store);
  FormAuthorSuffix(store);
  ModPackage package;
  // The mod's copy of the localization document takes the bytes composed for it.
  for (Document document : kDocuments) {
    package[Index(document)] = document == Document::kModLocalization
                                   ? package[Index(Document::kLocalization)]
                                   : RenderDocument(document, store, lines);
  }
  return package;
}

Failures RebuildModPackage(const FormReader& readControl, const std::filesystem::path& outputDir,
                           const FailureReport& onFailure) {
  Failures failures;
  const FailureReport report = [&failures, &onFailure](const Failure& failure) {
    failures.push_back(failure);
    if (onFailure) onFailure(failure);
  };
  const OutputTree tree = PrepareOutputTree(outputDir, report);
  GenerateModPackage(readControl, tree, outputDir, report);
  return failures;
}

}  // namespace wondergen
