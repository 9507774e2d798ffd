// How a rendered document reaches its file: the file is created, the bytes written, the file
// closed, and whatever fails is reported with the document's path.
#pragma once

#include <filesystem>
#include <optional>
#include <system_error>

#include "platform.h"
#include "wondergen/generator.h"

namespace wondergen {

// A document's file as CreateDocumentFile left it: open, or the reason it is not.
struct DocumentFile {
  std::filesystem::path path;
  platform::FileHandle handle;
  std::error_code openError;
};

// Creates the file, or empties an existing one.
DocumentFile CreateDocumentFile(const std::filesystem::path& path);

// Writes the document into the file in one piece and closes it. A document that could not be
// converted is not written: its file stays empty, and the failure says why.
std::optional<Failure> WriteDocument(DocumentFile& file, const DocumentBytes& document);

}  // namespace wondergen
