// The package generator: turns the values of the form into the documents of the mod package.
//
// All text inside is code page 936 (GBK) bytes, on every platform, so that byte rules such as the
// screening of entry texts hold the same everywhere; it becomes UTF-8 only when a document is
// written.
//
// Threads: thread-safe. Any number of threads may compose packages at once, each run with its own
// field store and buffers. The one process-wide value is the Windows layer's knowledge of whether
// the system accepts OBJ_DONT_REPARSE (platform_windows.cpp): an atomic, learned once, that every
// thread would learn the same. Runs that rebuild in the same output directory or install into the
// same Mods folder, on threads of one process or in several processes, take their turns: a run
// locks each folder it works in from before it changes anything until it returns, all in one
// order, and waits for another that holds one; readers of the wonders made before lock the folder
// they read too. So what a run says it left whole is its own and whole when it returns, and a
// reader never finds a run halfway through.
//
// Contract: the form is one that a front end makes (see Form). A form that is not one is refused
// with std::invalid_argument naming the field, before anything is composed or touched.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace wondergen {

inline constexpr int kFieldCount = 27;  // numeric fields of the form
inline constexpr int kTextCount = 5;    // free texts of the form
// The most characters a text holds (a text box of Windows holds no more), so that every document
// made can be read back.
inline constexpr std::size_t kLongestText = 32767;

// ---------------------------------------------------------------------------------------------
// Field catalogue

enum class FieldGroup { kYield, kGreatPersonPoints, kGreatWorkSlots, kBuildingProperty };

struct FieldSpec {
  const char* label;   // caption of the field's check box
  const char* option;  // command-line option, without the leading "--"
  FieldGroup group;
  const char* documentText;  // row-type suffix, or for building properties the attribute literal
};

struct TextSpec {
  const char* label;        // caption on the text box's row
  const char* option;       // command-line option, without the leading "--"
  const char* defaultText;  // replaces an empty text; nullptr where there is none
};

// The 27 numeric fields and the five texts, each in the order of the form.
extern const std::array<FieldSpec, kFieldCount> kFieldCatalogue;
extern const std::array<TextSpec, kTextCount> kTextCatalogue;

// ---------------------------------------------------------------------------------------------
// The form

// Each wonder's number is a mod of its own, its every name its own, so that several load into one
// game beside each other. Wonder 1 has the names the package always had.
inline constexpr int kFirstWonder = 1;
inline constexpr int kLastWonder = 99;
// The wonder's number that a text gives: plain decimal digits whose number is 1 to 99; nullopt
// for anything else (an empty text, a sign, a blank, "0").
std::optional<int> WonderNumber(std::string_view text);

// A picture: `width` x `height` pixels, row by row from the top, each four bytes R, G, B and A, the
// alpha straight (not premultiplied).
struct Picture {
  std::uint32_t width = 0, height = 0;
  std::vector<std::uint8_t> rgba;
};

// The wonder's own icon is a square of this side. The game shows a building's icon at each of
// kIconSizes: the city overview, the production panel, the Civilopedia and the city panel, the
// wonder's popup, the Civilopedia's portrait.
inline constexpr std::uint32_t kIconSide = 256;
inline constexpr std::array<std::uint32_t, 7> kIconSizes = {32, 38, 50, 64, 80, 128, 256};

// The player's picture as the wonder's icon: the whole of it scaled to fit the square keeping its
// aspect, centred, the margins transparent, resampled in premultiplied alpha so that no
// transparent edge turns dark; a picture already kIconSide x kIconSide as it is.
Picture FitIcon(const Picture& picture);
// The sides that FitIcon gives a picture of `width` x `height` inside the square: 1 to kIconSide.
std::array<std::uint32_t, 2> FittedSides(std::uint32_t width, std::uint32_t height);
// A square picture scaled to `side` x `side` with the same filter.
Picture ScaledIcon(const Picture& square, std::uint32_t side);

// `picture` turned as a JPEG's EXIF orientation says to show it (CIPA DC-008, tag 0x0112): 2
// mirrored, 3 turned half round, 4 flipped, 5 transposed, 6 turned a quarter clockwise, 7
// transversed, 8 turned a quarter anticlockwise; any other value leaves it as it is.
Picture Upright(const Picture& picture, int orientation);

// The largest picture a front end decodes, refused from its header: a photo of a good camera is
// less than half of it.
inline constexpr std::uint64_t kLargestPicture = 50'000'000;

// The wonder's rules of play, each optional: left as they are, a wonder costs 1, needs nothing,
// never goes out of date, has no quote and may be bought with gold, and its documents are those
// of a wonder made before there were rules.
inline constexpr int kLowestCost = 1;
inline constexpr int kHighestCost = 9999;
// The cost that a text gives: plain decimal digits, four at most, whose number is kLowestCost to
// kHighestCost ("0050" is 50); nullopt for anything else (0, a sign, a blank, a letter).
std::optional<int> CostNumber(std::string_view text);
struct Rules {
  int cost = kLowestCost;    // production cost, kLowestCost to kHighestCost
  std::string prerequisite;  // a type of kPrerequisites (a technology or a civic), or none
  std::string obsoleteEra;   // a type of kEras, from which it can no longer be built, or none
  std::string quote;         // shown with it in the Civilopedia, a text as the form's others
  bool goldPurchase = true;  // whether a city may buy it with gold
};

// What the form shows when the button is pressed, in code page 936, as a front end hands it over:
// the text of each field's value box and each text box, in catalogue order, the wonder's number,
// icon and rules. A value box holds what screening gives (ScreenEntryText: "0" or a number from
// 1 to 1999 in plain digits) or nothing; the wonder is 1 to 99; an icon is a kIconSide square; the
// rules are as Rules says. Of every text the generator keeps only the characters a document can
// carry.
struct Form {
  std::array<std::string, kFieldCount> valueBoxes;
  std::array<std::string, kTextCount> texts;
  int wonder = kFirstWonder;
  std::optional<Picture> icon;  // none: the Monument's icon; else a kIconSide square (FitIcon)
  Rules rules;
};

// A numeric field reaches the documents when its value is neither empty nor exactly "0".
bool IsSet(std::string_view value);

// The value-box text that an entry-box text gives: the leading number as the C library's atoi reads
// it, in plain digits, where it is 1..1999 ("007" and "12abc" give "7" and "12"), and "0" for any
// other text of at most 9 bytes; nullopt when the value box keeps its text (an entry text of 10
// bytes or more). The game reads a value such as "1e9" as the number it spells, so only the
// number accepted may reach a document.
std::optional<std::string> ScreenEntryText(std::string_view entryText);
inline constexpr int kLowestAcceptedValue = 1;
inline constexpr int kHighestAcceptedValue = 1999;

// ---------------------------------------------------------------------------------------------
// Documents

// The documents of the package, in the order they are composed; with an icon of the wonder's own,
// its textures at each of kIconSizes (DDS, DXT5, full mip chains) and the square itself (PNG).
enum class Document {
  kLocalization,
  kOtherLanguages,
  kGameplayData,
  kIcons,
  kManifest,
  kTexture32,  // then one for each of kIconSizes, in order
  kIconSquare = kTexture32 + static_cast<int>(kIconSizes.size()),
};
inline constexpr std::size_t kDocumentCount = static_cast<std::size_t>(Document::kIconSquare) + 1;

// A document as its file holds it: an XML document in UTF-8, no byte-order mark, or an icon's
// picture; empty where the form has no icon. When the conversion from code page 936 failed,
// `conversionError` says why and `bytes` is empty: never a document with texts missing.
struct DocumentBytes {
  std::string bytes;
  std::error_code conversionError;
};
using ModPackage = std::array<DocumentBytes, kDocumentCount>;  // indexed by Document
constexpr std::size_t Index(Document document) {
  return static_cast<std::size_t>(document);
}

// The documents of one run for the form, in memory: the form read, the defaults of empty texts
// applied and the documents composed and converted, as a run writes them. Refuses a form that no
// front end makes (std::invalid_argument).
ModPackage ComposeModPackage(const Form& form);

// Code page 936 to UTF-8. A byte that does not start a valid character becomes U+FFFD. Empty with
// `error` set when the system has no converter for code page 936, or it fails.
std::string ToUtf8(std::string_view cp936Text, std::error_code& error);
// UTF-8 to code page 936; nullopt when it cannot be: with `error` std::errc::illegal_byte_sequence
// when the text is not valid UTF-8, `invalidBytes` (where given) then receiving the offset of each
// byte that belongs to no UTF-8 character; with `error` std::errc::not_supported when the system
// has no converter for code page 936; with `error` clear when the text holds a character that code
// page 936 lacks.
std::optional<std::string> FromUtf8(std::string_view utf8Text, std::error_code& error,
                                    std::vector<std::size_t>* invalidBytes = nullptr);

// ---------------------------------------------------------------------------------------------
// Output tree and generation run

enum class FailedStep {
  kDeleteEntry,      // a file or folder of the old tree could not be deleted
  kCreateFolder,     // a folder of the tree could not be created
  kCreateDocument,   // a document's file could not be created
  kConvertDocument,  // a document could not be converted to UTF-8, so nothing was written
  kWriteDocument,    // a document could not be fully written or closed, and was removed again
  kInstall,          // the mod could not be installed whole into a Mods folder
  kLock,             // another run held a folder the run works in for too long
  kRemove,           // the mod could not be removed from a Mods folder, and stays whole there
  kRead,             // a folder of wonders could not be read
};

// The tree's own reasons for a failure, beside the system's.
enum class TreeError {
  kIsALink = 1,       // an entry that is a link (symbolic link, junction), which is never followed
  kNotWhole,          // not every file could be written: the new files are removed, the old kept
  kMoved,             // a folder was moved elsewhere while it was being deleted, and is left there
  kHeldByAnotherRun,  // another run held the folder for kLongestWaitForAnotherRun
  kPutBack,   // a manifest could not be renamed: the new folder removed, the one installed put back
  kNotAFile,  // a FIFO, a socket or a device where a file is read, which is never opened as one
  kHoldsTheOutput,  // a mod's folder that installing replaces holds the folder AAA is made in
};
std::error_code make_error_code(TreeError error);

struct Failure {
  FailedStep step;
  std::filesystem::path path;
  std::error_code reason;
  // For a failure that follows from an earlier one, the path that one names: a document cannot be
  // created because its folder could not be, for `reason`.
  std::filesystem::path cause;
};
using Failures = std::vector<Failure>;
// Told of each failure as it happens.
using FailureReport = std::function<void(const Failure&)>;
// Told when the run waits for another run that holds `folder`, before it waits.
using WaitReport = std::function<void(const std::filesystem::path& folder)>;

// What a run did: every failure, in the order they happened; the full path of each file written
// whole, AAA's first, then those of each installed folder, in the order they were written; AAA
// where it holds every file of the package; and the mod's folder in each Mods folder it was
// installed into whole. All true when the run returns.
struct RunOutcome {
  Failures failures;
  std::vector<std::filesystem::path> written;
  std::filesystem::path package;
  std::vector<std::filesystem::path> installed;
};

// What the generate button does. First composes the package for `form`; where a document cannot be
// converted, each is reported and nothing on disk is touched. Then locks `outputDir` (the directory
// in which AAA lives) and each of `modsFolders` (made where missing), in the order of the folders'
// identities as every run does, waiting for other runs that hold them (told to `onWait`), for 30
// seconds at most, which is a failure that changes nothing. Then deletes AAA with everything below
// it, as far as it can, at any depth, and creates its folders again, a real folder that is still
// there counting as created, and writes each file of the package into its folder as a new file.
// Then installs the mod into each Mods folder: the wonder's own folder there (Newbuilding2PD_RIR,
// or Newbuilding2PD_RIR_N for wonder N) is replaced only by a whole one, written beside it first,
// and where that cannot be put in its place, the one installed before is put back: the game loads
// one copy at most at every moment, and after a failure the one installed before. Every other
// wonder's is left as it is, but for what a run that was killed left of it. Nothing outside AAA and
// those folders is followed, opened, written or deleted: a link is removed, never entered, and an
// entry still at a file's place is never overwritten, both reported instead; a file is written
// whole or removed again. Every failure is told to `onFailure` (where given) as it happens, the run
// going on with what it can still do. Relative paths are taken from the current directory, once.
RunOutcome RebuildModPackage(const Form& form, const std::filesystem::path& outputDir,
                             const std::vector<std::filesystem::path>& modsFolders = {},
                             const FailureReport& onFailure = nullptr,
                             const WaitReport& onWait = nullptr);

// A file or folder that the search for the game's folders could not read, and why (a line of
// UTF-8 text): the folders it would have led to are not found, every other one is.
struct SearchNote {
  std::filesystem::path file;
  std::string reason;
};

// The game's user folders found for this user: each that is there (the game makes it on its first
// start; nothing here makes one), each once, however many paths lead to it. On Windows
// Documents\My Games\Sid Meier's Civilization VI and the Epic edition's "... (Epic)", Documents
// being the known folder wherever the user moved it. On Linux the native edition's
// $XDG_DATA_HOME/aspyr-media/Sid Meier's Civilization VI ($XDG_DATA_HOME defaulting to
// ~/.local/share), and the Windows edition's in Proton's prefix of the game in every Steam library
// (Steam's roots, the Flatpak's included, and each library their libraryfolders.vdf lists). On
// macOS ~/Library/Application Support/Sid Meier's Civilization VI/Sid Meier's Civilization VI, or
// where that is missing the older builds' ~/Library/Application Support/Sid Meier's Civilization
// VI, and the App Store build's in its sandbox container. `usual` is where the usual edition keeps
// its folder, there or not (the first of those named; empty where no home is known). A list of
// libraries that cannot be read costs its own libraries alone, and is noted. Thread-safe.
struct GameFolderSearch {
  std::vector<std::filesystem::path> found;
  std::filesystem::path usual;
  std::vector<SearchNote> notes;
};
GameFolderSearch SearchGameFolders();
// The Mods folder of each of `gameFolders` (which a run makes where it is missing), each once: one
// reached from two game folders, through a link, is one.
std::vector<std::filesystem::path> ModsFoldersOf(
    const std::vector<std::filesystem::path>& gameFolders);
// Those of the game folders found.
std::vector<std::filesystem::path> FindModsFolders();

// ---------------------------------------------------------------------------------------------
// The wonders made before: read back, listed, removed

// The program's own reasons, beside the system's, why a wonder's folder cannot be read back.
enum class WonderError {
  kChangedByHand = 1,  // no form makes what it holds: changed by hand, or not made by this program
};
std::error_code make_error_code(WonderError error);

// Decodes a picture file, as a front end does; nullopt where it cannot. Given a kept square, it
// refuses from its header a picture of more than kLargestKeptSquare pixels, which no square this
// program keeps has, rather than decode it.
using PictureDecoder = std::function<std::optional<Picture>(std::string_view file)>;
inline constexpr std::uint64_t kLargestKeptSquare = std::uint64_t(kIconSide) * kIconSide;

// A wonder's folder read back: the form that makes it, the kept square its icon was read from
// where it has one, its folder as `path`, and each of its textures that is not as this version
// makes it from the square (missing, damaged, or made by an earlier version), which making the
// wonder again makes anew; or else what could not be read (the folder, one of its files, or a
// folder that another run held) and why; `path` empty where no shelf holds it.
struct WonderReading {
  std::optional<Form> form;
  std::filesystem::path icon;
  std::filesystem::path path;
  std::error_code reason;
  std::vector<std::filesystem::path> texturesMadeAgain;
  std::vector<std::filesystem::path> deletedWhenMadeAgain;  // what no version of it holds
};

// Where wonders' folders are kept, and the folder that runs lock while they change it: a Mods
// folder, which is both; or AAA's DLC in the output directory, which runs lock.
struct WonderShelf {
  std::filesystem::path workplace;  // the folder runs lock
  std::filesystem::path folder;     // the wonders' folders' folder: `workplace` or below it
};
// The shelves a front end reads a wonder from: each Mods folder, then AAA's DLC in `outputDir`.
std::vector<WonderShelf> WonderShelves(const std::vector<std::filesystem::path>& modsFolders,
                                       const std::filesystem::path& outputDir);

// Reads back wonder `wonder` from the first of `shelves` that holds its folder with its manifest,
// or the copy of it whose manifest the game loads (where a run could not go back all the way, its
// retired folder): its fields from its gameplay data document, its texts from its Simplified
// Chinese localization document (a text that is its default read as left empty), its rules from
// both, and its icon from the square kept beside its textures, decoded by `decode` (without one
// the icon's pixels are not read). Checked, never guessed: the form is given only where composing
// it gives, byte for byte, every document the folder holds, its manifest among them, as this
// version or an earlier one wrote them, so that making the wonder again loses nothing that was
// changed by hand; a wonder of an earlier version reads back too. Its textures are made from the
// square, so one that is not as this version makes it is no refusal but told in
// texturesMadeAgain; a folder that holds textures but not their square is refused, naming the
// square. Each shelf is looked at holding its workplace's lock, as a run holds it, so that no run
// is in the middle of changing it: waited for while another run holds it (told to `onWait`), for
// 30 seconds at most, which is a failure of the reading. The folder and every file are read
// through folders that are not links. Thread-safe.
WonderReading ReadWonder(int wonder, const std::vector<WonderShelf>& shelves,
                         const PictureDecoder& decode = nullptr,
                         const WaitReport& onWait = nullptr);

// A wonder installed in a Mods folder: its number, its folder (the copy whose manifest the game
// loads), and the building's name as the game shows it, in code page 936; empty where the folder
// cannot be read back.
struct InstalledWonder {
  int number;
  std::filesystem::path folder;
  std::string name;
};
// The wonders installed in `modsFolders`: each wonder's folder there whose manifest the game loads,
// in ascending number, each once (the first Mods folder's where several hold it). Each Mods folder
// is read holding its lock, as ReadWonder does; one that another run held for 30 seconds is told
// to `onFailure` and left out.
std::vector<InstalledWonder> InstalledWonders(const std::vector<std::filesystem::path>& modsFolders,
                                              const FailureReport& onFailure = nullptr,
                                              const WaitReport& onWait = nullptr);

// Removes wonder `wonder`'s folder from each of `modsFolders` that holds it, as a run installs,
// with the same care and the same lock (waits told to `onWait`): its manifest first, so that the
// game never finds half of it, then the rest; a link removed as the link; nothing else in a Mods
// folder touched but what a run that was killed left. Each failure is told to `onFailure`. Returns
// each folder removed.
std::vector<std::filesystem::path> RemoveWonder(
    int wonder, const std::vector<std::filesystem::path>& modsFolders,
    const FailureReport& onFailure = nullptr, const WaitReport& onWait = nullptr);

// ---------------------------------------------------------------------------------------------
// Rules of play

// The base game's eras, technologies and civics: the ones every ruleset has, so that a wonder that
// names one loads for every player. Names are code page 936, as the game's Simplified Chinese
// edition shows them.
struct EraSpec {
  const char* type;  // "ERA_ANCIENT"
  const char* name;  // as the game's Simplified Chinese edition shows it, in code page 936
};
inline constexpr int kEraCount = 8;
// In the game's order (ChronologyIndex).
extern const std::array<EraSpec, kEraCount> kEras;

// A technology ("TECH_...", a building's PrereqTech) or a civic ("CIVIC_...", its PrereqCivic).
struct PrerequisiteSpec {
  const char* type;
  const char* name;
  int era;  // index in kEras
};
inline constexpr int kTechnologyCount = 68;
inline constexpr int kCivicCount = 51;
inline constexpr int kPrerequisiteCount = kTechnologyCount + kCivicCount;
// Grouped by era in the game's order; within an era the technologies, then the civics, each in the
// order of the game's tree: by cost (its columns), then by UITreeRow (its rows, from the top).
extern const std::array<PrerequisiteSpec, kPrerequisiteCount> kPrerequisites;

}  // namespace wondergen

namespace std {
template <>
struct is_error_code_enum<wondergen::TreeError> : true_type {};
template <>
struct is_error_code_enum<wondergen::WonderError> : true_type {};
}  // namespace std
