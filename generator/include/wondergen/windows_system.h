// What the generator's Windows layer offers the Windows program besides the generator itself, so
// that both ask the system in one way. Windows only.
#pragma once

#include <windows.h>

#include <string>

namespace wondergen::platform {

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
