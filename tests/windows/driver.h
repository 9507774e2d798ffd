// Helpers of the window test driver: checks, the program under test, input and the screen.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace wondergen::windows_test {

// ---- Checks: each prints one line; failures are counted for the exit code.
std::string Utf8(std::wstring_view text);
void Log(const std::string& line);
void Check(bool ok, const std::string& what);
void CheckText(const std::wstring& actual, const std::wstring& expected, const std::string& what);
int FailureCount();

// Polls `condition` until it holds or `timeoutMs` has passed; returns whether it held.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000);

// ---- The program under test.
struct RunningProgram {
  PROCESS_INFORMATION process = {};
  HWND window = nullptr;
};
RunningProgram StartProgram(const std::wstring& exePath, const std::wstring& workDir,
                            int showCommand);
// The process's exit code, once it has ended within `timeoutMs`; -1 if it has not.
long WaitForExit(const RunningProgram& program, DWORD timeoutMs);
// A message box that the program shows, once it has appeared within the time.
HWND WaitForMessageBox(const RunningProgram& program, DWORD timeoutMs);

// Another process's controls are read through messages, which the system carries across.
std::wstring TextOf(HWND control);
bool IsChecked(HWND checkBox);

// ---- Real input: mouse clicks and key presses through the system's input queue.
void ClickAt(POINT screenPoint);
void Click(HWND control);
void PressKeys(const std::vector<WORD>& chord);  // pressed in order, released in reverse
void TypeCharacter(wchar_t character);
void SetClipboardText(const std::wstring& text);

// ---- The screen.
struct Capture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // three bytes a pixel, top row first
};
Capture CaptureClientArea(HWND window);
// Pixels whose grey level is below `threshold` inside [x0, x1) x [y0, y1).
int CountDarkPixels(const Capture& capture, int x0, int y0, int x1, int y1, int threshold = 128);

}  // namespace wondergen::windows_test
