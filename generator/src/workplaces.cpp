// The folders a run works in, opened and locked against every other run, in one order.
#include <algorithm>
#include <tuple>

#include "output_tree.h"

namespace wondergen {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

// The runs' lock

// The directory `dir` reached as the system reaches it (links followed), made first in its parent
// where `make` says so; not locked yet.
Place OpenFolderAt(TreeRun& run, const fs::path& dir, bool make) {
  Place place;
  place.path = dir;
  std::error_code& error = place.missing.reason;
  const auto openFolder = [&](Handle base, const fs::path& path) {
    return TryOpen(
        run, [&](std::error_code& e) { return run.system.openFolder(base, path, e); }, error);
  };
  if (make) {
    const fs::path folder = dir.has_filename() ? dir : dir.parent_path();  // "Mods/"
    const Held parent =
        openFolder(kNoHandle, folder.has_parent_path() ? folder.parent_path() : ".");
    const auto makeFolder = [&](std::error_code& failure) {
      return run.system.makeFolder(parent.handle, folder.filename(), failure);
    };
    if (parent && !Try(run, makeFolder, error) && error == std::errc::file_exists) error.clear();
    if (parent && !error) place.folder = openFolder(parent.handle, folder.filename());
  } else {
    place.folder = openFolder(kNoHandle, dir);
  }
  if (!place.folder) place.missing = {FailedStep::kCreateFolder, dir, error, {}};
  return place;
}

// The lock of the held folder `place`, waited for while another run holds it, the waits growing to
// a tenth of a second; where it cannot be had, the folder is let go and `missing` says why.
void Lock(TreeRun& run, Place& place) {
  std::error_code& error = place.missing.reason;
  milliseconds waited(0), wait(5);
  for (;;) {
    error.clear();
    place.lock = Held(run.system, run.system.tryLock(place.folder.handle, error), true);
    if (place.lock || error != std::errc::resource_unavailable_try_again) break;
    if (waited >= kLongestWaitForAnotherRun) {
      error = TreeError::kHeldByAnotherRun;
      break;
    }
    if (waited.count() == 0 && run.onWait) run.onWait(place.path);
    run.system.pause(wait);
    waited += wait;
    wait = std::min(wait * 2, milliseconds(100));
  }
  if (!place.lock) {
    place.folder.Close();
    place.missing = {FailedStep::kLock, place.path, error, {}};
  }
}

}  // namespace

std::vector<Place> OpenWorkplaces(TreeRun& run, const std::vector<Workplace>& dirs) {
  std::vector<Place> places;
  for (const Workplace& dir : dirs)
    places.push_back(OpenFolderAt(run, dir.dir, dir.make));
  // Locked in the order of the folders' identities, whatever order and paths they come in, so
  // that two runs never hold one folder each while waiting for the other's; a folder whose
  // identity the system does not give comes last.
  struct Ordered {
    bool unknown;
    FileIdentity identity;
    Place* place;
  };
  std::vector<Ordered> order;
  for (Place& place : places) {
    if (!place.folder) continue;
    Ordered each{false, {}, &place};
    std::error_code error;
    each.unknown = !run.system.identify(place.folder.handle, each.identity, error);
    order.push_back(each);
  }
  const auto key = [](const Ordered& each) {
    return std::make_tuple(each.unknown, each.identity.volume, each.identity.file);
  };
  std::stable_sort(order.begin(), order.end(),
                   [&](const Ordered& a, const Ordered& b) { return key(a) < key(b); });
  const Ordered* holder = nullptr;
  for (const Ordered& each : order) {
    Place& place = *each.place;
    // The same folder reached again, as where AAA and the mod share one: held by the first.
    if (holder && !each.unknown && !holder->unknown && each.identity == holder->identity) {
      if (!holder->place->lock) {
        place.folder.Close();
        place.missing = {FailedStep::kLock, place.path, holder->place->missing.reason, {}};
      }
      continue;
    }
    Lock(run, place);
    holder = &each;
  }
  return places;
}

Place OpenWorkplace(TreeRun& run, const fs::path& dir, bool make) {
  return std::move(OpenWorkplaces(run, {{dir, make}}).front());
}

std::optional<FileIdentity> FolderIdentity(const FileSystem& system, const fs::path& path) {
  std::error_code error;
  if (!std::filesystem::is_directory(path, error)) return std::nullopt;
  const Held folder(system, system.openFolder(kNoHandle, path, error));
  FileIdentity identity;
  if (!folder || !system.identify(folder.handle, identity, error)) return std::nullopt;
  return identity;
}

}  // namespace wondergen
