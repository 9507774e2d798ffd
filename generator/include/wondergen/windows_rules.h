// The Windows layer's own rules that Wine cannot show, as pure functions of Windows' own numbers
// (attributes, reparse tags, error codes, final paths): built on every platform, so that the native
// tests hold them to the tables of Microsoft's documentation.
#pragma once

#include <cstdint>
#include <string_view>

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

}  // namespace wondergen::platform::windows
