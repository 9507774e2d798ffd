// Drives wondergen.exe as a person would, with real clicks and key presses, step by step as a
// steps file says, and writes down what the window shows after each step: the transcript that
// run-window-tests.sh compares with the expected one.
//
// wondergen-window-test <wondergen.exe> <work dir> <steps> <transcript> <output dir> <code page>
//
// A step is one line, its words separated by blanks; the last word may hold blanks. In it, ID is a
// control ID, SLOT a field's place (0..26) and DIR a folder of the work dir. "#" starts a comment.
//   install DIR               copies wondergen.exe into DIR
//   start [minimized] DIR     starts DIR\wondergen.exe, the work dir current, and waits for it
//   attach                    waits for the window of a program started some other way (sh)
//   controls                  every control as created: class, text, style, place, enabled state
//   form LABEL                LABEL, then each row of the form that changed since the last form
//   tick ID LABEL             clicks check box ID, waits for the program's answer, then form
//   type SLOT TEXT            ticks field SLOT, types TEXT into its entry box key by key, writes
//                             the value box after each key, then form
//   paste SLOT TEXT           pastes TEXT at the end of field SLOT's entry box, then form
//   text ID TEXT              clicks text box ID and types TEXT into it
//   click ID                  clicks control ID
//   keys KEY...               presses each key (Tab, Shift+Tab, Space, Enter, Esc) and writes the
//                             control that has the focus after each, then form
//   generate LABEL            clicks the button and waits until the run is over, a marker put into
//                             AAA first gone and the button enabled again
//   press                     clicks the button and waits for nothing
//   running                   waits until a run is in progress: the button is disabled
//   box                       waits for the error box and writes its lines without the system's
//                             reasons, which are in the system's language; presses OK
//   responsive LABEL          as generate, the window asked meanwhile to answer within a second
//   hold FILE, release        holds FILE of the program's folder open without sharing; lets it go
//   sh COMMAND                runs COMMAND with /bin/sh in the Unix folder $WINDOW_TEST_WORK (the
//                             work dir) and writes what it printed (Wine runs Unix programs)
//   screenshot NAME           saves the client area as NAME.ppm in the output dir
//   close [LABEL]             Alt+F4, or with LABEL a close message, and writes the exit code (0
//                             for an attached program once its window is gone)
//   restore                   restores the minimized window
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "wondergen/control_ids.h"

namespace {

namespace fs = std::filesystem;
using namespace wondergen;

FILE* g_transcript = nullptr;
fs::path g_exe, g_workDir, g_outputDir, g_programDir;
PROCESS_INFORMATION g_process = {};
HWND g_window = nullptr;
std::map<int, std::string> g_shown;  // the form rows as last written

std::string Utf8(std::wstring_view text) {
  std::string utf8(text.size() * 3, '\0');
  utf8.resize(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                  utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr));
  return utf8;
}
std::wstring Wide(std::string_view utf8) {
  std::wstring wide(utf8.size(), L'\0');
  wide.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                  wide.data(), static_cast<int>(wide.size())));
  return wide;
}

void Write(const std::string& line) {
  std::fprintf(g_transcript, "%s\n", line.c_str());
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
  wchar_t text[1024] = {};
  DWORD_PTR length = 0;
  SendMessageTimeoutW(control, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
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
bool IsEnabled(int id) {
  return IsWindowEnabled(Control(id)) != FALSE;
}
HWND WaitForWindow(const wchar_t* className, DWORD timeoutMs) {
  HWND window = nullptr;
  WaitUntil([&] { return (window = FindWindowW(className, nullptr)) && IsWindowVisible(window); },
            timeoutMs);
  return window;
}

// ---- Real input through the system's input queue.

void Send(const INPUT& input) {
  SendInput(1, const_cast<INPUT*>(&input), sizeof input);
}
void ClickAt(LONG x, LONG y) {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  for (DWORD flags : {MOUSEEVENTF_MOVE, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi = {(x * 65536 + width / 2) / width,
                (y * 65536 + height / 2) / height,
                0,
                flags | MOUSEEVENTF_ABSOLUTE,
                0,
                0};
    Send(input);
    Sleep(20);
  }
}
void Click(HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  ClickAt((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}
void PressKeys(const std::vector<WORD>& chord) {  // pressed in order, released in reverse
  for (std::size_t i = 0; i < 2 * chord.size(); ++i) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    const bool down = i < chord.size();
    input.ki.wVk = down ? chord[i] : chord[2 * chord.size() - 1 - i];
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    Send(input);
  }
  Sleep(20);
}
// A character as typed with an input method: a Unicode key event, down and up.
void Type(wchar_t character) {
  for (DWORD flags : {KEYEVENTF_UNICODE, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP}) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = character;
    input.ki.dwFlags = flags;
    Send(input);
  }
  Sleep(20);
}

// ---- What the window shows.

int FocusedId() {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(g_window, nullptr), &info);
  return info.hwndFocus == nullptr ? 0 : GetDlgCtrlID(info.hwndFocus);
}

// The screen's pixels in a rectangle of screen coordinates, four bytes each (blue, green, red,
// unused), row by row from the top; At() counts from the rectangle's corner.
struct Capture {
  RECT rect;
  std::vector<BYTE> pixels;
  const BYTE* At(LONG x, LONG y) const { return &pixels[4 * (y * (rect.right - rect.left) + x)]; }
};
Capture CaptureScreen(const RECT& rect) {
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  Capture capture = {rect, std::vector<BYTE>(4 * width * height)};
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  const HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  SelectObject(memory, previous);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  GetDIBits(memory, bitmap, 0, height, capture.pixels.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return capture;
}
Capture CaptureClientArea() {
  RECT client;
  GetClientRect(g_window, &client);
  MapWindowPoints(g_window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  return CaptureScreen(client);
}
// Pixels darker than `threshold` (of 255) in a rectangle of the capture.
int DarkPixels(const Capture& capture, LONG x0, LONG y0, LONG x1, LONG y1, int threshold) {
  int dark = 0;
  for (LONG y = y0; y < y1; ++y) {
    for (LONG x = x0; x < x1; ++x) {
      const BYTE* pixel = capture.At(x, y);
      dark += pixel[0] + pixel[1] + pixel[2] < 3 * threshold;
    }
  }
  return dark;
}

// Every control as created. An edit control draws WS_BORDER itself and drops it from its style,
// so a border is read off the screen: a bordered control's top edge is drawn.
void WriteControls() {
  const Capture screen =
      CaptureScreen({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
  RECT rect;
  GetWindowRect(g_window, &rect);
  char line[512];
  std::snprintf(line, sizeof line, "window \"%s\" at %ld,%ld %ldx%ld style 0x%lX",
                Text(g_window).c_str(), rect.left, rect.top, rect.right - rect.left,
                rect.bottom - rect.top,
                GetWindowLongW(g_window, GWL_STYLE) &
                    (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  Write(line);
  for (int id = 1; id <= kControlCount; ++id) {
    wchar_t className[32] = {};
    GetClassNameW(Control(id), className, 32);
    GetWindowRect(Control(id), &rect);
    LONG style = GetWindowLongW(Control(id), GWL_STYLE) & ~(WS_DISABLED | WS_TABSTOP);
    if (lstrcmpiW(className, L"Edit") == 0) {
      const int edge =
          DarkPixels(screen, rect.left + 2, rect.top, rect.right - 2, rect.top + 1, 240);
      style = (style & ~WS_BORDER) | (edge > (rect.right - rect.left) / 2 ? WS_BORDER : 0);
    }
    MapWindowPoints(nullptr, g_window, reinterpret_cast<POINT*>(&rect), 2);
    std::snprintf(line, sizeof line, "%d %s \"%s\" 0x%lX %ld,%ld %ldx%ld%s", id,
                  Utf8(CharLowerW(className)).c_str(), Text(Control(id)).c_str(), style, rect.left,
                  rect.top, rect.right - rect.left, rect.bottom - rect.top,
                  IsEnabled(id) ? "" : " disabled");
    Write(line);
  }
}

// The rows of the form: each field row (tick, entry, value) and the select-all box.
std::map<int, std::string> FormRows() {
  std::map<int, std::string> rows;
  for (int slot = 0; slot < kFieldCount; ++slot) {
    rows[slot] = "  " + Text(Control(FieldCheckBoxId(slot))) +
                 (IsChecked(FieldCheckBoxId(slot)) ? " [x]" : " [ ]") + " entry \"" +
                 Text(Control(EntryBoxId(slot))) +
                 (IsEnabled(EntryBoxId(slot)) ? "\"" : "\" closed") + " value \"" +
                 Text(Control(ValueBoxId(slot))) +
                 (IsEnabled(ValueBoxId(slot)) ? "\" enabled" : "\"");
  }
  rows[kFieldCount] = std::string("  select-all ") + (IsChecked(kSelectAllBoxId) ? "[x]" : "[ ]");
  return rows;
}
void WriteForm(const std::string& label) {
  Write(label);
  for (const auto& [row, line] : FormRows()) {
    if (g_shown[row] != line) Write(line);
    g_shown[row] = line;
  }
}

// ---- The steps.

// Clicks a check box and waits until the program has answered: the field's (for select-all, the
// last field's) tick follows, its entry box is open exactly when ticked, empty, and its value "0".
void Tick(int id) {
  const bool checked = IsChecked(id);
  const int slot = id == kSelectAllBoxId ? kFieldCount - 1 : id - FieldCheckBoxId(0);
  Click(Control(id));
  WaitUntil([&] {
    return IsChecked(id) != checked && IsChecked(FieldCheckBoxId(slot)) != checked &&
           IsEnabled(EntryBoxId(slot)) != checked && WideText(Control(EntryBoxId(slot))).empty() &&
           WideText(Control(ValueBoxId(slot))) == L"0";
  });
}

void TypeIntoField(int slot, const std::wstring& keys) {
  Tick(FieldCheckBoxId(slot));
  Click(Control(EntryBoxId(slot)));
  std::string values;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    Type(keys[i]);
    if (!WaitUntil([&] { return WideText(Control(EntryBoxId(slot))) == keys.substr(0, i + 1); }))
      values += " <lost>";
    values += " \"" + Text(Control(ValueBoxId(slot))) + "\"";
  }
  WriteForm("type \"" + Utf8(keys) + "\", the value box after each key:" + values);
}

void Paste(int slot, const std::wstring& text) {
  const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  lstrcpyW(static_cast<wchar_t*>(GlobalLock(memory)), text.c_str());
  GlobalUnlock(memory);
  OpenClipboard(nullptr);
  EmptyClipboard();
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
  const std::wstring before = WideText(Control(EntryBoxId(slot)));
  PressKeys({VK_CONTROL, 'V'});
  WaitUntil([&] { return WideText(Control(EntryBoxId(slot))) == before + text; });
  WriteForm("paste \"" + Utf8(text) + "\" after \"" + Utf8(before) + "\"");
}

// Waits until the form and the focus have stayed the same for a while: a key has had its effect.
void Settle() {
  std::pair<int, std::map<int, std::string>> last = {FocusedId(), FormRows()};
  for (int quiet = 0, round = 0; quiet < 4 && round < 100; ++round) {
    Sleep(50);
    std::pair<int, std::map<int, std::string>> now = {FocusedId(), FormRows()};
    quiet = now == last && IsEnabled(kGenerateButtonId) ? quiet + 1 : 0;
    last = std::move(now);
  }
}

void PressKeyNames(std::istringstream& words) {
  const std::map<std::string, std::vector<WORD>> keys = {{"Tab", {VK_TAB}},
                                                         {"Shift+Tab", {VK_SHIFT, VK_TAB}},
                                                         {"Space", {VK_SPACE}},
                                                         {"Enter", {VK_RETURN}},
                                                         {"Esc", {VK_ESCAPE}}};
  std::string line = "keys:";
  for (std::string key; words >> key;) {
    PressKeys(keys.at(key));
    Settle();
    line += " " + key + " " + std::to_string(FocusedId());
  }
  WriteForm(line);
}

bool RunIsOver(const fs::path& marker) {
  return !fs::exists(marker) && IsEnabled(kGenerateButtonId);
}

// Clicks the generate button and waits for the run's end; `whileRunning` is asked again and again
// meanwhile. The marker is only put where AAA is a real folder, never through a link.
bool Generate(const std::function<void()>& whileRunning = nullptr) {
  const fs::path marker = g_programDir / "AAA" / "marker.txt";
  if (GetFileAttributesW(marker.parent_path().c_str()) == INVALID_FILE_ATTRIBUTES)
    fs::create_directories(marker.parent_path());
  if (!(GetFileAttributesW(marker.parent_path().c_str()) & FILE_ATTRIBUTE_REPARSE_POINT))
    std::fclose(_wfopen(marker.c_str(), L"wb"));
  Click(Control(kGenerateButtonId));
  return WaitUntil(
      [&] {
        if (whileRunning) whileRunning();
        return RunIsOver(marker);
      },
      60000);
}

void WriteBox() {
  const HWND box = WaitForWindow(L"#32770", 30000);
  std::wstring text =
      std::regex_replace(WideText(GetDlgItem(box, 0xFFFF)), std::wregex(L"\n    [^\n]*|\n+$"), L"");
  for (std::size_t at; (at = text.find(g_workDir.wstring())) != std::wstring::npos;)
    text.replace(at, g_workDir.wstring().size(), L"<work>");
  Write("box \"" + Text(box) + "\": " + std::regex_replace(Utf8(text), std::regex("\n+"), " | "));
  Click(GetDlgItem(box, IDOK));
  if (!WaitUntil([&] { return !IsWindow(box); })) Write("  OK does not close it");
}

// Wine starts a Unix program as it starts a Windows one, but gives no handle to wait on: the
// script itself says when it is done. The command goes in a file, out of reach of the quoting of
// command lines.
void RunShell(const std::string& command) {
  const fs::path script = g_workDir / "sh.script", done = g_workDir / "sh.done";
  fs::remove(done);
  std::ofstream(script, std::ios::binary)
      << "cd \"$WINDOW_TEST_WORK\" && (\n" << command
      << "\n) >sh.out 2>&1; echo $? >sh.done.new && mv sh.done.new sh.done\n";
  std::wstring line = L"/bin/sh -c \". \\\"$WINDOW_TEST_WORK/sh.script\\\"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process) ||
      !WaitUntil([&] { return fs::exists(done); }, 120000))
    return Write("sh: did not run");
  std::ifstream lines(g_workDir / "sh.out");
  for (std::string printed; std::getline(lines, printed);)
    Write("  | " + printed);
  std::ifstream status(done);
  if (int code = 0; status >> code && code != 0) Write("  sh: exit " + std::to_string(code));
}

void Start(const std::string& folder, bool minimized) {
  g_programDir = g_workDir / Wide(folder);
  const std::wstring exe = (g_programDir / L"wondergen.exe").wstring();
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(minimized ? SW_SHOWMINNOACTIVE : SW_SHOWNORMAL);
  std::wstring commandLine = L"\"" + exe + L"\"";
  g_window = nullptr;
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      g_workDir.c_str(), &startup, &g_process) ||
      (g_window = WaitForWindow(L"DEDU", 30000)) == nullptr)
    return Write("the program did not start");
  g_shown.clear();
  if (minimized) return Write(IsIconic(g_window) ? "started minimized" : "not minimized");
  // The controls and the help text are painted once the thanks line shows.
  WaitUntil([] { return DarkPixels(CaptureClientArea(), 0, 2, 300, 14, 128) >= 20; });
  Sleep(500);
}

// The client area as a binary PPM.
void Screenshot(const std::string& name) {
  const Capture capture = CaptureClientArea();
  FILE* file = _wfopen((g_outputDir / Wide(name + ".ppm")).c_str(), L"wb");
  std::fprintf(file, "P6\n%ld %ld\n255\n", capture.rect.right - capture.rect.left,
               capture.rect.bottom - capture.rect.top);
  for (std::size_t i = 0; i < capture.pixels.size(); i += 4) {
    for (int channel : {2, 1, 0})
      std::fputc(capture.pixels[i + channel], file);
  }
  std::fclose(file);
}

long WaitForExit() {
  if (g_process.hProcess == nullptr) return WaitUntil([] { return !IsWindow(g_window); }) ? 0 : -1;
  DWORD code = 0;
  if (WaitForSingleObject(g_process.hProcess, 30000) != WAIT_OBJECT_0) return -1;
  GetExitCodeProcess(g_process.hProcess, &code);
  return static_cast<long>(code);
}

void RunStep(const std::string& step) {
  std::istringstream words(step);
  std::string command, rest;
  words >> command;
  const auto tail = [&] {  // the rest of the line after one blank, blanks and all
    if (words.peek() == ' ') words.get();
    return std::getline(words, rest), rest;
  };
  const auto number = [&] {
    int value = 0;
    words >> value;
    return value;
  };
  static HANDLE held = INVALID_HANDLE_VALUE;
  if (command == "install") {
    fs::create_directories(g_workDir / Wide(tail()));
    fs::copy_file(g_exe, g_workDir / Wide(rest) / L"wondergen.exe");
  } else if (command == "start") {
    const bool minimized = tail().rfind("minimized ", 0) == 0;
    Start(minimized ? rest.substr(10) : rest, minimized);
  } else if (command == "attach") {
    g_window = WaitForWindow(L"DEDU", 30000);
    g_process = {};
    g_shown.clear();
    Write(g_window ? "attached" : "no window to attach");
  } else if (command == "controls") {
    WriteControls();
  } else if (command == "form") {
    WriteForm(tail());
  } else if (command == "tick") {
    const int id = number();
    Tick(id);
    WriteForm(tail());
  } else if (command == "type") {
    const int slot = number();
    TypeIntoField(slot, Wide(tail()));
  } else if (command == "paste") {
    const int slot = number();
    Paste(slot, Wide(tail()));
  } else if (command == "text") {
    const int id = number();
    const std::wstring text = Wide(tail());
    Click(Control(id));
    for (wchar_t c : text)
      Type(c);
    WaitUntil([&] { return WideText(Control(id)) == text; });
    Write("text box " + std::to_string(id) + ": \"" + Text(Control(id)) + "\"");
  } else if (command == "click") {
    Click(Control(number()));
  } else if (command == "keys") {
    PressKeyNames(words);
  } else if (command == "generate") {
    Write(tail() + (Generate() ? ": AAA rebuilt" : ": the run did not end"));
  } else if (command == "responsive") {
    bool answered = true;
    const bool over = Generate([&] {
      answered &=
          SendMessageTimeoutW(g_window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, nullptr) != 0;
    });
    Write(tail() + (over ? ": the run ended" : ": the run did not end") +
          (answered ? ", the window answering within a second throughout" : ", the window hung"));
  } else if (command == "press") {
    Click(Control(kGenerateButtonId));
  } else if (command == "running") {
    Write(WaitUntil([] { return !IsEnabled(kGenerateButtonId); }, 5000) ? "a run in progress"
                                                                        : "no run in progress");
  } else if (command == "box") {
    WriteBox();
  } else if (command == "hold") {
    held = CreateFileW((g_programDir / Wide(tail())).c_str(), GENERIC_WRITE, 0, nullptr,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  } else if (command == "release") {
    CloseHandle(held);
  } else if (command == "sh") {
    RunShell(tail());
  } else if (command == "screenshot") {
    Screenshot(tail());
  } else if (command == "close") {
    if (tail().empty()) {
      RECT rect;
      GetWindowRect(g_window, &rect);
      ClickAt(rect.left + 900, rect.top + 800);  // a blank spot of the form
      PressKeys({VK_MENU, VK_F4});
    } else {
      PostMessageW(g_window, WM_CLOSE, 0, 0);
    }
    Write((rest.empty() ? "Alt+F4" : rest) + ": exit code " + std::to_string(WaitForExit()));
  } else if (command == "restore") {
    PostMessageW(g_window, WM_SYSCOMMAND, SC_RESTORE, 0);
    Write(WaitUntil([] { return !IsIconic(g_window); }) ? "restored" : "not restored");
  } else {
    Write("unknown step: " + step);
  }
}

}  // namespace

int main() {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (count != 7 || (g_transcript = _wfopen(arguments[4], L"wb")) == nullptr) return 100;
  g_exe = arguments[1];
  g_workDir = arguments[2];
  g_outputDir = arguments[5];
  Write(GetACP() == std::wcstoul(arguments[6], nullptr, 10) ? "ANSI code page as the locale says"
                                                            : "ANSI code page not the locale's");
  std::ifstream steps(arguments[3]);
  for (std::string step; std::getline(steps, step);) {
    if (!step.empty() && step[0] != '#') RunStep(step);
  }
  return 0;
}
