// One generation run: the form into the FieldStore, then the three documents in turn.
#include "document_writer.h"
#include "wondergen/generator.h"

namespace wondergen {
namespace {

// Process-wide, as the window keeps them: a run overwrites every slot it reads.
FieldStore g_fieldStore;
LineBuffer g_lineBuffer;
LineBuffer g_utf8LineBuffer;

void Finish(DocumentFile& file, int lineCount, Failures& failures) {
  if (auto failure = WriteDocument(file, lineCount, g_lineBuffer, g_utf8LineBuffer)) {
    failures.push_back(std::move(*failure));
  }
}

}  // namespace

Failures GenerateModPackage(const FormReader& readControl, const std::filesystem::path& outputDir) {
  Failures failures;
  ReadForm(readControl, g_fieldStore);
  const OutputPaths paths = MakeOutputPaths(outputDir);

  DocumentFile localization = CreateDocumentFile(paths.localization);
  ApplyTextDefaults(g_fieldStore);
  FormAuthorSuffix(g_fieldStore);
  ComposeLocalizationDocument(g_fieldStore, g_lineBuffer);
  Finish(localization, kLocalizationLineCount, failures);

  DocumentFile gameplayData = CreateDocumentFile(paths.gameplayData);
  ComposeGameplayDocument(g_fieldStore, g_lineBuffer);
  Finish(gameplayData, kGameplayLineCount, failures);

  DocumentFile manifest = CreateDocumentFile(paths.manifest);
  ComposeManifestDocument(g_lineBuffer);
  Finish(manifest, kManifestLineCount, failures);
  return failures;
}

}  // namespace wondergen
