#include "document_writer.h"

#include <string>

namespace wondergen {

std::string ToUtf8(std::string_view cp936Text, std::error_code& error) {
  std::string utf8;
  platform::Cp936ToUtf8(cp936Text, utf8, error);
  return utf8;
}

std::optional<std::string> FromUtf8(std::string_view utf8Text, std::error_code& error,
                                    std::vector<std::size_t>* invalidBytes) {
  return platform::Utf8ToCp936(utf8Text, error, invalidBytes);
}

// A file is written whole or not at all: a document that could not be converted is not created,
// and one that could not be written whole or closed (a full disk, a drive pulled out) is removed
// again, so that no reader ever takes a truncated document for the package.
bool WriteDocument(const platform::Folder& folder, const char* name,
                   const std::filesystem::path& path, const DocumentBytes& bytes,
                   const FailureReport& report) {
  std::error_code error = bytes.conversionError;
  if (error) {
    report({FailedStep::kConvertDocument, path, error, {}});
    return false;
  }
  const platform::Handle file = platform::CreateNewFile(folder, name, error);
  if (file == platform::kNoHandle) {
    report({FailedStep::kCreateDocument, path, error, {}});
    return false;
  }
  const bool written = platform::WriteToFile(file, bytes.utf8, error);
  std::error_code closeError;
  if (platform::CloseFile(file, closeError) && written) return true;
  report({FailedStep::kWriteDocument, path, written ? closeError : error, {}});
  std::error_code deleteError;
  if (!platform::DeleteEntry(folder, {name, false}, deleteError))
    report({FailedStep::kDeleteEntry, path, deleteError, {}});
  return false;
}

}  // namespace wondergen
