#include "wondergen/windows_rules.h"

#include <algorithm>

namespace wondergen::platform::windows {
namespace {

constexpr std::uint32_t kNameSurrogateBit = 0x20000000;  // IsReparseTagNameSurrogate
// Win32 error codes.
constexpr std::uint32_t kInvalidFunction = 1, kAccessDenied = 5, kSharingViolation = 32,
                        kNotSupported = 50, kInvalidParameter = 87, kDirectoryNotEmpty = 145,
                        kDeletePending = 303;

wchar_t FoldAscii(wchar_t c) {
  return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}
bool SameText(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](wchar_t x, wchar_t y) { return FoldAscii(x) == FoldAscii(y); });
}
std::wstring_view WithoutTrailingBackslashes(std::wstring_view path) {
  while (!path.empty() && path.back() == L'\\')
    path.remove_suffix(1);
  return path;
}

}  // namespace

bool IsLinkEntry(std::uint32_t attributes, std::uint32_t reparseTag) {
  if (!(attributes & kReparsePointAttribute)) return false;
  return reparseTag == 0 || (reparseTag & kNameSurrogateBit) != 0;
}

bool MayPassSoon(std::uint32_t win32Error) {
  return win32Error == kSharingViolation || win32Error == kAccessDenied ||
         win32Error == kDirectoryNotEmpty || win32Error == kDeletePending;
}

bool RefusesPosixDeletion(std::uint32_t win32Error) {
  return win32Error == kInvalidParameter || win32Error == kInvalidFunction ||
         win32Error == kNotSupported;
}

bool IsWithinFolder(std::wstring_view path, std::wstring_view folder) {
  folder = WithoutTrailingBackslashes(folder);
  if (folder.empty() || path.size() < folder.size() ||
      (path.size() > folder.size() && path[folder.size()] != L'\\'))
    return false;
  return SameText(path.substr(0, folder.size()), folder);
}

bool IsEntryOf(std::wstring_view path, std::wstring_view folder, std::wstring_view name) {
  folder = WithoutTrailingBackslashes(folder);
  return !folder.empty() && path.size() == folder.size() + 1 + name.size() &&
         path[folder.size()] == L'\\' && SameText(path.substr(0, folder.size()), folder) &&
         SameText(path.substr(folder.size() + 1), name);
}

bool IsVolumeRoot(std::wstring_view path) {
  constexpr std::wstring_view kExtended = L"\\\\?\\", kUnc = L"UNC\\";
  if (path.substr(0, kExtended.size()) == kExtended) path.remove_prefix(kExtended.size());
  path = WithoutTrailingBackslashes(path);
  if (SameText(path.substr(0, kUnc.size()), kUnc)) {
    path.remove_prefix(kUnc.size());  // server\share
    const std::size_t server = path.find(L'\\');
    return server != std::wstring_view::npos && server > 0 && server + 1 < path.size() &&
           path.find(L'\\', server + 1) == std::wstring_view::npos;
  }
  return path.size() == 2 && path[1] == L':';
}

}  // namespace wondergen::platform::windows
