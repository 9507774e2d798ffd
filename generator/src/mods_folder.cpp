#include "mods_folder.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <utility>

#include "package.h"
#include "wonder_reading.h"

namespace wondergen {
namespace {

namespace fs = std::filesystem;

// Installing: the new folder made whole beside the installed one, then swapped in.

// The names of a tree's folder in a Mods folder: installed; new, while it is written or on its way
// out, its manifest under a name the game does not load; and retired, while the new one takes its
// place. And the manifest's own name.
constexpr std::string_view kNewSuffix = ".wondergen-new";
constexpr std::string_view kRetiredSuffix = ".wondergen-old";

std::string Suffixed(std::string name, std::string_view suffix) {
  return name.append(suffix);
}

struct ModNames {
  std::string installed, fresh, retired, manifest;
};

// An installed tree's names: its top folder's, and its manifest's, its last file, in that folder.
ModNames NamesOf(const TreeLayout& tree) {
  const std::string& name = tree.folders[0].name;
  return {name, Suffixed(name, kNewSuffix), Suffixed(name, kRetiredSuffix), tree.files.back().name};
}

// Gives the manifest of the mod folder `name` of `mods` its other name (`load` false), so that
// the game no longer loads the mod, or its own name back. A folder that is a link or is not there,
// or a manifest already so named, is left as it is; a failure is reported. Returns whether the
// manifest is so named, or missing.
bool NameManifest(TreeRun& run, const Place& mods, const std::string& name,
                  const std::string& manifest, bool load) {
  Place folder;
  folder.path = mods.path / name;
  std::error_code error;
  folder.folder = OpenSubfolder(run, mods.folder.handle, name, error);
  const std::string hidden = Suffixed(manifest, kNewSuffix);
  if (folder.folder) {
    Rename(run, folder, load ? hidden : manifest, load ? manifest : hidden, error);
  }
  if (!error || IsMissing(error) || error == TreeError::kIsALink ||
      error == std::errc::not_a_directory)
    return true;
  run.report({run.modsStep, folder.path, error, {}});
  return false;
}

// Renames the folder `name` of `mods` to `newName`; a failure is reported with its path.
bool Move(TreeRun& run, const Place& mods, const std::string& name, const std::string& newName) {
  std::error_code error;
  if (Rename(run, mods, name, newName, error)) return true;
  run.report({run.modsStep, mods.path / name, error, {}});
  return false;
}

// Where a swap ends: the new folder loaded in the installed one's place, the retired one (where
// there is one) to be deleted; the new one gone and the retired one loaded in its place again; or
// the retired one left loaded beside, a step of the way back refused, for the next run.
enum class SwapEnd { kNewInPlace, kRetiredPutBack, kRetiredLeft };

// Goes back to the retired folder where the swap cannot be finished: the new folder's manifest
// hidden, the retired one's given its own name, the new folder moved out of the way and the
// retired one into its place, then the new one deleted. Each step only once the one before it is
// done, so that the game loads at most one copy at every moment and, once the first is done, the
// retired one, which stays loaded under its retired name where it cannot be moved back. With no
// retired folder (a first install), the new one alone goes.
SwapEnd GoBack(TreeRun& run, const Place& mods, const ModNames& names, bool retired) {
  if (!NameManifest(run, mods, names.installed, names.manifest, false))
    return SwapEnd::kRetiredLeft;
  if (retired) NameManifest(run, mods, names.retired, names.manifest, true);
  if (!Move(run, mods, names.installed, names.fresh)) return SwapEnd::kRetiredLeft;
  const bool back = !retired || Move(run, mods, names.retired, names.installed);
  DeleteTree(run, mods, {names.fresh, EntryKind::kUnknown});
  if (!back) return SwapEnd::kRetiredLeft;
  run.report({run.modsStep, mods.path / names.installed, TreeError::kPutBack, {}});
  return SwapEnd::kRetiredPutBack;
}

// Finishes the swap, the new folder whole in the installed one's place and the retired one (where
// `retired`) beside it: the game stops loading the retired one, then loads the new one. Never the
// new one's manifest named while the retired one's still is: where either cannot be renamed, it
// goes back instead.
SwapEnd FinishSwap(TreeRun& run, const Place& mods, const ModNames& names, bool retired) {
  if ((!retired || NameManifest(run, mods, names.retired, names.manifest, false)) &&
      NameManifest(run, mods, names.installed, names.manifest, true))
    return SwapEnd::kNewInPlace;
  return GoBack(run, mods, names, retired);
}

// Puts right what a run that was killed, or whose way back was refused, left in `mods`, for each
// tree of `family`, only by steps that keep the game loading at most one copy: a new folder, whose
// manifest is never loaded, is deleted; where both the installed and the retired folder are there,
// the swap is finished, or undone where it cannot be; a retired folder alone is put back in its
// place, or, where it cannot be, left loaded; and the installed folder of the tree `own`, which
// this run installs or removes, given its manifest's own name (another's, hidden by a removal that
// was killed, stays unloaded for a run of its own: a folder this run need not open, which may be
// one it cannot). Returns whether no retired folder of `own` is left, which is not known where
// `mods` cannot be listed.
bool RecoverLeftovers(TreeRun& run, const Place& mods, const std::vector<TreeLayout>& family,
                      const std::string& own) {
  std::vector<FolderEntry> entries;
  std::error_code listError;
  if (!run.system.list(mods.folder.handle, entries, listError)) {
    run.report({run.modsStep, mods.path, listError, {}});
    return false;
  }
  std::set<fs::path> there;
  for (const FolderEntry& entry : entries)
    there.insert(entry.name);
  bool ownLeft = false;
  for (const TreeLayout& tree : family) {
    const ModNames names = NamesOf(tree);
    if (there.count(names.fresh)) DeleteTree(run, mods, {names.fresh, EntryKind::kUnknown});
    const bool installed = there.count(names.installed) != 0;
    bool left = there.count(names.retired) != 0;
    if (left && installed) {
      const SwapEnd end = FinishSwap(run, mods, names, true);
      left = end == SwapEnd::kRetiredLeft ||
             (end == SwapEnd::kNewInPlace &&
              !DeleteTree(run, mods, {names.retired, EntryKind::kUnknown}));
    } else if (left) {
      left = !Move(run, mods, names.retired, names.installed);
      NameManifest(run, mods, left ? names.retired : names.installed, names.manifest, true);
    } else if (installed && names.installed == own) {
      NameManifest(run, mods, names.installed, names.manifest, true);
    }
    ownLeft |= left && names.installed == own;
  }
  return !ownLeft;
}

}  // namespace

std::string LoadedCopy(const FileSystem& system, Handle mods, const TreeLayout& tree,
                       std::error_code& error) {
  const ModNames names = NamesOf(tree);
  for (const std::string& copy : {names.installed, names.retired}) {
    error.clear();
    const Held folder(system, system.openSubfolder(mods, copy, error));
    if (folder && Held(system, system.openFile(folder.handle, names.manifest, error))) return copy;
    // Not there, no folder, or no manifest in it: no copy the game loads.
    if (IsMissing(error) || error == std::errc::not_a_directory) continue;
    return copy;
  }
  error.clear();
  return {};
}

RebuiltTree InstallTree(TreeRun& run, const TreeLayout& tree, const Place& mods,
                        const ModPackage& package, const std::vector<TreeLayout>& family) {
  const ModNames names = NamesOf(tree);
  const RebuiltTree failed{mods.path / names.installed, {}, false};
  if (!RecoverLeftovers(run, mods, family, names.installed)) return failed;

  TreeLayout staged = tree;
  staged.folders[0].name = names.fresh;
  staged.files.back().name = Suffixed(names.manifest, kNewSuffix);
  if (!RebuildTree(run, staged, mods, package, true).whole) {
    DeleteTree(run, mods, {names.fresh, EntryKind::kFolder});
    run.report({FailedStep::kInstall, failed.top, TreeError::kNotWhole, {}});
    return failed;
  }
  // The swap: the installed folder retired, the new one put in its place, or else the retired one
  // back in it.
  std::error_code error;
  const bool replacing = Rename(run, mods, names.installed, names.retired, error);
  if (replacing || IsMissing(error)) {
    error.clear();
    if (!Rename(run, mods, names.fresh, names.installed, error) && replacing)
      Move(run, mods, names.retired, names.installed);
  }
  if (error) {
    run.report({FailedStep::kInstall, failed.top, error, {}});
    DeleteTree(run, mods, {names.fresh, EntryKind::kFolder});
    return failed;
  }
  if (FinishSwap(run, mods, names, replacing) != SwapEnd::kNewInPlace) return failed;
  if (replacing) DeleteTree(run, mods, {names.retired, EntryKind::kUnknown});
  RebuiltTree installed{failed.top, {}, true};
  for (const TreeFile& file : tree.files)
    installed.written.push_back(mods.path / PathInTree(tree, file));
  return installed;
}

bool UninstallTree(TreeRun& run, const TreeLayout& tree, const Place& mods,
                   const std::vector<TreeLayout>& family) {
  run.modsStep = FailedStep::kRemove;
  const ModNames names = NamesOf(tree);
  if (!RecoverLeftovers(run, mods, family, names.installed)) return false;
  std::error_code error;
  Held folder = OpenSubfolder(run, mods.folder.handle, names.installed, error);
  const bool there = folder || error == TreeError::kIsALink || error == std::errc::not_a_directory;
  folder.Close();
  if (!there || !NameManifest(run, mods, names.installed, names.manifest, false)) return false;
  if (!Rename(run, mods, names.installed, names.fresh, error)) {
    run.report({run.modsStep, mods.path / names.installed, error, {}});
    NameManifest(run, mods, names.installed, names.manifest, true);
    return false;
  }
  return DeleteTree(run, mods, {names.fresh, EntryKind::kUnknown});
}

std::vector<InstalledWonder> InstalledWonders(const std::vector<fs::path>& modsFolders,
                                              const FailureReport& onFailure,
                                              const WaitReport& onWait) {
  const FileSystem& system = SystemFileSystem();
  std::vector<InstalledWonder> installed;
  std::set<int> found;
  for (const fs::path& mods : modsFolders) {
    const Failure failure = ReadShelf({mods, mods}, onWait, [&](Handle, Handle folder) {
      for (int wonder = kFirstWonder; wonder <= kLastWonder; ++wonder) {
        std::error_code error;
        const std::string copy =
            LoadedCopy(system, folder, InstalledFamily()[wonder - kFirstWonder], error);
        if (copy.empty() || !found.insert(wonder).second) continue;
        const Held top = error ? Held() : Held(system, system.openSubfolder(folder, copy, error));
        const WonderReading reading =
            top ? ReadHeldWonder(wonder, top, mods / copy, nullptr) : WonderReading();
        installed.push_back({wonder, mods / copy, reading.form ? BuildingName(*reading.form) : ""});
      }
    });
    if (failure.reason && onFailure) onFailure(failure);
  }
  std::sort(installed.begin(), installed.end(),
            [](const InstalledWonder& a, const InstalledWonder& b) { return a.number < b.number; });
  return installed;
}

std::vector<fs::path> RemoveWonder(int wonder, const std::vector<fs::path>& modsFolders,
                                   const FailureReport& onFailure, const WaitReport& onWait) {
  std::vector<fs::path> removed;
  const FailureReport report = [&](const Failure& failure) {
    if (onFailure) onFailure(failure);
  };
  const TreeLayout tree = InstalledTree(wonder, false);
  for (const fs::path& mods : modsFolders) {
    TreeRun run{SystemFileSystem(), report};
    run.onWait = onWait;
    const Place place = OpenWorkplace(run, mods, false);
    if (place.missing.step == FailedStep::kLock) report(place.missing);
    if (place.lock && UninstallTree(run, tree, place, InstalledFamily()))
      removed.push_back(mods / tree.folders.front().name);
  }
  return removed;
}

fs::path ReplacedFolderHolding(const FileSystem& system, const fs::path& mods, const fs::path& dir,
                               const std::vector<TreeLayout>& family) {
  const std::optional<FileIdentity> modsIdentity = FolderIdentity(system, mods);
  if (!modsIdentity) return {};
  std::error_code error;  // where `dir` cannot be resolved, `real` is empty
  const fs::path real = fs::weakly_canonical(fs::absolute(dir, error), error);
  const auto replaced = [&family](const std::string& name) {
    const auto same = [&name](const std::string& other) { return SameIgnoringCase(name, other); };
    return std::any_of(family.begin(), family.end(), [&same](const TreeLayout& tree) {
      const ModNames names = NamesOf(tree);
      return same(names.installed) || same(names.fresh) || same(names.retired);
    });
  };
  for (fs::path folder = real; folder.has_relative_path(); folder = folder.parent_path()) {
    if (replaced(folder.filename().string()) &&
        FolderIdentity(system, folder.parent_path()) == modsIdentity)
      return folder;
  }
  return {};
}

}  // namespace wondergen
