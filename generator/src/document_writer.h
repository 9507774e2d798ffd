// How a rendered document reaches its file: the file is created new in its folder, the bytes
// written, the file closed, and whatever fails is reported with the document's path.
#pragma once

#include <filesystem>
#include <optional>

#include "output_tree.h"

namespace wondergen {

// Creates the document's file in its folder of the tree and writes the document into it in one
// piece. A document whose folder is missing, whose place is taken, or that could not be converted
// is not written; the failure says why.
std::optional<Failure> WriteDocument(const OutputTree& tree, Document document,
                                     const std::filesystem::path& path, const DocumentBytes& bytes);

}  // namespace wondergen
