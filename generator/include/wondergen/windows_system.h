// What the generator's Windows layer offers the Windows program besides the generator itself, so
// that both ask the system in one way. Windows only.
#pragma once

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace wondergen::platform {

// Text in a code page (936, CP_UTF8, CP_ACP) to UTF-16 and back, strictly: nullopt where a byte
// sequence is invalid, a character has no equivalent (no best fit, no default character "?") or a
// text is longer than the system's functions take. The one conversion of the generator and the
// window alike.
std::optional<std::wstring> Widen(std::string_view text, unsigned codePage);
std::optional<std::string> Narrow(std::wstring_view text, unsigned codePage);

// The form that the wide file functions accept at any length, as the tree code opens folders:
// "\\?\C:\..." or "\\?\UNC\..." for an absolute path.
std::wstring ExtendedPath(const std::filesystem::path& path);

// The path that the opened file or folder has on its volume ("\\?\C:\..."): one name, whatever
// 8.3 names or links the path it was opened by went through; empty where the system cannot tell.
std::wstring FinalPath(HANDLE opened);

// A function of a system DLL that not every Windows 10 has, looked up at run time so that the
// program's imports stay those of every Windows 10; null where it is missing.
template <typename Function>
Function SystemFunction(const wchar_t* dll, const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(dll), name)));
}

}  // namespace wondergen::platform
