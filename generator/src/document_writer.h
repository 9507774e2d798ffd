// How a document's bytes reach their file: the file is created new in its folder, the bytes
// written, the file closed, and whatever fails is reported with the file's path.
#pragma once

#include <filesystem>

#include "platform.h"
#include "wondergen/generator.h"

namespace wondergen {

// Creates the file `name` in `folder` and writes the document into it in one piece. A file whose
// place is taken, or whose document could not be converted or written whole, is not left there;
// each failure is reported, naming `path`. Returns whether the file was written whole.
bool WriteDocument(const platform::Folder& folder, const char* name,
                   const std::filesystem::path& path, const DocumentBytes& bytes,
                   const FailureReport& report);

}  // namespace wondergen
