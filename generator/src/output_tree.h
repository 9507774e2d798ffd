// A tree of folders and the files in it, described as data, and its rebuilding. The tree is
// deleted and made through open folders only (file_system.h), so that nothing outside it is ever
// touched, and a file's path is known only from its place in the tree.
#pragma once

#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "file_system.h"
#include "wondergen/generator.h"

namespace wondergen {

// The parent of a tree's top folder, which is made in the directory the tree is rebuilt in.
inline constexpr std::size_t kTopOfTree = std::numeric_limits<std::size_t>::max();

struct TreeFolder {
  std::string name;
  std::size_t parent;  // an index into the tree's folders, or kTopOfTree
};

// A file of the tree: the folder that holds it, its name, and the document whose bytes it holds.
struct TreeFile {
  std::size_t folder;
  std::string name;
  Document document;
};

struct TreeLayout {
  std::vector<TreeFolder> folders;  // the top folder first, then each folder after its parent
  std::vector<TreeFile> files;      // in the order they are written
};

// What a rebuilding left: the tree's top folder, the path of each file written whole, in writing
// order, and whether that is every file of the tree.
struct RebuiltTree {
  std::filesystem::path top;
  std::vector<std::filesystem::path> written;
  bool whole = false;
};

// Deletes the tree's top folder in `dir` with everything below it, as far as it can, at any depth
// and holding a few folders open at a time, makes the tree's folders anew, a real folder that is
// still there counting as made, and creates each file new in its folder with its document's bytes
// from `package`, whole or not at all. Each failure is reported as it happens; a folder that could
// not be made is not tried below, and each file below it is reported with it as the cause. `dir`
// is opened once, as the system reaches it.
RebuiltTree RebuildTree(const FileSystem& system, const TreeLayout& tree,
                        const std::filesystem::path& dir, const ModPackage& package,
                        const FailureReport& report);

// Rebuilds the tree in `dir` as RebuildTree does, `dir` being made first in its parent where it is
// missing; where not every file could be written, the tree's top folder is deleted again and a
// failure says so.
RebuiltTree InstallTree(const FileSystem& system, const TreeLayout& tree,
                        const std::filesystem::path& dir, const ModPackage& package,
                        const FailureReport& report);

}  // namespace wondergen
