#include "driver.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace wondergen::windows_test {
namespace {

int g_failures = 0;

struct ProcessWindowSearch {
  DWORD processId;
  const wchar_t* className;
  HWND found;
};

BOOL CALLBACK MatchProcessWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<ProcessWindowSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t className[64] = {};
  GetClassNameW(window, className, 64);
  if (owner == search->processId && lstrcmpiW(className, search->className) == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND FindProcessWindow(DWORD processId, const wchar_t* className) {
  ProcessWindowSearch search = {processId, className, nullptr};
  EnumWindows(MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void SendKey(WORD virtualKey, wchar_t character, DWORD flags) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = character;
  input.ki.dwFlags = flags;
  SendInput(1, &input, sizeof input);
}

}  // namespace

std::string Utf8(std::wstring_view text) {
  if (text.empty()) return std::string();
  const int size = static_cast<int>(text.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

void Log(const std::string& line) {
  std::fputs((line + "\n").c_str(), stdout);
  std::fflush(stdout);
}

void Check(bool ok, const std::string& what) {
  if (!ok) ++g_failures;
  Log((ok ? "ok    " : "FAIL  ") + what);
}

void CheckText(const std::wstring& actual, const std::wstring& expected, const std::string& what) {
  Check(actual == expected,
        what + ": \"" + Utf8(actual) + "\"" +
            (actual == expected ? "" : ", expected \"" + Utf8(expected) + "\""));
}

int FailureCount() {
  return g_failures;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() > deadline) return false;
    Sleep(15);
  }
}

RunningProgram StartProgram(const std::wstring& exePath, const std::wstring& workDir,
                            int showCommand) {
  RunningProgram program;
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showCommand);
  std::wstring commandLine = L"\"" + exePath + L"\"";
  if (!CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      workDir.c_str(), &startup, &program.process)) {
    Check(false, "start " + Utf8(exePath) + " (error " + std::to_string(GetLastError()) + ")");
    return program;
  }
  WaitUntil(
      [&] {
        program.window = FindProcessWindow(program.process.dwProcessId, L"DEDU");
        return program.window != nullptr && IsWindowVisible(program.window);
      },
      30000);
  Check(program.window != nullptr, "the main window of class DEDU appears");
  return program;
}

long WaitForExit(const RunningProgram& program, DWORD timeoutMs) {
  if (WaitForSingleObject(program.process.hProcess, timeoutMs) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(program.process.hProcess, &code);
  return static_cast<long>(code);
}

HWND WaitForMessageBox(const RunningProgram& program, DWORD timeoutMs) {
  HWND box = nullptr;
  WaitUntil(
      [&] {
        box = FindProcessWindow(program.process.dwProcessId, L"#32770");
        return box != nullptr && IsWindowVisible(box);
      },
      timeoutMs);
  return box;
}

std::wstring TextOf(HWND control) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
    return L"<no answer>";
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, 5000, &copied);
  text.resize(copied);
  return text;
}

bool IsChecked(HWND checkBox) {
  return SendMessageW(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void ClickAt(POINT screenPoint) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  INPUT inputs[3] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_MOUSE;
    input.mi.dx = (screenPoint.x * 65536 + width / 2) / width;
    input.mi.dy = (screenPoint.y * 65536 + height / 2) / height;
  }
  inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
  inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &inputs[0], sizeof(INPUT));
  Sleep(20);
  SendInput(2, &inputs[1], sizeof(INPUT));
  Sleep(20);
}

void Click(HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  ClickAt({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

void PressKeys(const std::vector<WORD>& chord) {
  for (WORD key : chord)
    SendKey(key, 0, 0);
  for (auto key = chord.rbegin(); key != chord.rend(); ++key)
    SendKey(*key, 0, KEYEVENTF_KEYUP);
  Sleep(20);
}

// ASCII goes through the keyboard layout's own keys, anything else as a Unicode key event.
void TypeCharacter(wchar_t character) {
  const SHORT key = character < 0x80 ? VkKeyScanW(character) : -1;
  if (key == -1) {
    SendKey(0, character, KEYEVENTF_UNICODE);
    SendKey(0, character, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP);
    Sleep(20);
    return;
  }
  std::vector<WORD> chord;
  if (key & 0x100) chord.push_back(VK_SHIFT);
  chord.push_back(static_cast<WORD>(key & 0xFF));
  PressKeys(chord);
}

void SetClipboardText(const std::wstring& text) {
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  std::memcpy(GlobalLock(memory), text.c_str(), bytes);
  GlobalUnlock(memory);
  OpenClipboard(nullptr);
  EmptyClipboard();
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
}

Capture CaptureClientArea(HWND window) {
  Capture capture;
  RECT client;
  GetClientRect(window, &client);
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  capture.width = client.right;
  capture.height = client.bottom;

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = capture.width;
  info.bmiHeader.biHeight = -capture.height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, capture.width, capture.height, screen, origin.x, origin.y, SRCCOPY);
  GdiFlush();
  const auto* pixels = static_cast<const std::uint8_t*>(bits);
  for (int i = 0; i < capture.width * capture.height; ++i) {
    capture.rgb.insert(capture.rgb.end(), {pixels[4 * i + 2], pixels[4 * i + 1], pixels[4 * i]});
  }
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return capture;
}

int CountDarkPixels(const Capture& capture, int x0, int y0, int x1, int y1, int threshold) {
  int dark = 0;
  for (int y = std::max(y0, 0); y < std::min(y1, capture.height); ++y) {
    for (int x = std::max(x0, 0); x < std::min(x1, capture.width); ++x) {
      const std::uint8_t* pixel =
          &capture.rgb[(static_cast<std::size_t>(y) * capture.width + x) * 3];
      if (pixel[0] + pixel[1] + pixel[2] < 3 * threshold) ++dark;
    }
  }
  return dark;
}

}  // namespace wondergen::windows_test
