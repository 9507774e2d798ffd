// The rebuilding of a tree through the system's own file system made to fail on cue as Windows
// does, so that each of the tree's answers to Windows runs natively: the cases of tree-faults.txt.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "output_tree.h"
#include "wondergen/windows_rules.h"

namespace wondergen {
namespace {

namespace fs = std::filesystem;

struct Cue {
  std::string op, path;
  int error, times, after;
};
// What the case makes the file system do, and the path of each handle it holds.
struct Faults {
  std::vector<Cue> cues;
  std::map<std::string, int> pending;  // names still pending their deletion, by refusals left
  std::set<std::string> swaps;         // folders that become links once listed
  bool untyped = false, noAtOnce = false;
  int atOnceAsked = 0;
  std::map<Handle, std::string> open;
} g;
const FileSystem& kSystem = SystemFileSystem();
const fs::path kRoot = fs::path(testing::TempDir()) / ("tree-faults-" + std::to_string(getpid()));

std::string PathOf(Handle parent, const fs::path& name) {
  return g.open.at(parent) + "/" + name.string();
}
Handle Held(Handle handle, const std::string& path) {
  if (handle != kNoHandle) g.open[handle] = path;
  return handle;
}
bool Fails(std::error_code& error, std::error_code reason) {
  error = reason;
  return true;
}
std::error_code Win32(int error) {
  return {error, std::system_category()};
}
// Whether a cue fails this call, as the Windows layer fails it.
bool Cued(const std::string& op, const std::string& path, std::error_code& error) {
  for (Cue& cue : g.cues) {
    if (cue.op != op || cue.path != path || cue.times == 0 || (cue.after > 0 && cue.after--))
      continue;
    return --cue.times, Fails(error, Win32(cue.error));
  }
  return false;
}
// A name pending its deletion is gone for an opening and a deletion; it is in the way of a
// creation, and of its folder's deletion, until two refusals have passed, and then it goes.
bool Gone(const std::string& path, std::error_code& error) {
  return g.pending.count(path) &&
         Fails(error, std::make_error_code(std::errc::no_such_file_or_directory));
}
bool InTheWay(const std::string& path, bool inside, std::error_code& error, int reason) {
  const std::string at = inside ? path + "/" : path;
  const auto pending = inside ? g.pending.lower_bound(at) : g.pending.find(at);
  if (pending == g.pending.end() || pending->first.rfind(at, 0) != 0) return false;
  if (--pending->second == 0) fs::remove_all(pending->first), g.pending.erase(pending);
  return Fails(error, Win32(reason));
}

const FileSystem kFaulty = {
    [](Handle base, const fs::path& path, std::error_code& error) {
      return Held(kSystem.openFolder(base, path, error), path.string());
    },
    [](Handle parent, const fs::path& name, std::error_code& error) {
      const std::string path = PathOf(parent, name);
      if (Cued("open", path, error) || Gone(path, error)) return kNoHandle;
      if (g.swaps.erase(path))
        fs::remove_all(path), fs::create_directory_symlink(kRoot / "outside", path);
      return Held(kSystem.openSubfolder(parent, name, error), path);
    },
    [](Handle folder, std::vector<FolderEntry>& entries, std::error_code& error) {
      if (Cued("list", g.open.at(folder), error) || !kSystem.list(folder, entries, error))
        return false;
      for (FolderEntry& entry : entries)
        entry.kind = g.untyped ? EntryKind::kUnknown : entry.kind;
      return true;
    },
    [](Handle parent, const fs::path& name, bool isFolder, Deletion how, std::error_code& error) {
      const std::string path = PathOf(parent, name);
      if (Cued("delete", path, error) || Gone(path, error)) return false;
      // Asked again once it refused, the file system fails otherwise: the run is to remember.
      if (how == Deletion::kAtOnce && g.noAtOnce)
        return !Fails(error,
                      std::make_error_code(g.atOnceAsked++ ? std::errc::operation_not_permitted
                                                           : std::errc::not_supported));
      if (InTheWay(path, true, error, 145)) return false;  // ERROR_DIR_NOT_EMPTY
      return kSystem.deleteEntry(parent, name, isFolder, how, error);
    },
    [](Handle parent, const fs::path& name, std::error_code& error) {
      const std::string path = PathOf(parent, name);
      return !Cued("mkdir", path, error) &&
             !InTheWay(path, false, error, 303) &&  // ERROR_DELETE_PENDING
             kSystem.makeFolder(parent, name, error);
    },
    [](Handle parent, const fs::path& name, std::error_code& error) {
      const std::string path = PathOf(parent, name);
      if (Cued("create", path, error) || InTheWay(path, false, error, 303)) return kNoHandle;
      return Held(kSystem.createFile(parent, name, error), path);
    },
    [](Handle file, std::string_view bytes, std::error_code& error) {
      return !Cued("write", g.open.at(file), error) && kSystem.write(file, bytes, error);
    },
    [](Handle handle, std::error_code& error) {
      g.open.erase(handle);
      return kSystem.close(handle, error);
    },
    [](const std::error_code& error) {
      return error.category() == std::system_category() &&
             platform::windows::MayPassSoon(static_cast<std::uint32_t>(error.value()));
    },
};

// What was reported and what is left, as the cases write them, relative to the scratch folder.
std::string Shown(const fs::path& path) {
  return path.lexically_relative(kRoot).string();
}
std::string Reported(const Failure& failure) {
  const char* steps[] = {"delete", "create-folder", "create", "convert", "write", "install"};
  const std::error_code& reason = failure.reason;
  return std::string(steps[static_cast<int>(failure.step)]) + " " + Shown(failure.path) + " " +
         (reason.category() == std::system_category() ? std::to_string(reason.value())
                                                      : reason.message());
}
std::string Left() {
  std::set<std::string> left;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(kRoot)) {
    const std::string path = Shown(entry.path());
    if (path == "d") continue;
    left.insert(path.substr(path.rfind("d/", 0) == 0 ? 2 : 0) + (entry.is_symlink()     ? "@"
                                                                 : entry.is_directory() ? "/"
                                                                                        : ""));
  }
  std::string words;
  for (const std::string& path : left)
    words += (words.empty() ? "" : " ") + path;
  return words;
}

// Rebuilds T (T/sub/doc) in the folder d for the case, and says what it came to.
void RunCase(const std::string& name, const std::vector<std::string>& reported,
             const std::string& left) {
  static const TreeLayout kTree = {{{"T", kTopOfTree}, {"sub", 0}}, {{1, "doc", Document::kIcons}}};
  std::vector<std::string> said;
  RebuildTree(kFaulty, kTree, kRoot / "d", {},
              [&](const Failure& failure) { said.push_back(Reported(failure)); });
  EXPECT_EQ(said, reported) << name;
  if (!left.empty()) {
    EXPECT_EQ(Left(), left) << name;
  }
  EXPECT_TRUE(g.open.empty()) << name << ": every handle closed";
}

TEST(TreeFaultsTest, EveryCaseOfTheTableComesOutAsItSays) {
  std::ifstream table(WONDERGEN_UNIT_DATA "/tree-faults.txt");
  ASSERT_TRUE(table.is_open());
  std::string name, left;
  std::vector<std::string> reported;
  int cases = 0;
  const auto finish = [&] {
    if (!name.empty()) RunCase(name, reported, left), ++cases;
    g = Faults();
    fs::remove_all(kRoot);
    fs::create_directories(kRoot / "d");
    fs::create_directories(kRoot / "outside");
    std::ofstream(kRoot / "outside" / "canary");
    reported.clear();
    left.clear();
  };
  finish();
  for (std::string line; std::getline(table, line);) {
    std::istringstream words(line);
    std::string word, path;
    words >> word >> path;
    const std::string full = (kRoot / "d" / path).string();
    if (word == "case") {
      finish();
      name = line.substr(5);
    } else if (word == "old") {
      fs::create_directories(fs::path(full).parent_path());
      if (full.back() != '/') std::ofstream{full};
      if (words >> word) g.pending[full.substr(0, full.find_last_not_of('/') + 1)] = 2;
    } else if (word == "fs") {
      (path == "untyped" ? g.untyped : g.noAtOnce) = true;
    } else if (word == "fail") {
      g.cues.push_back({path, "", 0, 0, 0});
      words >> g.cues.back().path >> g.cues.back().error >> g.cues.back().times >>
          g.cues.back().after;
      g.cues.back().path = (kRoot / "d" / g.cues.back().path).string();
    } else if (word == "swap") {
      g.swaps.insert(full);
    } else if (word == "->") {
      reported.push_back(line.substr(3));
    } else if (word == "=") {
      left = line.substr(2);
    }
  }
  finish();
  fs::remove_all(kRoot);
  EXPECT_GT(cases, 0);
}

}  // namespace
}  // namespace wondergen
