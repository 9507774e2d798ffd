// How a composed document reaches its file: created before it is composed, then converted to
// UTF-8, written and closed.
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

DocumentFile CreateDocumentFile(const std::filesystem::path& path);

// Converts lines 0..lineCount-1 into `utf8Lines`, writes them back to back with nothing between
// or after them, and closes the file. Returns what went wrong, if anything.
std::optional<Failure> WriteDocument(DocumentFile& file, int lineCount, const LineBuffer& lines,
                                     LineBuffer& utf8Lines);

}  // namespace wondergen
