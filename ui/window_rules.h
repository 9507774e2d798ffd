// The window's own decisions that Wine cannot show, as pure functions of Windows' numbers
// (messages, keys, error codes, final paths): built on every platform, so that the native tests
// hold them to the tables of Microsoft's documentation.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wondergen::ui {

// Whether the program, in the folder `program`, was started from inside the temporary folder
// `temporary`, as an archiver starts a program opened in its zip: inside it, unless that folder is
// a drive's root or holds one of `userFolders` (the profile, Desktop, Documents, Downloads; a
// folder holds itself), as a TEMP set to "D:\" or a missing one that falls back to the profile
// would make every program there seem unpacked. All final paths.
bool StartedFromArchive(std::wstring_view program, std::wstring_view temporary,
                        const std::vector<std::wstring>& userFolders);

// Where the window's message loop sends a message, given what has the focus. The dialog manager
// moves the focus with Tab and Shift+Tab and ticks with Space; but it turns Enter and the Execute
// key into command 1 (IDOK), Esc and Ctrl+Break into command 2 (IDCANCEL), which the form cannot
// tell from clicks on the check boxes 1 and 2, and the keys would reach the focused edit box as
// characters, which rings, or closes the window from a multi-line one. So the key messages of
// those four keys are swallowed, untranslated, but Enter on the button, which presses it, and
// Enter and Esc in a drop-down list that is open, which close it on the item chosen or on the one
// it had (the list asks the dialog manager for them, which then makes no command of them). Every
// character goes on, by its code never: Ctrl+Break's is Ctrl+C's, the edit box's copy.
enum class KeyRoute { kDialogManager, kSwallow, kPressButton, kDispatch };
enum class KeyFocus { kBox, kButton, kOpenList };
KeyRoute RouteMessage(std::uint32_t message, std::uint32_t key, KeyFocus focus);
// What has the focus, by the form's control ID (0 for none of its controls): a push button (生成,
// 图标…, 默认图标, 读取, 删除), which Enter presses as Space does; a drop-down list that is open;
// or a box, which Enter does nothing to.
KeyFocus FocusKind(int controlId, bool listOpen);

// The production cost that the cost box gives: plain digits, four at most, for kLowestCost to
// kHighestCost ("0050" is 50), an empty box being kLowestCost, the default; nullopt for anything
// else (0, a sign, a blank, a letter pasted past ES_NUMBER), which "生成" refuses.
std::optional<int> CostInBox(std::string_view text);

// What the error box advises after the failures of a run.
enum class Advice {
  kNone,
  kCloseHoldingPrograms,  // another program held an entry longer than the run waited
  kMoveProgram,           // the program's folder may not be written
  kAllowOrMoveProgram,    // Windows Security's folder protection keeps the program from its folder
  kAllowProgram,          // ... from the game's folder in Documents, which moving cannot mend
};
// A failure of a run, as the advice sees it.
struct FailureFacts {
  bool creation;        // a folder or file the run created in a folder it holds (not one missing
                        // for an earlier failure)
  std::uint32_t error;  // its Win32 error, 0 for none
  bool inDocuments;     // of the install into the game's Mods folder
};
// Folder protection (Controlled folder access) makes a creation inside a folder the program holds
// fail as if the path were missing, and so does the probe file in the program's folder;
// `probeError` is the probe's Win32 error, 0 where it could be made.
Advice ChooseAdvice(const std::vector<FailureFacts>& failures, std::uint32_t probeError);

// Why a picture cannot be the icon: none; the file could not be opened (a Win32 error, the
// system's reason); it is no picture the system reads; it is cut short or damaged; it has no
// pixels; it has more pixels than the program takes.
enum class PictureProblem { kNone, kCannotOpen, kNotAPicture, kDamaged, kNoPixels, kTooLarge };

// What the program reads itself from a picture file's first bytes `head` (the whole file where its
// length `size` is no more), before a decoder sees it: the format by its signature, the sides its
// headers give (a PNG's IHDR, a JPEG's frame header, a BMP's header, a GIF's logical screen), a
// JPEG's EXIF orientation, and whether the file ends within its headers, or before the pixels they
// give where that length is known (an uncompressed BMP), or before a PNG's chunk or a GIF's first
// frame that the head shows. The Windows Imaging Component under Wine gives one error for all of
// these, so that this is what tells them apart, on Windows as there.
enum class PictureFormat { kNone, kPng, kJpeg, kBmp, kGif };
struct PictureHeader {
  PictureFormat format = PictureFormat::kNone;
  bool sidesKnown = false;
  std::uint64_t width = 0, height = 0;
  int orientation = 1;  // a JPEG's EXIF orientation, as Upright takes it
  bool cutShort = false;
  bool damaged = false;  // headers that no decoder takes: a PNG whose first chunk is no IHDR, a
                         // JPEG's scan before its frame header, a BMP of a negative width
};
PictureHeader ReadPictureHeader(std::string_view head, std::uint64_t size);
// What the header alone says: its sides first (no pixels; more than `largest` pixels), then cut
// short or damaged; kNone where only a decoder can tell.
PictureProblem HeaderProblem(const PictureHeader& header, std::uint64_t largest);
// Why the Windows Imaging Component gave no picture, by the HRESULT it failed with (wincodec.h,
// winerror.h). A file whose headers were read as a PNG, JPEG, BMP or GIF is damaged where the
// Component finds no decoder that takes it, as Wine's does for one cut short.
PictureProblem ChoosePictureProblem(std::uint32_t hresult, const PictureHeader& header);
// The sides a picture of `width` x `height` is decoded at for the icon: as it is where neither
// side is more than twice kIconSide, as the command line keeps twice that of a JPEG; else twice
// the sides FitIcon gives it, so that FitIcon then halves it exactly and places it as it would
// the whole picture.
std::array<std::uint32_t, 2> DecodeSides(std::uint32_t width, std::uint32_t height);

}  // namespace wondergen::ui
