// What the front ends ask of the operating system through the generator's platform layer, which
// answers the same questions for its own runs.
#pragma once

#include <system_error>

#ifdef _WIN32
#include <windows.h>

#include <string>
#endif

namespace wondergen::platform {

// Whether a deletion or a folder creation that failed so may succeed when tried again a moment
// later: on Windows, where another program may hold a file of the tree for a moment; never on
// POSIX, where nothing holds a name.
bool MayPassSoon(const std::error_code& error);

#ifdef _WIN32
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
#endif

}  // namespace wondergen::platform
