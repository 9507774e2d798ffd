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

// A document that could not be converted still gets its (empty) file, as the run creates each
// file before it writes it; it is never written with its texts missing.
std::optional<Failure> WriteDocument(const platform::Folder& folder, const char* name,
                                     const std::filesystem::path& path,
                                     const DocumentBytes& bytes) {
  std::error_code error;
  const platform::Handle file = platform::CreateNewFile(folder, name, error);
  if (file == platform::kNoHandle) return Failure{FailedStep::kCreateDocument, path, error, {}};
  const bool converted = !bytes.conversionError;
  const bool written = converted && platform::WriteToFile(file, bytes.utf8, error);
  std::error_code closeError;
  const bool closed = platform::CloseFile(file, closeError);
  if (!converted) return Failure{FailedStep::kConvertDocument, path, bytes.conversionError, {}};
  if (!written) return Failure{FailedStep::kWriteDocument, path, error, {}};
  if (!closed) return Failure{FailedStep::kWriteDocument, path, closeError, {}};
  return std::nullopt;
}

}  // namespace wondergen
