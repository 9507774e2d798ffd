#include "document_writer.h"

#include <string>

namespace wondergen {

std::string ToUtf8(std::string_view cp936Text, std::error_code& error) {
  std::string utf8;
  platform::Cp936ToUtf8(cp936Text, utf8, error);
  return utf8;
}

std::optional<std::string> FromUtf8(std::string_view utf8Text, std::error_code& error) {
  return platform::Utf8ToCp936(utf8Text, error);
}

DocumentFile CreateDocumentFile(const std::filesystem::path& path) {
  DocumentFile file{path, platform::kNoFile, {}};
  file.handle = platform::CreateDocumentFile(path, file.openError);
  return file;
}

std::optional<Failure> WriteDocument(DocumentFile& file, const DocumentBytes& document) {
  if (file.handle == platform::kNoFile) {
    return Failure{FailedStep::kCreateDocument, file.path, file.openError};
  }
  std::error_code writeError;
  const bool converted = !document.conversionError;
  const bool written = converted && platform::WriteToFile(file.handle, document.utf8, writeError);
  std::error_code closeError;
  const bool closed = platform::CloseFile(file.handle, closeError);
  file.handle = platform::kNoFile;
  if (!converted) return Failure{FailedStep::kConvertDocument, file.path, document.conversionError};
  if (!written) return Failure{FailedStep::kWriteDocument, file.path, writeError};
  if (!closed) return Failure{FailedStep::kWriteDocument, file.path, closeError};
  return std::nullopt;
}

}  // namespace wondergen
