#include "document_writer.h"

#include <string>

namespace wondergen {

std::string ToUtf8(std::string_view cp936Text) {
  return platform::Cp936ToUtf8(cp936Text);
}

std::optional<std::string> FromUtf8(std::string_view utf8Text) {
  return platform::Utf8ToCp936(utf8Text);
}

DocumentFile CreateDocumentFile(const std::filesystem::path& path) {
  DocumentFile file{path, platform::kNoFile, {}};
  file.handle = platform::CreateDocumentFile(path, file.openError);
  return file;
}

std::optional<Failure> WriteDocument(DocumentFile& file, int lineCount, const LineBuffer& lines,
                                     LineBuffer& utf8Lines) {
  for (int i = 0; i < lineCount; ++i)
    utf8Lines[i] = ToUtf8(lines[i]);
  if (file.handle == platform::kNoFile) {
    return Failure{FailedStep::kCreateDocument, file.path, file.openError};
  }

  // One write for the whole document: the file holds the lines back to back either way.
  std::string bytes;
  for (int i = 0; i < lineCount; ++i)
    bytes += utf8Lines[i];
  std::error_code error;
  const bool written = platform::WriteToFile(file.handle, bytes, error);
  std::error_code closeError;
  const bool closed = platform::CloseFile(file.handle, closeError);
  file.handle = platform::kNoFile;
  if (!written) return Failure{FailedStep::kWriteDocument, file.path, error};
  if (!closed) return Failure{FailedStep::kWriteDocument, file.path, closeError};
  return std::nullopt;
}

}  // namespace wondergen
