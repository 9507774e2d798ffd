// Drives wondergen.exe as a person would, with real clicks and key presses, and writes down what
// the window shows after each step: the transcript that run-window-tests.sh compares with the
// expected one. The script also compares the package the window writes with the golden one.
//
// wondergen-window-test <wondergen.exe> <work dir> <transcript> <screenshot.ppm> <code page>
// The program is copied into a folder of the work dir whose name needs Unicode and started with the
// work dir as its current directory; after its first generation, its AAA is copied to
// <work dir>\first-press.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "wondergen/control_ids.h"

namespace {

namespace fs = std::filesystem;
using namespace wondergen;

FILE* g_transcript = nullptr;
PROCESS_INFORMATION g_process = {};
HWND g_window = nullptr;
fs::path g_programDir;

std::string Utf8(std::wstring_view text) {
  std::string utf8(text.size() * 3, '\0');
  utf8.resize(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                  utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr));
  return utf8;
}

template <typename... Values>
void Write(const char* format, Values... values) {
  std::fprintf(g_transcript, format, values...);
  std::fputc('\n', g_transcript);
  std::fflush(g_transcript);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000) {
  for (const ULONGLONG deadline = GetTickCount64() + timeoutMs; !condition(); Sleep(15)) {
    if (GetTickCount64() > deadline) return false;
  }
  return true;
}

// Another process's controls are read through messages, which the system carries across.
std::wstring WideText(HWND control) {
  wchar_t text[512] = {};
  DWORD_PTR length = 0;
  SendMessageTimeoutW(control, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      5000, &length);
  return std::wstring(text, length);
}
std::string Text(HWND control) {
  return Utf8(WideText(control));
}
HWND Control(int id) {
  return GetDlgItem(g_window, id);
}
bool IsChecked(int id) {
  return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}
HWND WaitForWindow(const wchar_t* className, DWORD timeoutMs) {
  HWND window = nullptr;
  WaitUntil([&] { return (window = FindWindowW(className, nullptr)) && IsWindowVisible(window); },
            timeoutMs);
  return window;
}

bool Start(const std::wstring& exe, const std::wstring& workDir, int showCommand) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showCommand);
  std::wstring commandLine = L"\"" + exe + L"\"";
  return CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workDir.c_str(), &startup, &g_process) &&
         (g_window = WaitForWindow(L"DEDU", 30000)) != nullptr;
}
long WaitForExit() {
  DWORD code = 0;
  if (WaitForSingleObject(g_process.hProcess, 15000) != WAIT_OBJECT_0) return -1;
  GetExitCodeProcess(g_process.hProcess, &code);
  return static_cast<long>(code);
}

// ---- Real input through the system's input queue.

void Send(DWORD type, const MOUSEINPUT& mouse, const KEYBDINPUT& key) {
  INPUT input = {};
  input.type = type;
  if (type == INPUT_MOUSE) input.mi = mouse;
  if (type == INPUT_KEYBOARD) input.ki = key;
  SendInput(1, &input, sizeof input);
}
void ClickAt(LONG x, LONG y) {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  for (DWORD flags : {MOUSEEVENTF_MOVE, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
    Send(INPUT_MOUSE,
         {(x * 65536 + width / 2) / width, (y * 65536 + height / 2) / height, 0,
          flags | MOUSEEVENTF_ABSOLUTE, 0, 0},
         {});
    Sleep(20);
  }
}
void Click(HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  ClickAt((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}
void PressKeys(const std::vector<WORD>& chord) {  // pressed in order, released in reverse
  for (WORD key : chord)
    Send(INPUT_KEYBOARD, {}, {key, 0, 0, 0, 0});
  for (auto key = chord.rbegin(); key != chord.rend(); ++key)
    Send(INPUT_KEYBOARD, {}, {*key, 0, KEYEVENTF_KEYUP, 0, 0});
  Sleep(20);
}
// A character as typed with an input method: a Unicode key event, down and up.
void Type(wchar_t character) {
  for (DWORD flags : {KEYEVENTF_UNICODE, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP})
    Send(INPUT_KEYBOARD, {}, {0, character, flags, 0, 0});
  Sleep(20);
}

// ---- The screen: the client area's pixels, four bytes each (blue, green, red, unused).

struct Capture {
  int width, height;
  std::vector<BYTE> pixels;
};
Capture CaptureClientArea() {
  RECT client;
  GetClientRect(g_window, &client);
  POINT origin = {0, 0};
  ClientToScreen(g_window, &origin);
  Capture capture = {client.right, client.bottom,
                     std::vector<BYTE>(4 * client.right * client.bottom)};
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, capture.width, capture.height);
  const HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, capture.width, capture.height, screen, origin.x, origin.y, SRCCOPY);
  SelectObject(memory, previous);
  BITMAPINFO info = {};
  info.bmiHeader = {
      sizeof info.bmiHeader, capture.width, -capture.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  GetDIBits(memory, bitmap, 0, capture.height, capture.pixels.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return capture;
}
// Pixels darker than `threshold` (of 255) inside [x0, x1) x [y0, y1).
int DarkPixels(const Capture& capture, int x0, int y0, int x1, int y1, int threshold = 128) {
  int dark = 0;
  for (int y = std::max(y0, 0); y < std::min(y1, capture.height); ++y) {
    for (int x = std::max(x0, 0); x < std::min(x1, capture.width); ++x) {
      const BYTE* pixel = &capture.pixels[4 * (static_cast<std::size_t>(y) * capture.width + x)];
      dark += pixel[0] + pixel[1] + pixel[2] < 3 * threshold;
    }
  }
  return dark;
}
void SavePpm(const Capture& capture, const wchar_t* path) {
  FILE* file = _wfopen(path, L"wb");
  std::fprintf(file, "P6\n%d %d\n255\n", capture.width, capture.height);
  for (std::size_t i = 0; i < capture.pixels.size(); i += 4) {
    for (int channel : {2, 1, 0})
      std::fputc(capture.pixels[i + channel], file);
  }
  std::fclose(file);
}

// ---- What the window shows.

// Every control as created: class, text, style, place and enabled state. An edit control draws
// WS_BORDER itself and drops it from its style, so a border is read off the screen: a bordered
// control's top edge is drawn.
void WriteControls(const Capture& screen) {
  RECT rect;
  GetWindowRect(g_window, &rect);
  Write("window \"%s\" at %ld,%ld %ldx%ld style 0x%lX", Text(g_window).c_str(), rect.left, rect.top,
        rect.right - rect.left, rect.bottom - rect.top,
        GetWindowLongW(g_window, GWL_STYLE) &
            (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  for (int id = 1; id <= kControlCount; ++id) {
    wchar_t className[32] = {};
    GetClassNameW(Control(id), className, 32);
    GetWindowRect(Control(id), &rect);
    MapWindowPoints(nullptr, g_window, reinterpret_cast<POINT*>(&rect), 2);
    LONG style = GetWindowLongW(Control(id), GWL_STYLE) & ~(WS_DISABLED | WS_TABSTOP);
    if (lstrcmpiW(className, L"Edit") == 0) {
      const int edge =
          DarkPixels(screen, rect.left + 2, rect.top, rect.right - 2, rect.top + 1, 240);
      style = (style & ~WS_BORDER) | (edge > (rect.right - rect.left) / 2 ? WS_BORDER : 0);
    }
    Write("%d %s \"%s\" 0x%lX %ld,%ld %ldx%ld%s", id, Utf8(CharLowerW(className)).c_str(),
          Text(Control(id)).c_str(), style, rect.left, rect.top, rect.right - rect.left,
          rect.bottom - rect.top, IsWindowEnabled(Control(id)) ? "" : " disabled");
  }
}

// The step, then the form's state: a line for each field row and one for select-all, written
// only where it changed since the last step.
void WriteStep(const std::string& step) {
  static std::map<int, std::string> shown;
  Write("%s", step.c_str());
  for (int slot = 0; slot <= kFieldCount; ++slot) {
    std::string line = std::string("  select-all ") + (IsChecked(kSelectAllBoxId) ? "[x]" : "[ ]");
    if (slot < kFieldCount) {
      const HWND entry = Control(EntryBoxId(slot)), value = Control(ValueBoxId(slot));
      line = "  " + Text(Control(FieldCheckBoxId(slot))) +
             (IsChecked(FieldCheckBoxId(slot)) ? " [x]" : " [ ]") + " entry \"" + Text(entry) +
             (IsWindowEnabled(entry) ? "\"" : "\" closed") + " value \"" + Text(value) +
             (IsWindowEnabled(value) ? "\" enabled" : "\"");
    }
    if (shown[slot] != line) Write("%s", line.c_str());
    shown[slot] = line;
  }
}

// Clicks a check box and waits until the program has answered: the field's (for select-all, the
// last field's) tick follows, its entry box is open exactly when ticked, empty, and its value "0".
void ClickCheckBox(int id) {
  const bool checked = IsChecked(id);
  const int slot = id == kSelectAllBoxId ? kFieldCount - 1 : id - FieldCheckBoxId(0);
  const HWND entry = Control(EntryBoxId(slot));
  Click(Control(id));
  WaitUntil([&] {
    return IsChecked(id) != checked && IsChecked(FieldCheckBoxId(slot)) != checked &&
           (IsWindowEnabled(entry) != FALSE) != checked && WideText(entry).empty() &&
           WideText(Control(ValueBoxId(slot))) == L"0";
  });
}

// Opens a field and types `keys` one key at a time, noting the value box after each key.
void TypeIntoField(int slot, const std::wstring& keys) {
  ClickCheckBox(FieldCheckBoxId(slot));
  Click(Control(EntryBoxId(slot)));
  std::string values;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    Type(keys[i]);
    if (!WaitUntil([&] { return WideText(Control(EntryBoxId(slot))) == keys.substr(0, i + 1); }))
      values += " <lost>";
    values += " \"" + Text(Control(ValueBoxId(slot))) + "\"";
  }
  WriteStep("type \"" + Utf8(keys) + "\", the value box after each key:" + values);
}

void WriteHelpText(const char* when) {
  const Capture screen = CaptureClientArea();
  std::string painted = DarkPixels(screen, 0, 2, 470, 14) >= 20 ? " 0" : "", blank;
  for (int y = 295; y <= 570; y += 25)
    (DarkPixels(screen, 480, y + 2, 1075, y + 14) >= 20 ? painted : blank) +=
        " " + std::to_string(y);
  Write("help text %s: painted at%s; blank at%s", when, painted.c_str(), blank.c_str());
}

// Clicks the generate button and waits until the run is over: the marker put into AAA is gone
// and the window answers again.
void PressGenerate(const char* what) {
  const fs::path marker = g_programDir / "AAA" / "marker.txt";
  fs::create_directories(marker.parent_path());
  std::fclose(_wfopen(marker.c_str(), L"wb"));
  Click(Control(kGenerateButtonId));
  const bool rebuilt = WaitUntil([&] { return !fs::exists(marker); }, 15000) && WaitUntil([] {
                         return IsWindowEnabled(Control(kGenerateButtonId)) != FALSE;
                       });
  Write("%s: AAA %s", what, rebuilt ? "rebuilt" : "not rebuilt");
}

// A file of AAA held open without sharing cannot be deleted: the program says so in a box, whose
// text is written without the system's reasons, which are in the system's language.
void PressGenerateWithAFileHeldOpen() {
  const HANDLE file = CreateFileW((g_programDir / "AAA" / "held.txt").c_str(), GENERIC_WRITE, 0,
                                  nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  Click(Control(kGenerateButtonId));
  const HWND box = WaitForWindow(L"#32770", 15000);
  std::wstring text =
      std::regex_replace(WideText(GetDlgItem(box, 0xFFFF)), std::wregex(L"\n    [^\n]*|\n+$"), L"");
  for (std::size_t at; (at = text.find(g_programDir.wstring())) != std::wstring::npos;)
    text.replace(at, g_programDir.wstring().size(), L"<program>");
  Write("generate with AAA\\held.txt held open: a box \"%s\" says \"%s\"", Text(box).c_str(),
        std::regex_replace(Utf8(text), std::regex("\n+"), " | ").c_str());
  Click(GetDlgItem(box, IDOK));
  Write(WaitUntil([&] { return !IsWindow(box); }) ? "  OK closes it" : "  OK does not close it");
  CloseHandle(file);
}

}  // namespace

int main() {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (count != 6 || (g_transcript = _wfopen(arguments[3], L"wb")) == nullptr) return 100;
  const fs::path workDir = arguments[2];
  const bool localeCodePage = GetACP() == std::wcstoul(arguments[5], nullptr, 10);
  Write("ANSI code page %s", localeCodePage ? "as the locale says" : "not the locale's");
  g_programDir = workDir / L"程序 文件夹";
  fs::create_directories(g_programDir);
  const std::wstring exe = (g_programDir / L"wondergen.exe").wstring();
  if (!CopyFileW(arguments[1], exe.c_str(), FALSE) || !Start(exe, workDir, SW_SHOWNORMAL))
    return Write("the program did not start"), 1;

  // The controls and the help text are painted once the help text's first line shows.
  WaitUntil([] { return DarkPixels(CaptureClientArea(), 0, 2, 470, 14) >= 20; });
  Sleep(500);
  WriteControls(CaptureClientArea());
  WriteStep("after start");
  // clang-format off
  const std::pair<int, const char*> clicks[] = {{FieldCheckBoxId(0), "tick 科技"},
      {FieldCheckBoxId(0), "untick 科技"}, {kSelectAllBoxId, "tick select-all"},
      {FieldCheckBoxId(2), "untick 信仰"}, {kSelectAllBoxId, "untick select-all"}};
  // clang-format on
  for (const auto& [id, step] : clicks) {
    ClickCheckBox(id);
    WriteStep(step);
  }
  const std::pair<int, const wchar_t*> typing[] = {
      {0, L"25"},           {1, L"abc"}, {2, L"-3"},  {3, L"1999"},       {4, L"2000"},
      {5, L"12abc"},        {6, L"007"}, {7, L" 12"}, {8, L"1111111111"}, {9, L"0"},
      {15, L"5科技科技科"}, {22, L"2"},  {24, L"3"},  {26, L"1999"},      {10, L"15"}};
  for (const auto& [slot, keys] : typing)
    TypeIntoField(slot, keys);
  // A paste that makes the entry 10 bytes long leaves the value box at 15.
  const HGLOBAL pasted = GlobalAlloc(GMEM_MOVEABLE, sizeof L"abcdefgh");
  lstrcpyW(static_cast<wchar_t*>(GlobalLock(pasted)), L"abcdefgh");
  GlobalUnlock(pasted);
  OpenClipboard(nullptr);
  EmptyClipboard();
  SetClipboardData(CF_UNICODETEXT, pasted);
  CloseClipboard();
  PressKeys({VK_CONTROL, 'V'});
  WaitUntil([] { return WideText(Control(EntryBoxId(10))) == L"15abcdefgh"; });
  WriteStep("paste \"abcdefgh\" after 15");

  const wchar_t* texts[] = {L"奇观 Wonder", L"外星人的礼物 & <gift>", L"说明文字", L"圣女碑二号",
                            L"玩家abc"};
  for (int text = 0; text < kTextCount; ++text) {
    Click(Control(TextBoxId(text)));
    for (const wchar_t* c = texts[text]; *c; ++c)
      Type(*c);
    WaitUntil([&] { return WideText(Control(TextBoxId(text))) == texts[text]; });
    Write("text box %d: \"%s\"", TextBoxId(text), Text(Control(TextBoxId(text))).c_str());
  }
  SavePpm(CaptureClientArea(), arguments[4]);
  WriteHelpText("with the form filled in");

  PressGenerate("generate");
  fs::copy(g_programDir / "AAA", workDir / "first-press", fs::copy_options::recursive);
  Write(fs::exists(workDir / "AAA") ? "AAA in the current directory"
                                    : "AAA beside the program only");
  PressGenerate("generate again");
  WriteHelpText("after generating");
  PressGenerateWithAFileHeldOpen();

  RECT rect;
  GetWindowRect(g_window, &rect);
  ClickAt(rect.left + 900, rect.top + 800);  // a blank spot of the form
  PressKeys({VK_MENU, VK_F4});
  Write("Alt+F4: exit code %ld", WaitForExit());
  const bool minimized = Start(exe, workDir, SW_SHOWMINNOACTIVE) && IsIconic(g_window);
  Write("started minimized: %s", minimized ? "minimized" : "not minimized");
  PostMessageW(g_window, WM_SYSCOMMAND, SC_RESTORE, 0);
  Write(WaitUntil([] { return !IsIconic(g_window); }) ? "restored" : "not restored");
  PostMessageW(g_window, WM_CLOSE, 0, 0);
  Write("closed: exit code %ld", WaitForExit());
  return 0;
}
