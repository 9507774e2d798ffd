// The package's trees: where each file of a wonder's package is written.
#pragma once

#include <vector>

#include "output_tree.h"

namespace wondergen {

// AAA for wonder `wonder`, with an icon of its own or without.
TreeLayout PackageTree(int wonder, bool ownIcon);
// The mod's folder alone, as it is installed into a Mods folder: its top folder first, its manifest
// last.
TreeLayout InstalledTree(int wonder, bool ownIcon);
// The installed tree of every wonder, without an icon, from kFirstWonder on.
const std::vector<TreeLayout>& InstalledFamily();

}  // namespace wondergen
