// Decisions of the Windows layer and the window that Wine cannot show, as pure functions of
// Windows' own numbers (attributes, reparse tags, error codes, messages, keys, final paths): built
// on every platform, so that the native tests hold them to the tables of Microsoft's documentation.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wondergen::platform::windows {

inline constexpr std::uint32_t kReparsePointAttribute = 0x400;  // FILE_ATTRIBUTE_REPARSE_POINT

// Whether an entry with these attributes and reparse tag is a link, to be removed as an entry and
// never entered: a reparse point whose tag is a name surrogate (symbolic link, junction, ...).
// Any other reparse point (cloud files, deduplication, an app execution alias) is what its
// attributes say. Wine lists a link to a folder with the attribute and tag 0: a link too.
bool IsLinkEntry(std::uint32_t attributes, std::uint32_t reparseTag);

// Whether a step of the tree that failed with this Win32 error may succeed a moment later: a file
// another program holds (Explorer, the search indexer, an antivirus scan, a sync client), a name
// still pending its deletion, or a folder whose last entry is still being deleted.
bool MayPassSoon(std::uint32_t win32Error);

// Whether a deletion with POSIX semantics failed only because the system or the file system does
// not offer it (older systems, FAT32 and exFAT, Wine): the classic deletion is then used.
bool RefusesPosixDeletion(std::uint32_t win32Error);

// Final paths as GetFinalPathNameByHandleW gives them ("\\?\C:\...", "\\?\UNC\server\share\..."),
// compared without regard to the case of ASCII letters. A folder's path may end in a backslash, as
// a drive's root does ("\\?\D:\").
//   IsWithinFolder: whether `path` is the folder `folder` or lies inside it.
//   IsEntryOf: whether `path` is the entry `name` of the folder `folder`, and not another place
//     that a link led to.
//   IsVolumeRoot: whether `path` is a drive's root or a network share's.
bool IsWithinFolder(std::wstring_view path, std::wstring_view folder);
bool IsEntryOf(std::wstring_view path, std::wstring_view folder, std::wstring_view name);
bool IsVolumeRoot(std::wstring_view path);

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
// those four keys are swallowed, untranslated, but Enter on the button, which presses it. Every
// character goes on, by its code never: Ctrl+Break's is Ctrl+C's, the edit box's copy.
enum class KeyRoute { kDialogManager, kSwallow, kPressButton, kDispatch };
KeyRoute RouteMessage(std::uint32_t message, std::uint32_t key, bool focusOnButton);

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

}  // namespace wondergen::platform::windows
