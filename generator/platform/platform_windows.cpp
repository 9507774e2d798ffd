// Windows: explicit code page 936 conversions and the wide file functions, with paths of any
// length.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>

#include "platform.h"

namespace wondergen::platform {
namespace {

constexpr UINT kCodePage936 = 936;
constexpr wchar_t kReplacementCharacter = 0xFFFD;

std::error_code LastError() {
  return std::error_code(static_cast<int>(GetLastError()), std::system_category());
}

// Whether Windows has code page 936; asked once, as conversions run character by character.
bool HasCodePage936() {
  static const bool installed = IsValidCodePage(kCodePage936) != FALSE;
  return installed;
}

// Wide text to a byte code page; nullopt when a character has no equivalent there.
std::optional<std::string> Narrow(const std::wstring& wide, UINT codePage) {
  if (wide.empty()) return std::string();
  const int size = static_cast<int>(wide.size());
  BOOL usedDefault = FALSE;
  BOOL* usedDefaultPointer = codePage == CP_UTF8 ? nullptr : &usedDefault;
  const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const int length = WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr,
                                         usedDefaultPointer);
  if (length <= 0) return std::nullopt;
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(codePage, flags, wide.data(), size, narrow.data(), length, nullptr,
                      usedDefaultPointer);
  if (usedDefault) return std::nullopt;
  return narrow;
}

// Byte text in a code page to wide text; nullopt when it holds an invalid sequence.
std::optional<std::wstring> Widen(std::string_view text, UINT codePage) {
  if (text.empty()) return std::wstring();
  const int size = static_cast<int>(text.size());
  const int length =
      MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), length);
  return wide;
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

// The form that the wide file functions accept at any length: "\\?\C:\..." or "\\?\UNC\...".
std::wstring ExtendedPath(const std::filesystem::path& path) {
  std::wstring text = path.lexically_normal().make_preferred().native();
  if (!path.is_absolute() || text.rfind(L"\\\\?\\", 0) == 0) return text;
  if (text.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + text.substr(2);
  return L"\\\\?\\" + text;
}

}  // namespace

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

std::optional<std::string> Utf8ToCp936(std::string_view utf8Text, std::error_code& error) {
  if (!HasCodePage936()) {
    error = std::make_error_code(std::errc::not_supported);
    return std::nullopt;
  }
  const std::optional<std::wstring> wide = Widen(utf8Text, CP_UTF8);
  if (!wide) return std::nullopt;
  return Narrow(*wide, kCodePage936);
}

FileHandle CreateDocumentFile(const std::filesystem::path& path, std::error_code& error) {
  const HANDLE file = CreateFileW(ExtendedPath(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                  nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = LastError();
    return kNoFile;
  }
  return reinterpret_cast<FileHandle>(file);
}

bool WriteToFile(FileHandle file, std::string_view bytes, std::error_code& error) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(reinterpret_cast<HANDLE>(file), bytes.data(), chunk, &written, nullptr)) {
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

bool CloseFile(FileHandle file, std::error_code& error) {
  if (CloseHandle(reinterpret_cast<HANDLE>(file))) return true;
  error = LastError();
  return false;
}

EntryKind GetEntryKind(const std::filesystem::path& path, std::error_code& error) {
  const DWORD attributes = GetFileAttributesW(ExtendedPath(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD code = GetLastError();
    if (code != ERROR_FILE_NOT_FOUND && code != ERROR_PATH_NOT_FOUND) {
      error = std::error_code(static_cast<int>(code), std::system_category());
    }
    return EntryKind::kMissing;
  }
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return EntryKind::kFile;
  return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) ? EntryKind::kFolderLink : EntryKind::kFolder;
}

bool ListFolder(const std::filesystem::path& folder, std::vector<std::filesystem::path>& entries,
                std::error_code& error) {
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((ExtendedPath(folder) + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    error = LastError();
    return false;
  }
  do {
    const std::wstring_view name = found.cFileName;
    if (name != L"." && name != L"..") entries.push_back(folder / found.cFileName);
  } while (FindNextFileW(search, &found));
  const DWORD code = GetLastError();
  FindClose(search);
  if (code == ERROR_NO_MORE_FILES) return true;
  error = std::error_code(static_cast<int>(code), std::system_category());
  return false;
}

bool DeleteEntry(const std::filesystem::path& path, EntryKind kind, std::error_code& error) {
  const std::wstring extended = ExtendedPath(path);
  const auto remove = [&] {
    return kind == EntryKind::kFile ? DeleteFileW(extended.c_str())
                                    : RemoveDirectoryW(extended.c_str());
  };
  if (remove()) return true;
  // The shell deletes read-only entries too; clear the attribute and try once more.
  const DWORD code = GetLastError();
  const DWORD attributes = GetFileAttributesW(extended.c_str());
  if (code == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & FILE_ATTRIBUTE_READONLY) &&
      SetFileAttributesW(extended.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY) && remove()) {
    return true;
  }
  error = std::error_code(static_cast<int>(code), std::system_category());
  return false;
}

bool CreateFolder(const std::filesystem::path& path, std::error_code& error) {
  if (CreateDirectoryW(ExtendedPath(path).c_str(), nullptr)) return true;
  error = LastError();
  return false;
}

}  // namespace wondergen::platform
