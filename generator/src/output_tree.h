// The folder tree AAA of one run, between its preparation and the writing of the documents.
#pragma once

#include <array>

#include "platform.h"
#include "wondergen/generator.h"

namespace wondergen {

inline constexpr std::size_t kTreeFolderCount = 9;

// The tree as PrepareOutputTree left it: each of its folders held open from its creation on, so
// that nothing can be put in its place, or, where a folder could not be made, the failure that
// says why (its own, or that of the folder above it).
struct OutputTree {
  std::array<platform::Folder, kTreeFolderCount> folders;
  std::array<Failure, kTreeFolderCount> missing;
};

// Deletes the old AAA in `outputDir` and creates the tree anew; reports what fails.
OutputTree PrepareOutputTree(const std::filesystem::path& outputDir, const FailureReport& report);

// The folder that holds the document, as an index into the tree's folders, and its file name.
struct DocumentPlace {
  std::size_t folder;
  const char* fileName;
};
DocumentPlace PlaceOf(Document document);

}  // namespace wondergen
