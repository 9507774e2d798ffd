// The Mods folder's protocol: how a wonder's folder is installed into a Mods folder whole or not at
// all, removed, and put right after a run that was killed, under the names the protocol gives a
// folder on its way in and on its way out; and which copy of it the game loads.
#pragma once

#include <string>
#include <vector>

#include "output_tree.h"

namespace wondergen {

// Installs the tree into the Mods folder `mods`, replacing the one installed only by a whole one:
// the new folder is written beside it under a name of its own, its manifest under a name the game
// does not load, each file on the disk before it is closed; then the installed folder is retired
// and the new one put in its place (a failure until then leaves the installed one as it was and
// removes the new one); then the retired one's manifest takes the other name and the new one's
// its own, and the retired one is deleted. Where either manifest cannot be renamed, the swap is
// undone within the run: the new folder moved out of the way and deleted, the retired one back in
// its place, loaded. So the game loads at most one copy of the mod at every moment, whole, and
// after a failure the one installed before. First, what a run that was killed left, of any tree of
// `family` (every tree that is installed into a Mods folder), is put right by steps that keep
// this true; where the tree's own retired folder cannot be, nothing more is done.
RebuiltTree InstallTree(TreeRun& run, const TreeLayout& tree, const Place& mods,
                        const ModPackage& package, const std::vector<TreeLayout>& family);

// Removes the tree's top folder from the Mods folder `mods`: its manifest given the name the game
// does not load, the folder the name of a new one (which the next run removes, should this one
// stop), then deleted as DeleteTree deletes; so that the game never finds part of the mod under a
// manifest it loads. Where the folder cannot be renamed, it stays whole and loaded. What a run
// that was killed left of any of `family` is put right first, as InstallTree puts it right; where
// the tree's own retired folder cannot be, it is not removed. False where it was not there, or
// stays.
bool UninstallTree(TreeRun& run, const TreeLayout& tree, const Place& mods,
                   const std::vector<TreeLayout>& family);

// The name of the copy of the tree's top folder in the held folder `mods` whose manifest the game
// loads: the folder's own, or else, where a run could not go back all the way, its retired one;
// empty where neither's is. The one that readers report. Where a copy is there but cannot be
// looked into (a link, a folder the user may not read), its name, and why in `error`.
std::string LoadedCopy(const FileSystem& system, Handle mods, const TreeLayout& tree,
                       std::error_code& error);

// The folder of the Mods folder `mods` that installing or removing a tree of `family` replaces or
// deletes (installed, or on its way in or out), and that is or holds the folder `dir`, links
// followed as the system follows them; empty where none does. Names are matched in any case, as
// Windows and macOS match them.
std::filesystem::path ReplacedFolderHolding(const FileSystem& system,
                                            const std::filesystem::path& mods,
                                            const std::filesystem::path& dir,
                                            const std::vector<TreeLayout>& family);

}  // namespace wondergen
