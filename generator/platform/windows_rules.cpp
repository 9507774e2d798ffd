#include "wondergen/windows_rules.h"

#include <algorithm>

namespace wondergen::platform::windows {
namespace {

constexpr std::uint32_t kNameSurrogateBit = 0x20000000;  // IsReparseTagNameSurrogate
// Win32 error codes.
constexpr std::uint32_t kInvalidFunction = 1, kAccessDenied = 5, kSharingViolation = 32,
                        kNotSupported = 50, kInvalidParameter = 87, kDirectoryNotEmpty = 145;

wchar_t FoldAscii(wchar_t c) {
  return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

}  // namespace

bool IsLinkEntry(std::uint32_t attributes, std::uint32_t reparseTag) {
  if (!(attributes & kReparsePointAttribute)) return false;
  return reparseTag == 0 || (reparseTag & kNameSurrogateBit) != 0;
}

bool MayPassSoon(std::uint32_t win32Error) {
  return win32Error == kSharingViolation || win32Error == kAccessDenied ||
         win32Error == kDirectoryNotEmpty;
}

bool RefusesPosixDeletion(std::uint32_t win32Error) {
  return win32Error == kInvalidParameter || win32Error == kInvalidFunction ||
         win32Error == kNotSupported;
}

bool IsWithinFolder(std::wstring_view path, std::wstring_view folder) {
  while (!folder.empty() && folder.back() == L'\\')
    folder.remove_suffix(1);
  if (folder.empty() || path.size() < folder.size() ||
      (path.size() > folder.size() && path[folder.size()] != L'\\'))
    return false;
  return std::equal(folder.begin(), folder.end(), path.begin(),
                    [](wchar_t a, wchar_t b) { return FoldAscii(a) == FoldAscii(b); });
}

}  // namespace wondergen::platform::windows
