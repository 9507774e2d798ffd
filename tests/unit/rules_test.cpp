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
#include "game_folders.h"
#include "mods_folder.h"
#include "picture.h"
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
// deletion, by the refusals left before they go; folders that become links once listed, or are
// moved away once the walk is below them; a listing that does not say what an entry is; no
// deletion at once; a lock another run holds until the clock says so many ms; and every operation
// from the STOP-th on failing, as though the run were killed there. Time passes on a clock of its
// own, as the run pauses. And the path of each handle held.
struct Cue {
  std::string op, path;
  int error, times, after;
};
struct Faults {
  std::vector<Cue> cues;
  std::map<std::string, int> pending;
  std::set<std::string> swaps, moves;
  bool untyped = false, noAtOnce = false;
  int atOnceAsked = 0;
  std::chrono::milliseconds now{0}, busyUntil{0};
  long stop = -1, operations = 0;
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
  if (g.stop >= 0 && ++g.operations > g.stop) return Fails(error, 1117);  // ERROR_IO_DEVICE
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
      if (Cued("open", path.string(), error)) return kNoHandle;
      return Held(kSystem.openFolder(base, path, error), path.string());
    },
    [](Handle parent, const fs::path& name, std::error_code& error) {
      const std::string path = PathOf(parent, name);
      if (Cued("open", path, error) || Gone(path, error)) return kNoHandle;
      if (g.swaps.erase(path))
        fs::remove_all(path), fs::create_directory_symlink(kRoot / "outside", path);
      return Held(kSystem.openSubfolder(parent, name, error), path);
    },
    [](Handle child, const fs::path& name, const FileIdentity& expected, std::error_code& error) {
      const std::string path = fs::path(g.open.at(child)).parent_path().string();
      if (Cued("parent", path, error)) return kNoHandle;
      for (const std::string& moved : g.moves)
        fs::rename(moved, kRoot / "outside" / fs::path(moved).filename());
      g.moves.clear();
      return Held(kSystem.openParent(child, name, expected, error), path);
    },
    kSystem.identify,
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
    kSystem.openFile,
    kSystem.read,
    [](Handle file, std::string_view bytes, std::error_code& error) {
      return !Cued("write", g.open.at(file), error) && kSystem.write(file, bytes, error);
    },
    [](Handle file, std::error_code& error) {
      return !Cued("sync", g.open.at(file), error) && kSystem.sync(file, error);
    },
    [](Handle parent, const fs::path& name, Handle newParent, const fs::path& newName,
       std::error_code& error) {
      return !Cued("rename", PathOf(parent, name), error) &&
             kSystem.rename(parent, name, newParent, newName, error);
    },
    [](Handle handle, std::error_code& error) {
      const std::string path = g.open.at(handle);
      g.open.erase(handle);
      return kSystem.close(handle, error) && !Cued("close", path, error);
    },
    [](Handle folder, std::error_code& error) {
      if (g.now < g.busyUntil)
        return error = std::make_error_code(std::errc::resource_unavailable_try_again), kNoHandle;
      return kSystem.tryLock(folder, error);
    },
    kSystem.unlock,
    [](const std::error_code& error) {
      return error.category() == std::system_category() &&
             platform::windows::MayPassSoon(static_cast<std::uint32_t>(error.value()));
    },
    [](std::chrono::milliseconds time) { g.now += time; },
};

const FailureReport kIgnore = [](const Failure&) {};

// The mod M, its folder sub holding doc and then its manifest, as installed into a Mods folder.
const TreeLayout kMod = {{{"M", kTopOfTree}, {"sub", 0}},
                         {{1, "doc", Document::kIcons}, {0, "M.modinfo", Document::kManifest}}};
ModPackage Package(const std::string& bytes) {
  ModPackage package;
  for (DocumentBytes& document : package)
    document.bytes = bytes;
  return package;
}
// Each entry under `root`: a folder ending in "/", a link in "@", a file with ":" and its bytes
// where it has any.
std::set<std::string> Entries(const fs::path& root) {
  std::set<std::string> entries;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
    std::ifstream file(entry.is_regular_file() ? entry.path() : fs::path());
    const std::string bytes((std::istreambuf_iterator<char>(file)), {});
    entries.insert(entry.path().lexically_relative(root).string() + (entry.is_symlink()     ? "@"
                                                                     : entry.is_directory() ? "/"
                                                                     : bytes.empty()
                                                                         ? ""
                                                                         : ":" + bytes));
  }
  return entries;
}

// The tree T (holding sub and in it doc) rebuilt in the folder d, or with "install" the mod M
// installed whole ("old" in each file) into d and installed again ("new"), or with "uninstall"
// removed, beside a folder outside and its canary, the file system made to fail as `given` says:
// what was reported, and what is left.
std::string RebuildFaultily(const std::vector<std::string>& given, const std::string& rule) {
  g = Faults();
  fs::remove_all(kRoot);
  fs::create_directories(kRoot / "outside");
  fs::create_directories(kRoot / "d");
  std::ofstream(kRoot / "outside" / "canary");
  std::string reported;
  const FailureReport report = [&](const Failure& failure) {
    const char* steps[] = {"delete",  "create-folder", "create", "convert", "write",
                           "install", "lock",          "remove", "read"};
    const std::error_code& reason = failure.reason;
    reported += (reported.empty() ? "" : " ; ") +
                std::string(steps[static_cast<int>(failure.step)]) + " " +
                failure.path.lexically_relative(kRoot).string() + " " +
                (reason.category() == std::system_category() ? std::to_string(reason.value())
                                                             : reason.message());
  };
  if (rule != "tree") {
    TreeRun run{kSystem, report};
    InstallTree(run, kMod, OpenWorkplace(run, kRoot / "d", false), Package("old"), {kMod});
  }
  for (const std::string& word : given) {
    std::vector<std::string> part;
    std::istringstream parts(word);
    for (std::string piece; std::getline(parts, piece, ':');)
      part.push_back(piece);
    part.resize(6);  // what is not given is empty
    const auto number = [&](std::size_t i) { return part[i].empty() ? 0 : std::stoi(part[i]); };
    const std::string path = (kRoot / "d" / part[1]).string();
    if (part[0] == "old" || part[0] == "pending") {
      fs::create_directories(fs::path(path).parent_path());
      if (path.back() != '/') std::ofstream{path};
      if (part[0] == "pending") g.pending[path.substr(0, path.find_last_not_of('/') + 1)] = 2;
    }
    if (part[0] == "fail")
      g.cues.push_back(
          {part[1], (kRoot / "d" / part[2]).string(), number(3), number(4), number(5)});
    if (part[0] == "swap") g.swaps.insert(path);
    if (part[0] == "move") g.moves.insert(path);
    if (part[0] == "busy") g.busyUntil = std::chrono::milliseconds(number(1));
    if (part[0] == "rename") fs::rename(path, kRoot / "d" / part[2]);
    g.untyped |= part[0] == "untyped";
    g.noAtOnce |= part[0] == "no-at-once";
  }
  TreeRun run{kFaulty, report, [&](const fs::path& folder) {
                reported += (reported.empty() ? "wait " : " ; wait ") +
                            folder.lexically_relative(kRoot).string();
              }};
  const Place d = OpenWorkplace(run, kRoot / "d", false);
  if (d.missing.step == FailedStep::kLock) {
    report(d.missing);
  } else if (rule == "install") {
    InstallTree(run, kMod, d, Package("new"), {kMod});
  } else if (rule == "uninstall") {
    UninstallTree(run, kMod, d, {kMod});
  } else {
    RebuildTree(run, {{{"T", kTopOfTree}, {"sub", 0}}, {{1, "doc", Document::kIcons}}}, d, {});
  }
  const std::set<std::string> left = Entries(kRoot);
  fs::remove_all(kRoot);
  std::string result = (reported.empty() ? "nothing" : reported);
  result += g.open.size() > (d.folder ? 1 : 0) ? " ; a handle left open =" : " =";
  for (const std::string& entry : left)
    result += entry == "d/" ? "" : " " + entry.substr(entry.rfind("d/", 0) == 0 ? 2 : 0);
  return result;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
    text.replace(at, from.size(), to);
  return text;
}
// A path of game-folders.txt as it is (`back`: as the table writes it): "~" the fake home, CIV the
// game's folder's name, PFX the user's folder in Proton's prefix of the game, "_" a blank.
std::string HomePath(std::string path, bool back = false) {
  const std::string pairs[][2] = {
      {"_", " "},
      {"PFX", "steamapps/compatdata/289070/pfx/drive_c/users/steamuser"},
      {"CIV", "Sid Meier's Civilization VI"},
      {"~", (kRoot / "home").string()}};
  for (int i = 0; i < 4; ++i)
    path = back ? Replaced(path, pairs[3 - i][1], pairs[3 - i][0])
                : Replaced(path, pairs[i][0], pairs[i][1]);
  return path;
}

// The game's folders found in a fake home made on disk as the words say (game-folders.txt).
std::string FindInFakeHome(const std::vector<std::string>& given) {
  fs::remove_all(kRoot);
  fs::create_directories(kRoot / "home");
  const HostSystem systems[] = {HostSystem::kWindows, HostSystem::kLinux, HostSystem::kMacOS};
  const char* names[] = {"windows", "linux", "macos"};
  GameHome home{systems[std::find(names, names + 3, given.at(0)) - names], HomePath("~"), {}, {}};
  for (std::size_t i = 1; i < given.size(); ++i) {
    const std::string word = HomePath(given[i]);
    const std::size_t npos = std::string::npos, link = word.find("->"), is = word.find('='),
                      count = word.find('*');
    const std::string key = word.substr(0, std::min(is, link)),
                      value = is == npos ? "" : word.substr(is + 1);
    if (key == "home") {
      home.home = value;
    } else if (key == "data") {
      home.dataHome = value;
    } else if (key == "docs") {
      home.documents.push_back(value);
    } else if (link != npos || is != npos) {
      fs::create_directories(fs::path(key).parent_path());
      if (link != npos) fs::create_symlink(word.substr(link + 2), key);
      if (is != npos) std::ofstream(key) << Bytes(value);
    } else if (word != "usual") {
      for (int n = count == npos ? 0 : std::stoi(word.substr(count + 1)); n > 0; --n)
        fs::create_directories(fs::path(word.substr(0, count)) / std::to_string(n));
      fs::create_directories(word.substr(0, count));
    }
  }
  const fs::path current = fs::current_path();
  fs::current_path(kRoot / "home");
  const GameFolderSearch search = FindGameFolders(home, kSystem);
  fs::current_path(current);
  std::string found;
  for (const fs::path& folder : search.found)
    found += (found.empty() ? "" : " ") + HomePath(folder.string(), true);
  if (given.back() == "usual") found = HomePath(search.usual.string(), true);
  for (const SearchNote& note : search.notes)
    found += " ; note " + HomePath(note.file.string(), true) + ": " + note.reason;
  fs::remove_all(kRoot);
  return found.empty() || found[0] == ' ' ? "none" + found : found;
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
  if (rule == "text-box") {
    Form form;
    form.texts[0] = bytes(0);
    return Shown(ReadForm(form)[kFirstTextSlot]);
  }
  if (rule == "text-box-of") {  // COUNT TEXT: the text COUNT times over; the copies kept
    const std::string text = bytes(1);
    Form form;
    for (int copy = std::stoi(given.at(0)); copy > 0; --copy)
      form.texts[0] += text;
    const std::string kept = ReadForm(form)[kFirstTextSlot];
    if (form.texts[0].compare(0, kept.size(), kept) != 0) return "not its start";
    const std::size_t whole = kept.size() / text.size();
    const std::string rest = kept.substr(whole * text.size());
    return std::to_string(whole) + (rest.empty() ? "" : " + " + Shown(rest));
  }
  if (rule == "form") {  // FIELD=VALUE, the field by its option, or wonder=N
    Form form;
    const std::string field = given.at(0).substr(0, given[0].find('=')),
                      value = Bytes(given[0].substr(field.size() + 1));
    for (int slot = 0; slot < kFieldCount; ++slot)
      if (field == kFieldCatalogue[slot].option) form.valueBoxes[slot] = value;
    if (field == "wonder") form.wonder = std::stoi(value);
    if (field == "icon")  // WIDTHxHEIGHT
      form.icon = Picture{std::uint32_t(std::stoul(value)),
                          std::uint32_t(std::stoul(value.substr(value.find('x') + 1))),
                          {}},
      form.icon->rgba.resize(std::size_t(form.icon->width) * form.icon->height * 4);
    try {
      return ComposeModPackage(form), "taken";
    } catch (const std::invalid_argument& refusal) {
      return std::string("refused: ") + refusal.what();
    }
  }
  if (rule == "upright") {  // a picture of 3 x 2 pixels "abc/def", each a letter in red
    Picture stored{3, 2, {}};
    for (const char letter : std::string("abcdef"))
      stored.rgba.insert(stored.rgba.end(), {std::uint8_t(letter), 0, 0, 255});
    const Picture shown = Upright(stored, static_cast<int>(number(0)));
    std::string rows;
    for (std::size_t i = 0; i < shown.rgba.size() / 4; ++i)
      rows += (i > 0 && i % shown.width == 0 ? "/" : "") + std::string(1, char(shown.rgba[i * 4]));
    return rows;
  }
  if (rule == "decode") {  // a picture of the golden ones, decoded with pixels enough for a side
    std::ifstream file(WONDERGEN_UNIT_DATA "/../golden/pictures/" + given.at(0), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), {});
    std::error_code error;
    const Picture picture = cli::DecodePicture(bytes, error, kLargestPicture, number(1));
    return error ? error.message()
                 : std::to_string(picture.width) + "x" + std::to_string(picture.height);
  }
  if (rule == "utf8") {
    std::error_code error;
    return Shown(ToUtf8(bytes(0), error), true) + (error ? " failing" : "");
  }
  if (rule == "keep") return Shown(KeepValidCharacters(bytes(0)));
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
    const KeyFocus focus = given.at(2) == "button" ? KeyFocus::kButton
                           : given[2] == "list"    ? KeyFocus::kOpenList
                                                   : KeyFocus::kBox;
    return routes[static_cast<int>(RouteMessage(number(0), number(1), focus))];
  }
  if (rule == "focus") {  // a control's ID, "open" where it is a list that is
    const char* kinds[] = {"box", "button", "list"};
    return kinds[int(FocusKind(std::stoi(given.at(0)), given.size() > 1))];
  }
  if (rule == "cost") {
    const std::optional<int> cost = CostInBox(given.empty() ? "" : Bytes(given[0]));
    return cost ? std::to_string(*cost) : "refused";
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
  const char* problems[] = {"none",    "cannot-open", "not-a-picture",
                            "damaged", "no-pixels",   "too-large"};
  if (rule == "picture") {  // an HRESULT, and "read" for a file whose headers were read
    PictureHeader header;
    if (given.size() > 1) header = {PictureFormat::kPng, true, 1, 1};
    return problems[static_cast<int>(ChoosePictureProblem(number(0), header))];
  }
  if (rule == "header") {  // the file's first bytes, and its length where it is longer
    const std::string head = bytes(0);
    const PictureHeader header =
        ReadPictureHeader(head, given.size() > 1 ? std::stoull(given[1]) : head.size());
    const char* formats[] = {"none", "png", "jpeg", "bmp", "gif"};
    return formats[static_cast<int>(header.format)] + std::string(" ") +
           (header.sidesKnown ? std::to_string(header.width) + "x" + std::to_string(header.height)
                              : "?") +
           " " + problems[static_cast<int>(HeaderProblem(header, kLargestPicture))] +
           (header.orientation != 1 ? " turned " + std::to_string(header.orientation) : "");
  }
  if (rule == "decode-sides") {
    const auto [width, height] = DecodeSides(number(0), number(1));
    return std::to_string(width) + "x" + std::to_string(height);
  }
  if (rule == "name") {  // of an era, a technology or a civic, by its type
    std::error_code error;
    for (const EraSpec& era : kEras)
      if (given.at(0) == era.type) return ToUtf8(era.name, error);
    for (const PrerequisiteSpec& prerequisite : kPrerequisites)
      if (given.at(0) == prerequisite.type) return ToUtf8(prerequisite.name, error);
    return "none";
  }
  if (rule == "keyvalues") {  // the words, joined by a blank
    std::string text, why, shown;
    for (const std::string& word : given)
      text += (text.empty() ? "" : " ") + Bytes(word);
    const std::optional<std::vector<std::string>> paths = SteamLibraryPaths(text, why);
    for (const std::string& library : paths.value_or(std::vector<std::string>()))
      shown += (shown.empty() ? "" : " ") + Shown(library);
    return !paths ? "refused " + why : shown.empty() ? "none" : shown;
  }
  if (rule == "game-folders") return FindInFakeHome(given);
  if (rule == "tree" || rule == "install" || rule == "uninstall")
    return RebuildFaultily(given, rule);
  if (rule == "list-twice") {
    std::error_code error;
    std::vector<FolderEntry> first, second;
    fs::create_directories(kRoot / "entry");
    const Handle folder = kSystem.openFolder(kNoHandle, kRoot, error);
    kSystem.list(folder, first, error), kSystem.list(folder, second, error);
    kSystem.close(folder, error), fs::remove_all(kRoot);
    return std::to_string(first.size()) + " " + std::to_string(second.size());
  }
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
  for (const char* file : {"/byte-rules.txt", "/windows-rules.txt", "/tree-faults.txt",
                           "/rules-of-play.txt", "/game-folders.txt"}) {
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
  std::vector<int> numbers;
  for (const InstalledWonder& wonder : InstalledWonders({dir / "game" / "Mods", dir / "Mods"}))
    numbers.push_back(wonder.number);
  EXPECT_EQ(numbers, (std::vector<int>{1, 3}));
  fs::remove_all(dir);
}

// A run killed between any two of its steps, its file system stopped there for good: the game
// finds at most one copy of the mod, whole, the old or the new; the next run, which installs
// another mod, puts it right, one whole copy left and nothing else. And so where the retired
// folder's manifest may not be renamed, for both runs (a folder the user may not write): the run
// goes back, and the one copy left is the old one, in its place.
TEST(InstallTest, ARunKilledAnywhereIsPutRightByTheNext) {
  const TreeLayout other = {{{"N", kTopOfTree}}, {{0, "N.modinfo", Document::kManifest}}};
  const auto copies = [](bool leftovers) {  // the copies of M the game finds, each whole
    std::vector<std::string> found;
    for (const std::string& entry : Entries(kRoot)) {
      const std::string folder = entry.substr(0, entry.find('/'));
      if (entry.find("/M.modinfo:") == std::string::npos) {
        EXPECT_TRUE(leftovers || folder == "M" || folder == "N") << entry;
        continue;
      }
      const std::string bytes = entry.substr(entry.find(':'));
      EXPECT_EQ(Entries(kRoot / folder),
                (std::set<std::string>{"M.modinfo" + bytes, "sub/", "sub/doc" + bytes}));
      found.push_back(folder + bytes);
    }
    return found;
  };
  for (const bool readOnly : {false, true}) {
    for (long stop = 0;; ++stop) {
      fs::remove_all(kRoot);
      fs::create_directories(kRoot);
      TreeRun run{kSystem, kIgnore};
      InstallTree(run, kMod, OpenWorkplace(run, kRoot, false), Package("old"), {kMod, other});
      g = Faults();
      g.stop = stop;
      if (readOnly)
        g.cues.push_back({"rename", (kRoot / "M.wondergen-old/M.modinfo").string(), 5, 1 << 30, 0});
      TreeRun killed{kFaulty, kIgnore}, next{kFaulty, kIgnore};
      Place mods = OpenWorkplace(killed, kRoot, false);
      if (mods.lock) InstallTree(killed, kMod, mods, Package("new"), {kMod, other});
      mods = Place();
      const bool finished = g.operations <= stop;
      const std::vector<std::string> left = copies(!finished);
      EXPECT_LE(left.size(), 1u) << "killed after " << stop << " steps";
      if (finished && readOnly) {
        EXPECT_EQ(left, std::vector<std::string>{"M:old"});
      }
      g.stop = -1;
      InstallTree(next, other, OpenWorkplace(next, kRoot, false), Package("other"), {kMod, other});
      const std::vector<std::string> put = copies(false);
      EXPECT_EQ(put.size(), 1u) << "killed after " << stop << " steps";
      if (readOnly) {
        EXPECT_EQ(put, std::vector<std::string>{"M:old"}) << "killed after " << stop;
      }
      if (finished) break;
    }
  }
  fs::remove_all(kRoot);
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
      documents += document.bytes;
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
