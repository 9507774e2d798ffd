// The tables of rules: the byte rules (screening typed numbers, reading the form, code page 936
// at its edges, escaping), the retry of a step of the tree and the decisions of the Windows layer
// and the window that Wine cannot show, against the values of Microsoft's documentation, and the
// rebuilding of a tree on a file system that fails as Windows does; and runs on several threads at
// once, and what a run says it did.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <thread>

#include <unistd.h>

#include "cp936.h"
#include "documents.h"
#include "output_tree.h"
#include "retry.h"
#include "window_rules.h"
#include "wondergen/generator.h"
#include "wondergen/windows_rules.h"
#include "xml_escape.h"

namespace wondergen {
namespace {

// Test sources are UTF-8; the generator takes code page 936.
std::string Cp936(std::string_view utf8) {
  std::error_code error;
  return FromUtf8(utf8, error).value();
}

// A word of the byte tables as bytes: UTF-8 text in code page 936, "\xHH" the byte HH, "" none.
std::string Bytes(const std::string& word) {
  std::string bytes, text;
  for (std::size_t i = 0; word != "\"\"" && i < word.size(); ++i) {
    if (word.compare(i, 2, "\\x") != 0) {
      text += word[i];
      continue;
    }
    bytes += Cp936(text) + static_cast<char>(std::stoi(word.substr(i + 2, 2), nullptr, 16));
    text.clear();
    i += 3;
  }
  return bytes + Cp936(text);
}
// Bytes as the tables show them: printable ASCII as it is, any other byte as "\xHH", or, in UTF-8
// text, but for ASCII controls and spaces.
std::string Shown(const std::string& bytes, bool utf8 = false) {
  std::string shown = bytes.empty() ? "\"\"" : "";
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    char hex[5];
    std::snprintf(hex, sizeof hex, "\\x%02x", byte);
    shown += (byte > 0x20 && byte < 0x7f && c != '\\') || (utf8 && byte >= 0x80) ? std::string(1, c)
                                                                                 : std::string(hex);
  }
  return shown;
}

namespace fs = std::filesystem;

// The system's own file system, made to fail on cue as Windows does (tree-faults.txt): OP of PATH
// failing with a Win32 error TIMES times once AFTER calls have passed; names still pending their
// deletion, by the refusals left before they go; folders that become links once listed; a listing
// that does not say what an entry is; no deletion at once. And the path of each handle held.
struct Cue {
  std::string op, path;
  int error, times, after;
};
struct Faults {
  std::vector<Cue> cues;
  std::map<std::string, int> pending;
  std::set<std::string> swaps;
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
// Fails the call with the Win32 error `win32`.
bool Fails(std::error_code& error, int win32) {
  return error = {win32, std::system_category()}, true;
}
bool Cued(const std::string& op, const std::string& path, std::error_code& error) {
  for (Cue& cue : g.cues) {
    if (cue.op == op && cue.path == path && cue.times > 0 && !(cue.after > 0 && cue.after--))
      return --cue.times, Fails(error, cue.error);
  }
  return false;
}
// A name pending its deletion is gone for an opening and a deletion (ERROR_FILE_NOT_FOUND, as the
// Windows layer says); it is in the way of a creation, and of its folder's deletion, until two
// refusals have passed, and then it goes.
bool Gone(const std::string& path, std::error_code& error) {
  return g.pending.count(path) && Fails(error, 2);
}
bool InTheWay(const std::string& path, bool inside, std::error_code& error, int reason) {
  const std::string at = inside ? path + "/" : path;
  const auto pending = inside ? g.pending.lower_bound(at) : g.pending.find(at);
  if (pending == g.pending.end() || pending->first.rfind(at, 0) != 0) return false;
  if (--pending->second == 0) fs::remove_all(pending->first), g.pending.erase(pending);
  return Fails(error, reason);
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
        return error = std::make_error_code(g.atOnceAsked++ ? std::errc::operation_not_permitted
                                                            : std::errc::not_supported),
               false;
      return !InTheWay(path, true, error, 145) &&  // ERROR_DIR_NOT_EMPTY
             kSystem.deleteEntry(parent, name, isFolder, how, error);
    },
    [](Handle parent, const fs::path& name, std::error_code& error) {
      const std::string path = PathOf(parent, name);
      return !Cued("mkdir", path, error) && !InTheWay(path, false, error, 303) &&
             kSystem.makeFolder(parent, name, error);  // ERROR_DELETE_PENDING
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

// T, holding sub and in it doc, rebuilt in the folder d beside a folder outside and its canary,
// the file system made to fail as `given` says: what was reported, and what is left.
std::string RebuildFaultily(const std::vector<std::string>& given) {
  g = Faults();
  fs::remove_all(kRoot);
  fs::create_directories(kRoot / "outside");
  std::ofstream(kRoot / "outside" / "canary");
  for (const std::string& word : given) {
    std::vector<std::string> part;
    std::istringstream parts(word);
    for (std::string piece; std::getline(parts, piece, ':');)
      part.push_back(piece);
    part.resize(6);  // what is not given is empty
    const auto number = [&](std::size_t i) { return part[i].empty() ? 0 : std::stoi(part[i]); };
    const std::string path = (kRoot / "d" / part[1]).string();
    fs::create_directories(kRoot / "d");
    if (part[0] == "old" || part[0] == "pending") {
      fs::create_directories(fs::path(path).parent_path());
      if (path.back() != '/') std::ofstream{path};
      if (part[0] == "pending") g.pending[path.substr(0, path.find_last_not_of('/') + 1)] = 2;
    }
    if (part[0] == "fail")
      g.cues.push_back(
          {part[1], (kRoot / "d" / part[2]).string(), number(3), number(4), number(5)});
    if (part[0] == "swap") g.swaps.insert(path);
    g.untyped |= part[0] == "untyped";
    g.noAtOnce |= part[0] == "no-at-once";
  }
  const char* steps[] = {"delete", "create-folder", "create", "convert", "write", "install"};
  std::string reported;
  const TreeLayout tree = {{{"T", kTopOfTree}, {"sub", 0}}, {{1, "doc", Document::kIcons}}};
  RebuildTree(kFaulty, tree, kRoot / "d", {}, [&](const Failure& failure) {
    const std::error_code& reason = failure.reason;
    reported += (reported.empty() ? "" : " ; ") +
                std::string(steps[static_cast<int>(failure.step)]) + " " +
                failure.path.lexically_relative(kRoot).string() + " " +
                (reason.category() == std::system_category() ? std::to_string(reason.value())
                                                             : reason.message());
  });
  std::set<std::string> left;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(kRoot)) {
    const std::string path = entry.path().lexically_relative(kRoot).string();
    if (path != "d")
      left.insert(path.substr(path.rfind("d/", 0) == 0 ? 2 : 0) + (entry.is_symlink()     ? "@"
                                                                   : entry.is_directory() ? "/"
                                                                                          : ""));
  }
  fs::remove_all(kRoot);
  std::string result = (reported.empty() ? "nothing" : reported) +
                       (g.open.empty() ? "" : " ; a handle left open") + " =";
  for (const std::string& path : left)
    result += " " + path;
  return result;
}

// What a rule of the tables gives for what it is given, as the table writes it.
std::string Apply(const std::string& rule, const std::vector<std::string>& given) {
  using namespace platform::windows;
  using namespace ui;
  const auto number = [&](std::size_t i) {
    return static_cast<std::uint32_t>(std::stoul(given.at(i), nullptr, 0));
  };
  const auto path = [&](std::size_t i) {
    return given.at(i) == "-" ? std::wstring() : std::wstring(given[i].begin(), given[i].end());
  };
  const auto yes = [](bool holds) { return std::string(holds ? "yes" : "no"); };
  const auto bytes = [&](std::size_t i) { return Bytes(given.at(i)); };
  if (rule == "screen") return ScreenEntryText(bytes(0)).value_or("kept");
  if (rule == "value-box" || rule == "text-box") {
    Form form;
    (rule == "value-box" ? form.valueBoxes[0] : form.texts[0]) = bytes(0);
    return Shown(ReadForm(form)[rule == "value-box" ? 0 : kFirstTextSlot]);
  }
  if (rule == "utf8") {
    std::error_code error;
    return Shown(ToUtf8(bytes(0), error), true) + (error ? " failing" : "");
  }
  if (rule == "keep") return Shown(KeepValidCharacters(bytes(0)));
  if (rule == "prefix") return Shown(std::string(WholeCharacterPrefix(bytes(0), number(1))));
  if (rule == "escape-text") return EscapeXmlText(bytes(0));
  if (rule == "escape-attribute") return EscapeXmlAttribute(bytes(0));
  if (rule == "link") return yes(IsLinkEntry(number(0), number(1)));
  if (rule == "within") return yes(IsWithinFolder(path(0), path(1)));
  if (rule == "entry-of") return yes(IsEntryOf(path(0), path(1), path(2)));
  if (rule == "volume-root") return yes(IsVolumeRoot(path(0)));
  if (rule == "archive") {
    std::vector<std::wstring> userFolders;
    for (std::size_t i = 2; i < given.size(); ++i)
      userFolders.push_back(path(i));
    return yes(StartedFromArchive(path(0), path(1), userFolders));
  }
  if (rule == "route") {
    const char* routes[] = {"dialog-manager", "swallow", "press-button", "dispatch"};
    return routes[static_cast<int>(RouteMessage(number(0), number(1), given.at(2) == "button"))];
  }
  if (rule == "advice") {
    std::vector<FailureFacts> failures;
    for (std::size_t i = 1; i < given.size(); ++i) {  // create|other:ERROR[:docs]
      const std::string& failure = given[i];
      failures.push_back(
          {failure.rfind("create:", 0) == 0,
           static_cast<std::uint32_t>(std::stoul(failure.substr(failure.find(':') + 1))),
           failure.find(":docs") != std::string::npos});
    }
    const char* advice[] = {"none", "close", "move", "allow-or-move", "allow"};
    return advice[static_cast<int>(ChooseAdvice(failures, number(0)))];
  }
  if (rule == "tree") return RebuildFaultily(given);
  if (rule != "retry") return "no such rule";
  std::uint32_t tries = 0;
  std::string waits = "-";
  std::chrono::milliseconds budget(number(2));
  std::error_code error;
  const bool done = Retry(
      [&](std::error_code& failure) {
        failure = std::make_error_code(std::errc::device_or_resource_busy);
        return ++tries > number(0);
      },
      error, budget, [&](const std::error_code& e) { return given.at(1) == "yes" && e; },
      [&](std::chrono::milliseconds wait) {
        waits = (waits == "-" ? "" : waits + ",") + std::to_string(wait.count());
      });
  return yes(done) + " " + std::to_string(tries) + " " + std::to_string(budget.count()) + " " +
         waits;
}

// An expected result that ends in "= *" leaves what is left unchecked.
TEST(RulesTest, EveryLineOfTheTablesHolds) {
  for (const char* file : {"/byte-rules.txt", "/windows-rules.txt", "/tree-faults.txt"}) {
    std::ifstream table(WONDERGEN_UNIT_DATA + std::string(file));
    ASSERT_TRUE(table.is_open()) << file;
    for (std::string line; std::getline(table, line);) {
      std::istringstream words(line.substr(0, line.find('#')));
      std::string rule, word, expected;
      std::vector<std::string> given;
      if (!(words >> rule)) continue;
      while (words >> word && word != "->")
        given.push_back(word);
      while (words >> word)
        expected += (expected.empty() ? "" : " ") + word;
      std::string applied = Apply(rule, given);
      if (expected.size() > 2 && expected.substr(expected.size() - 2) == " *")
        applied = applied.substr(0, applied.find(" = ") + 2) + " *";
      EXPECT_EQ(applied, expected) << line;
    }
  }
}

// What a run says it did, which the window's status shows: AAA where all its files were written,
// the mod's folder in each Mods folder it was installed into whole, and the wonders installed.
TEST(RunOutcomeTest, NamesWhatWasWrittenWhole) {
  const fs::path dir = fs::path(testing::TempDir()) / ("outcome-" + std::to_string(getpid()));
  fs::create_directories(dir / "game");
  std::ofstream(dir / "file");
  const RunOutcome outcome = RebuildModPackage({}, dir, {dir / "game" / "Mods", dir / "file"});
  EXPECT_EQ(outcome.package, dir / "AAA");
  EXPECT_EQ(outcome.installed, std::vector<fs::path>{dir / "game" / "Mods" / "Newbuilding2PD_RIR"});
  EXPECT_EQ(outcome.written.size(), 11u);  // AAA's six files and the installed five
  EXPECT_EQ(outcome.failures.size(), 1u);  // the Mods folder that is a file
  EXPECT_TRUE(RebuildModPackage({}, dir / "file").package.empty());
  // Relative folders are the current directory's.
  const fs::path current = fs::current_path();
  fs::create_directory(dir / "Mods");
  fs::current_path(dir);
  const RunOutcome relative = RebuildModPackage({}, ".", {"Mods"});
  fs::current_path(current);
  EXPECT_TRUE(relative.failures.empty());
  EXPECT_EQ(relative.installed, std::vector<fs::path>{"Mods/Newbuilding2PD_RIR"});
  // The wonders installed: each folder that holds its manifest, each number once.
  Form third;
  third.wonder = 3;
  RebuildModPackage(third, dir, {dir / "game" / "Mods"});
  fs::create_directories(dir / "Mods" / "Newbuilding2PD_RIR_7");
  EXPECT_EQ(InstalledWonders({dir / "game" / "Mods", dir / "Mods"}), (std::vector<int>{1, 3}));
  fs::remove_all(dir);
}

// Each composes what its form gives composed alone; the test command also runs this under
// ThreadSanitizer.
TEST(ThreadsTest, RunsOnSeveralThreadsComposeWhatEachFormGivesAlone) {
  const auto compose = [](int form) {
    std::string documents;
    Form values;
    values.valueBoxes[form] = std::to_string(form + 1);
    values.texts[form] = Cp936("奇观");
    for (const DocumentBytes& document : ComposeModPackage(values))
      documents += document.utf8;
    return documents;
  };
  std::atomic<int> differing{0};
  std::vector<std::thread> threads;
  for (int form = 0; form < 4; ++form) {
    threads.emplace_back([&, form, alone = compose(form)] {
      for (int round = 0; round < 200; ++round)
        differing += compose(form) != alone;
    });
  }
  for (std::thread& thread : threads)
    thread.join();
  EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace wondergen
