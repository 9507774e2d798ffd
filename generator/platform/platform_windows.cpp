// Windows: explicit code page 936 conversions, and the tree's entries opened relative to their
// held folders, never reaching through a reparse point; only the output folder is opened by path,
// of any length.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// After windows.h:
#include <knownfolders.h>
#include <shlobj.h>
#include <winternl.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cwchar>
#include <utility>

#include "platform.h"
#include "wondergen/generator.h"
#include "wondergen/windows_rules.h"
#include "wondergen/windows_system.h"

namespace wondergen::platform {
namespace {

constexpr UINT kCodePage936 = 936;
constexpr wchar_t kReplacementCharacter = 0xFFFD;
// Deletion with POSIX semantics (Windows 10 1809 and later), which the headers declare only for
// newer targets: the name goes at once, even while another program holds the file.
constexpr auto kFileDispositionInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(21);
constexpr DWORD kDeletePosixIgnoringReadOnly = 0x1 | 0x2 | 0x10;  // DELETE, POSIX_SEMANTICS,
                                                                  // IGNORE_READONLY_ATTRIBUTE

std::error_code LastError() {
  return std::error_code(static_cast<int>(GetLastError()), std::system_category());
}

// Whether Windows has code page 936; asked once, as conversions run character by character.
bool HasCodePage936() {
  static const bool installed = IsValidCodePage(kCodePage936) != FALSE;
  return installed;
}

// Code page 936 text with invalid sequences, one character at a time: a byte that starts no
// valid character becomes U+FFFD and the next byte is tried.
std::wstring WidenByCharacter(std::string_view text) {
  std::wstring wide;
  for (std::size_t at = 0; at < text.size();) {
    const bool lead = IsDBCSLeadByteEx(kCodePage936, static_cast<BYTE>(text[at]));
    const std::size_t length = lead && at + 1 < text.size() ? 2 : 1;
    if (const auto character = Widen(text.substr(at, length), kCodePage936)) {
      wide += *character;
      at += length;
    } else {
      wide += kReplacementCharacter;
      at += 1;
    }
  }
  return wide;
}

}  // namespace

std::wstring ExtendedPath(const std::filesystem::path& path) {
  std::wstring text = path.lexically_normal().make_preferred().native();
  if (!path.is_absolute() || text.rfind(L"\\\\?\\", 0) == 0) return text;
  if (text.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + text.substr(2);
  return L"\\\\?\\" + text;
}

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// NT's own file functions, with which an entry is opened relative to the handle of the folder
// that holds it, as openat does: no path below a held folder is resolved again. ntdll is in
// every process; its functions are looked up, so that the imports stay those of every Windows.
using NtCreateFileFunction = LONG(NTAPI*)(HANDLE*, ACCESS_MASK, OBJECT_ATTRIBUTES*,
                                          IO_STATUS_BLOCK*, LARGE_INTEGER*, ULONG, ULONG, ULONG,
                                          ULONG, void*, ULONG);
using NtStatusToWin32Function = ULONG(NTAPI*)(LONG);
using NtSetInformationFileFunction = LONG(NTAPI*)(HANDLE, IO_STATUS_BLOCK*, void*, ULONG, ULONG);
constexpr ULONG kFileRenameInformation = 10;  // FILE_INFORMATION_CLASS
constexpr LONG kStatusInvalidParameter = static_cast<LONG>(0xC000000D);
constexpr LONG kStatusDeletePending = static_cast<LONG>(0xC0000056);
constexpr LONG kStatusFileIsADirectory = static_cast<LONG>(0xC00000BA);
constexpr ULONG kObjCaseInsensitive = 0x40;
// Where the system has it (Windows 10 1709 and later), no reparse point is followed on the way;
// older systems refuse the flag as an invalid parameter.
constexpr ULONG kObjDontReparse = 0x1000;
constexpr ULONG kFileOpen = 1, kFileCreate = 2;  // dispositions
constexpr ULONG kFileDirectoryFile = 0x1, kFileSynchronousIoNonAlert = 0x20,
                kFileNonDirectoryFile = 0x40, kFileOpenReparsePoint = 0x200000;

// Whether the system takes OBJ_DONT_REPARSE, learned from its first refusal, as Rust's standard
// library learns it: the generator's one value shared between threads, an atomic that every thread
// would set the same way.
std::atomic<ULONG> g_dontReparse{kObjDontReparse};

HANDLE AsHandle(Handle handle) {
  return reinterpret_cast<HANDLE>(handle);
}

// Opens or creates the entry `name` of `parent`: itself, a reparse point as the reparse point and
// none followed on the way, or, for a folder the user chose, as the system reaches it. An entry
// pending its deletion is gone for an opening, and in the way of a creation for a moment
// (ERROR_DELETE_PENDING, which the retry waits out).
HANDLE OpenRelative(Handle parent, const std::filesystem::path& name, ACCESS_MASK access,
                    ULONG share, ULONG disposition, ULONG options, bool itself,
                    std::error_code& error) {
  static const auto ntCreateFile =
      SystemFunction<NtCreateFileFunction>(L"ntdll.dll", "NtCreateFile");
  static const auto toWin32 =
      SystemFunction<NtStatusToWin32Function>(L"ntdll.dll", "RtlNtStatusToDosError");
  std::wstring text = name.native();
  UNICODE_STRING objectName = {static_cast<USHORT>(text.size() * sizeof(wchar_t)),
                               static_cast<USHORT>(text.size() * sizeof(wchar_t)), text.data()};
  HANDLE entry = nullptr;
  const auto create = [&](ULONG guard) {
    OBJECT_ATTRIBUTES attributes = {};
    attributes.Length = sizeof attributes;
    attributes.RootDirectory = AsHandle(parent);
    attributes.ObjectName = &objectName;
    attributes.Attributes = kObjCaseInsensitive | guard;
    IO_STATUS_BLOCK io = {};
    return ntCreateFile(&entry, access | SYNCHRONIZE, &attributes, &io, nullptr,
                        FILE_ATTRIBUTE_NORMAL, share, disposition,
                        options | kFileSynchronousIoNonAlert | (itself ? kFileOpenReparsePoint : 0),
                        nullptr, 0);
  };
  const ULONG guard = itself ? g_dontReparse.load() : 0;
  LONG status = create(guard);
  // A refusal of the guard is learned only where the opening without it is no longer refused, so
  // that a genuine invalid parameter keeps the guard.
  if (status == kStatusInvalidParameter && guard != 0) {
    status = create(0);
    if (status != kStatusInvalidParameter) g_dontReparse = 0;
  }
  if (status >= 0) return entry;
  ULONG win32 = toWin32(status);  // STATUS_DELETE_PENDING would be "access denied"
  if (status == kStatusDeletePending)
    win32 = disposition == kFileOpen ? ERROR_FILE_NOT_FOUND : ERROR_DELETE_PENDING;
  error = std::error_code(static_cast<int>(win32), std::system_category());
  // A folder opened as a file, which the system would call access denied.
  if (status == kStatusFileIsADirectory) error = std::make_error_code(std::errc::is_a_directory);
  return INVALID_HANDLE_VALUE;
}

// Whether the opened entry `name` of `parent` is a link: a reparse point that stands for another
// name (symbolic link, junction, mount point), or an entry whose handle reached another place.
// Wine opens a Unix link through to its target whatever the flags, and shows no reparse point
// for a link to a file; the target's path is all that gives it away.
bool IsLink(Handle parent, const std::filesystem::path& name, HANDLE entry,
            const FILE_ATTRIBUTE_TAG_INFO& attributes) {
  if (attributes.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
    return windows::IsLinkEntry(attributes.FileAttributes, attributes.ReparseTag);
  const std::wstring reached = FinalPath(entry);
  return !reached.empty() &&
         !windows::IsEntryOf(reached, FinalPath(AsHandle(parent)), name.native());
}

}  // namespace

std::optional<std::wstring> Widen(std::string_view text, unsigned codePage) {
  if (text.empty()) return std::wstring();
  if (text.size() > static_cast<std::size_t>(INT_MAX)) return std::nullopt;
  const int size = static_cast<int>(text.size());
  const int length =
      MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), length) !=
      length)
    return std::nullopt;
  return wide;
}

std::optional<std::string> Narrow(std::wstring_view wide, unsigned codePage) {
  if (wide.empty()) return std::string();
  if (wide.size() > static_cast<std::size_t>(INT_MAX)) return std::nullopt;
  const int size = static_cast<int>(wide.size());
  // UTF-8 takes no default character: an unpaired surrogate fails instead.
  const bool utf8 = codePage == CP_UTF8;
  const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* usedDefaultPointer = utf8 ? nullptr : &usedDefault;
  const int length = WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr,
                                         usedDefaultPointer);
  if (length <= 0 || usedDefault) return std::nullopt;
  std::string narrow(static_cast<std::size_t>(length), '\0');
  if (WideCharToMultiByte(codePage, flags, wide.data(), size, narrow.data(), length, nullptr,
                          usedDefaultPointer) != length ||
      usedDefault)
    return std::nullopt;
  return narrow;
}

std::wstring FinalPath(HANDLE opened) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetFinalPathNameByHandleW(opened, path.data(), static_cast<DWORD>(path.size()), 0);
    if (length == 0) return std::wstring();
    if (length < path.size()) return path.substr(0, length);
    path.resize(length);  // too short: the length asked for counts the terminating NUL
  }
}

bool Cp936ToUtf8(std::string_view cp936Text, std::string& utf8, std::error_code& error) {
  utf8.clear();
  if (!HasCodePage936()) {
    error = std::make_error_code(std::errc::not_supported);
    return false;
  }
  std::optional<std::wstring> wide = Widen(cp936Text, kCodePage936);
  if (!wide) wide = WidenByCharacter(cp936Text);
  std::optional<std::string> narrow = Narrow(*wide, CP_UTF8);
  if (!narrow) {
    error = LastError();
    return false;
  }
  utf8 = std::move(*narrow);
  return true;
}

std::optional<std::string> Utf8ToCp936(std::string_view utf8Text, std::error_code& error,
                                       std::vector<std::size_t>* invalidBytes) {
  error.clear();
  if (!HasCodePage936()) {
    error = std::make_error_code(std::errc::not_supported);
    return std::nullopt;
  }
  const std::optional<std::wstring> wide = Widen(utf8Text, CP_UTF8);
  if (wide) return Narrow(*wide, kCodePage936);
  // Not UTF-8: character by character, the longest that decodes at each byte, to find the bytes
  // that belong to none.
  error = std::make_error_code(std::errc::illegal_byte_sequence);
  for (std::size_t at = 0; invalidBytes != nullptr && at < utf8Text.size();) {
    std::size_t length = std::min<std::size_t>(4, utf8Text.size() - at);
    while (length > 0 && !Widen(utf8Text.substr(at, length), CP_UTF8))
      --length;
    if (length == 0) invalidBytes->push_back(at);
    at += std::max<std::size_t>(length, 1);
  }
  return std::nullopt;
}

namespace {

Handle Opened(HANDLE handle) {
  return handle == INVALID_HANDLE_VALUE ? kNoHandle : reinterpret_cast<Handle>(handle);
}

// A folder the user chose, by its path of any length, or, below a held folder, by its name.
Handle OpenFolder(Handle base, const std::filesystem::path& path, std::error_code& error) {
  if (base != kNoHandle)
    return Opened(OpenRelative(base, path, FILE_LIST_DIRECTORY, kShareAll, kFileOpen,
                               kFileDirectoryFile, false, error));
  const HANDLE folder =
      CreateFileW(ExtendedPath(path).c_str(), FILE_LIST_DIRECTORY | SYNCHRONIZE, kShareAll, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (folder == INVALID_HANDLE_VALUE) error = LastError();
  return Opened(folder);
}

// The entry `name` of `parent` just opened as `opened`, kept where it is no link (and a folder,
// where `folder`), and else closed, the reason in `error`.
Handle KeptIfNoLink(Handle parent, const std::filesystem::path& name, HANDLE opened, bool folder,
                    std::error_code& error) {
  if (opened == INVALID_HANDLE_VALUE) return kNoHandle;
  FILE_ATTRIBUTE_TAG_INFO attributes = {};
  if (!GetFileInformationByHandleEx(opened, FileAttributeTagInfo, &attributes, sizeof attributes)) {
    error = LastError();
  } else if (IsLink(parent, name, opened, attributes)) {
    error = make_error_code(TreeError::kIsALink);
  } else if (folder && !(attributes.FileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    error = std::make_error_code(std::errc::not_a_directory);
  }
  if (!error) return Opened(opened);
  CloseHandle(opened);
  return kNoHandle;
}

Handle OpenSubfolder(Handle parent, const std::filesystem::path& name, std::error_code& error) {
  // Held without FILE_SHARE_DELETE: while the run holds the folder, no one can rename or delete it.
  const HANDLE folder = OpenRelative(parent, name, FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, kFileOpen, 0, true, error);
  return KeptIfNoLink(parent, name, folder, true, error);
}

// Which folder or file the handle holds: its volume's serial number and its file index there.
bool Identify(Handle held, FileIdentity& identity, std::error_code& error) {
  BY_HANDLE_FILE_INFORMATION information;
  if (!GetFileInformationByHandle(AsHandle(held), &information)) {
    error = LastError();
    return false;
  }
  identity = {information.dwVolumeSerialNumber,
              (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow};
  return true;
}

// Opened by its file index, at one step whatever the depth; then the child must still be its
// entry `name`. Held without FILE_SHARE_DELETE, as OpenSubfolder holds a folder, so that it cannot
// be moved once it is checked.
Handle OpenParent(Handle child, const std::filesystem::path& name, const FileIdentity& expected,
                  std::error_code& error) {
  FILE_ID_DESCRIPTOR id = {};
  id.dwSize = sizeof id;
  id.Type = FileIdType;
  id.FileId.QuadPart = static_cast<LONGLONG>(expected.file);
  const HANDLE parent =
      OpenFileById(AsHandle(child), &id, FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                   FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT);
  if (parent == INVALID_HANDLE_VALUE) {
    error = LastError();
    return kNoHandle;
  }
  FileIdentity childIdentity, entryIdentity, parentIdentity;
  const HANDLE entry = OpenRelative(reinterpret_cast<Handle>(parent), name, FILE_READ_ATTRIBUTES,
                                    kShareAll, kFileOpen, 0, true, error);
  const bool same = entry != INVALID_HANDLE_VALUE &&
                    Identify(reinterpret_cast<Handle>(entry), entryIdentity, error) &&
                    Identify(child, childIdentity, error) &&
                    Identify(reinterpret_cast<Handle>(parent), parentIdentity, error) &&
                    entryIdentity == childIdentity && parentIdentity == expected;
  if (entry != INVALID_HANDLE_VALUE) CloseHandle(entry);
  if (same) return reinterpret_cast<Handle>(parent);
  if (!error || error == std::errc::no_such_file_or_directory)
    error = make_error_code(TreeError::kMoved);
  CloseHandle(parent);
  return kNoHandle;
}

bool ListFolder(Handle folder, std::vector<FolderEntry>& entries, std::error_code& error) {
  alignas(LONGLONG) BYTE buffer[16 * 1024];
  FILE_INFO_BY_HANDLE_CLASS next = FileIdBothDirectoryRestartInfo;
  while (GetFileInformationByHandleEx(AsHandle(folder), next, buffer, sizeof buffer)) {
    next = FileIdBothDirectoryInfo;
    for (const BYTE* at = buffer;;) {
      const auto* entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(at);
      const std::wstring_view name(entry->FileName, entry->FileNameLength / sizeof(wchar_t));
      // For a reparse point, the listing gives the reparse tag in place of the EA size.
      const DWORD attributes = entry->FileAttributes;
      const bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
                          !windows::IsLinkEntry(attributes, entry->EaSize);
      if (name != L"." && name != L"..")
        entries.push_back(
            {std::filesystem::path(name), folder ? EntryKind::kFolder : EntryKind::kOther});
      if (entry->NextEntryOffset == 0) break;
      at += entry->NextEntryOffset;
    }
  }
  if (GetLastError() == ERROR_NO_MORE_FILES) return true;
  error = LastError();
  return false;
}

// Deletes by the entry's own handle, a file and a folder alike.
bool DeleteEntry(Handle parent, const std::filesystem::path& name, bool, Deletion how,
                 std::error_code& error) {
  const HANDLE file =
      OpenRelative(parent, name, DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, kShareAll,
                   kFileOpen, 0, true, error);
  if (file == INVALID_HANDLE_VALUE) return false;
  FILE_ATTRIBUTE_TAG_INFO attributes = {};
  bool deleted = false;
  if (!GetFileInformationByHandleEx(file, FileAttributeTagInfo, &attributes, sizeof attributes)) {
    error = LastError();
  } else if (!(attributes.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
             IsLink(parent, name, file, attributes)) {
    // A link that was opened through to what it points to (Wine's Unix links): deleting by this
    // handle would delete that. The link stays, and says why.
    error = make_error_code(TreeError::kIsALink);
  } else if (how == Deletion::kAtOnce) {
    FILE_DISPOSITION_INFO_EX posix = {kDeletePosixIgnoringReadOnly};
    deleted = SetFileInformationByHandle(file, kFileDispositionInfoEx, &posix, sizeof posix);
    const DWORD failure = GetLastError();
    if (!deleted)
      error = windows::RefusesPosixDeletion(failure)
                  ? std::make_error_code(std::errc::not_supported)
                  : std::error_code(static_cast<int>(failure), std::system_category());
  } else {
    // Read-only entries included, as the shell deletes them: the attribute is cleared first.
    FILE_BASIC_INFO basic = {};
    if ((attributes.FileAttributes & FILE_ATTRIBUTE_READONLY) &&
        GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic)) {
      basic.FileAttributes &= ~FILE_ATTRIBUTE_READONLY;
      if (basic.FileAttributes == 0) basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
      SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic);
    }
    FILE_DISPOSITION_INFO disposition = {TRUE};
    deleted = SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                         sizeof disposition) != FALSE;
    if (!deleted) error = LastError();
  }
  CloseHandle(file);
  return deleted;
}

bool MayPassSoon(const std::error_code& error) {
  return error.category() == std::system_category() &&
         windows::MayPassSoon(static_cast<std::uint32_t>(error.value()));
}

bool MakeFolder(Handle parent, const std::filesystem::path& name, std::error_code& error) {
  const HANDLE folder = OpenRelative(parent, name, FILE_LIST_DIRECTORY, kShareAll, kFileCreate,
                                     kFileDirectoryFile, true, error);
  if (folder == INVALID_HANDLE_VALUE) return false;
  CloseHandle(folder);
  return true;
}

Handle CreateNewFile(Handle parent, const std::filesystem::path& name, std::error_code& error) {
  return Opened(OpenRelative(parent, name, FILE_GENERIC_READ | FILE_GENERIC_WRITE, 0, kFileCreate,
                             kFileNonDirectoryFile, true, error));
}

// A file, and not a link to one: Wine's links are found by their final path, as folders' are.
Handle OpenFileToRead(Handle parent, const std::filesystem::path& name, std::error_code& error) {
  const HANDLE file = OpenRelative(parent, name, FILE_GENERIC_READ, FILE_SHARE_READ, kFileOpen,
                                   kFileNonDirectoryFile, true, error);
  return KeptIfNoLink(parent, name, file, false, error);
}

bool ReadWholeFile(Handle file, std::string& bytes, std::size_t most, std::error_code& error) {
  char chunk[65536];
  for (DWORD got = 0;; bytes.append(chunk, got)) {
    if (bytes.size() > most) {
      error = {ERROR_FILE_TOO_LARGE, std::system_category()};  // told in the system's language
      return false;
    }
    if (!::ReadFile(AsHandle(file), chunk, sizeof chunk, &got, nullptr)) {
      error = LastError();
      return false;
    }
    if (got == 0) return true;
  }
}

bool WriteToFile(Handle file, std::string_view bytes, std::error_code& error) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(AsHandle(file), bytes.data(), chunk, &written, nullptr)) {
      error = LastError();
      return false;
    }
    if (written == 0) {
      error = std::make_error_code(std::errc::io_error);
      return false;
    }
    bytes.remove_prefix(written);
  }
  return true;
}

bool Sync(Handle file, std::error_code& error) {
  if (FlushFileBuffers(AsHandle(file))) return true;
  error = LastError();
  return false;
}

// By the entry's own handle, a link as itself, to its new name relative to the held folder
// `newParent` (NT's own call: SetFileInformationByHandle would take the name as a path from the
// current directory), never over an entry that is there.
bool Rename(Handle parent, const std::filesystem::path& name, Handle newParent,
            const std::filesystem::path& newName, std::error_code& error) {
  static const auto ntSetInformationFile =
      SystemFunction<NtSetInformationFileFunction>(L"ntdll.dll", "NtSetInformationFile");
  static const auto toWin32 =
      SystemFunction<NtStatusToWin32Function>(L"ntdll.dll", "RtlNtStatusToDosError");
  const HANDLE entry = OpenRelative(parent, name, DELETE | FILE_READ_ATTRIBUTES, kShareAll,
                                    kFileOpen, 0, true, error);
  if (entry == INVALID_HANDLE_VALUE) return false;
  const std::wstring& target = newName.native();
  std::vector<BYTE> buffer(sizeof(FILE_RENAME_INFO) + target.size() * sizeof(wchar_t));
  auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  rename->ReplaceIfExists = FALSE;
  rename->RootDirectory = AsHandle(newParent);
  rename->FileNameLength = static_cast<DWORD>(target.size() * sizeof(wchar_t));
  std::copy(target.begin(), target.end(), rename->FileName);
  IO_STATUS_BLOCK io = {};
  const LONG status = ntSetInformationFile(entry, &io, rename, static_cast<ULONG>(buffer.size()),
                                           kFileRenameInformation);
  if (status < 0)
    error = std::error_code(static_cast<int>(toWin32(status)), std::system_category());
  CloseHandle(entry);
  return status >= 0;
}

bool Close(Handle handle, std::error_code& error) {
  if (CloseHandle(AsHandle(handle))) return true;
  error = LastError();
  return false;
}

// A mutex named for the folder itself, its volume and file index, which every process of the
// session that locks the same folder finds by that name, whatever path it took to the folder;
// Windows gives it up for a process that ends holding it.
Handle TryLock(Handle folder, std::error_code& error) {
  FileIdentity identity;
  if (!Identify(folder, identity, error)) return kNoHandle;
  wchar_t name[64];
  swprintf(name, 64, L"Local\\wondergen-%016llx-%016llx",
           static_cast<unsigned long long>(identity.volume),
           static_cast<unsigned long long>(identity.file));
  const HANDLE mutex = CreateMutexW(nullptr, FALSE, name);
  if (mutex == nullptr) {
    error = LastError();
    return kNoHandle;
  }
  const DWORD waited = WaitForSingleObject(mutex, 0);
  if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) return reinterpret_cast<Handle>(mutex);
  error = waited == WAIT_TIMEOUT ? std::make_error_code(std::errc::resource_unavailable_try_again)
                                 : LastError();
  CloseHandle(mutex);
  return kNoHandle;
}

void Unlock(Handle lock) {
  ReleaseMutex(AsHandle(lock));
  CloseHandle(AsHandle(lock));
}

void Pause(std::chrono::milliseconds time) {
  Sleep(static_cast<DWORD>(time.count()));
}

}  // namespace

// Documents is asked of the system: it follows a Documents folder moved to another drive or into
// OneDrive, which %USERPROFILE%\Documents does not.
GameHome UserGameHome() {
  GameHome home;
  home.system = HostSystem::kWindows;
  PWSTR documents = nullptr;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &documents)))
    home.documents.push_back(documents);
  CoTaskMemFree(documents);
  return home;
}

}  // namespace wondergen::platform

namespace wondergen {

const FileSystem& SystemFileSystem() {
  using namespace platform;
  static constexpr FileSystem kWindows = {
      OpenFolder, OpenSubfolder, OpenParent,     Identify,      ListFolder,  DeleteEntry,
      MakeFolder, CreateNewFile, OpenFileToRead, ReadWholeFile, WriteToFile, Sync,
      Rename,     Close,         TryLock,        Unlock,        MayPassSoon, Pause};
  return kWindows;
}

}  // namespace wondergen
