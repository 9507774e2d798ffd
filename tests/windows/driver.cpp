// Drives wondergen.exe as a person would, with real clicks and key presses, and writes down what
// the window shows after each step: the transcript that run-window-tests.sh compares with the
// expected one. The package the program writes is compared with the golden one by the script.
//
// wondergen-window-test <wondergen.exe> <work dir> <transcript> <screenshot.ppm> <code page>
// The program is copied into a folder of the work dir whose name needs Unicode and started with the
// work dir as its current directory; after its first generation its AAA is copied to
// <work dir>\first-press.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
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

void Write(const std::string& line) {
  std::fputs((line + "\n").c_str(), g_transcript);
  std::fflush(g_transcript);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000) {
  for (const ULONGLONG deadline = GetTickCount64() + timeoutMs; !condition();) {
    if (GetTickCount64() > deadline) return false;
    Sleep(15);
  }
  return true;
}

// Another process's controls are read through messages, which the system carries across.
std::wstring TextOf(HWND control) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
    return L"<no answer>";
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, 5000, &copied);
  text.resize(copied);
  return text;
}
HWND Control(int id) {
  return GetDlgItem(g_window, id);
}
bool IsChecked(int id) {
  return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// A window of the program's process with the given class, once it is visible.
HWND FindProcessWindow(const wchar_t* className, DWORD timeoutMs) {
  struct Search {
    const wchar_t* className;
    HWND found;
  } search = {className, nullptr};
  WaitUntil(
      [&] {
        EnumWindows(
            [](HWND window, LPARAM parameter) -> BOOL {
              auto* search = reinterpret_cast<Search*>(parameter);
              DWORD owner = 0;
              wchar_t name[64] = {};
              GetWindowThreadProcessId(window, &owner);
              GetClassNameW(window, name, 64);
              if (owner != g_process.dwProcessId || lstrcmpiW(name, search->className) != 0)
                return TRUE;
              search->found = IsWindowVisible(window) ? window : nullptr;
              return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      timeoutMs);
  return search.found;
}

bool Start(const std::wstring& exe, const std::wstring& workDir, int showCommand) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showCommand);
  std::wstring commandLine = L"\"" + exe + L"\"";
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      workDir.c_str(), &startup, &g_process))
    return false;
  g_window = FindProcessWindow(L"DEDU", 30000);
  return g_window != nullptr;
}

long WaitForExit() {
  DWORD code = 0;
  if (WaitForSingleObject(g_process.hProcess, 15000) != WAIT_OBJECT_0) return -1;
  GetExitCodeProcess(g_process.hProcess, &code);
  return static_cast<long>(code);
}

// ---- Real input through the system's input queue.

void ClickAt(POINT point) {
  INPUT inputs[3] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_MOUSE;
    input.mi.dx =
        (point.x * 65536 + GetSystemMetrics(SM_CXSCREEN) / 2) / GetSystemMetrics(SM_CXSCREEN);
    input.mi.dy =
        (point.y * 65536 + GetSystemMetrics(SM_CYSCREEN) / 2) / GetSystemMetrics(SM_CYSCREEN);
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
void SendKey(WORD key, wchar_t character, DWORD flags) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = character;
  input.ki.dwFlags = flags;
  SendInput(1, &input, sizeof input);
}
void PressKeys(const std::vector<WORD>& chord) {  // pressed in order, released in reverse
  for (WORD key : chord)
    SendKey(key, 0, 0);
  for (auto key = chord.rbegin(); key != chord.rend(); ++key)
    SendKey(*key, 0, KEYEVENTF_KEYUP);
  Sleep(20);
}
// ASCII through the keyboard layout's own keys, anything else as a Unicode key event.
void Type(wchar_t character) {
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

// ---- The screen.

struct Capture {
  int width = 0, height = 0;
  std::vector<BYTE> bgra;
};
Capture CaptureClientArea() {
  Capture capture;
  RECT client;
  GetClientRect(g_window, &client);
  POINT origin = {0, 0};
  ClientToScreen(g_window, &origin);
  capture.width = client.right;
  capture.height = client.bottom;
  BITMAPINFO info = {};
  info.bmiHeader = {
      sizeof(BITMAPINFOHEADER), capture.width, -capture.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, capture.width, capture.height, screen, origin.x, origin.y, SRCCOPY);
  GdiFlush();
  const auto* pixels = static_cast<const BYTE*>(bits);
  capture.bgra.assign(pixels, pixels + 4 * capture.width * capture.height);
  SelectObject(memory, previous);
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
      const BYTE* pixel = &capture.bgra[4 * (static_cast<std::size_t>(y) * capture.width + x)];
      if (pixel[0] + pixel[1] + pixel[2] < 3 * threshold) ++dark;
    }
  }
  return dark;
}
void SavePpm(const Capture& capture, const std::wstring& path) {
  FILE* file = _wfopen(path.c_str(), L"wb");
  if (file == nullptr) return;
  std::fprintf(file, "P6\n%d %d\n255\n", capture.width, capture.height);
  for (std::size_t i = 0; i < capture.bgra.size(); i += 4) {
    const BYTE rgb[3] = {capture.bgra[i + 2], capture.bgra[i + 1], capture.bgra[i]};
    std::fwrite(rgb, 1, 3, file);
  }
  std::fclose(file);
}

// ---- What the window shows.

std::string Hex(LONG value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%lX", static_cast<unsigned long>(value));
  return text;
}

// Every control as created: class, text, style, place and enabled state. An edit control draws
// WS_BORDER itself and drops it from its style, so a border is read off the screen: a bordered
// control's top edge is drawn.
void WriteControls(const Capture& screen) {
  RECT rect;
  GetWindowRect(g_window, &rect);
  Write("window \"" + Utf8(TextOf(g_window)) + "\" at " + std::to_string(rect.left) + "," +
        std::to_string(rect.top) + " " + std::to_string(rect.right - rect.left) + "x" +
        std::to_string(rect.bottom - rect.top) + " style " +
        Hex(GetWindowLongW(g_window, GWL_STYLE) &
            (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)));
  for (int id = 1; id <= kControlCount; ++id) {
    const HWND control = Control(id);
    wchar_t className[32] = {};
    GetClassNameW(control, className, 32);
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, g_window, reinterpret_cast<POINT*>(&rect), 2);
    const int width = rect.right - rect.left;
    LONG style = GetWindowLongW(control, GWL_STYLE) & ~(WS_DISABLED | WS_TABSTOP);
    if (lstrcmpiW(className, L"Edit") == 0) {
      style &= ~WS_BORDER;
      if (DarkPixels(screen, rect.left + 2, rect.top, rect.right - 2, rect.top + 1, 240) >
          width / 2)
        style |= WS_BORDER;
    }
    Write(std::to_string(id) + " " + Utf8(CharLowerW(className)) + " \"" + Utf8(TextOf(control)) +
          "\" " + Hex(style) + " " + std::to_string(rect.left) + "," + std::to_string(rect.top) +
          " " + std::to_string(width) + "x" + std::to_string(rect.bottom - rect.top) +
          (IsWindowEnabled(control) ? "" : " disabled"));
  }
}

// The form's state, one line per field row and one for select-all; only the lines that changed
// since the last call are written.
void WriteChanges(const std::string& step) {
  static std::map<int, std::string> shown;
  Write(step);
  for (int slot = 0; slot <= kFieldCount; ++slot) {
    std::string line;
    if (slot == kFieldCount) {
      line = std::string("  select-all ") + (IsChecked(kSelectAllBoxId) ? "[x]" : "[ ]");
    } else {
      const HWND entry = Control(EntryBoxId(slot));
      line = "  " + Utf8(TextOf(Control(FieldCheckBoxId(slot)))) + " " +
             (IsChecked(FieldCheckBoxId(slot)) ? "[x]" : "[ ]") + " entry \"" +
             Utf8(TextOf(entry)) + "\"" + (IsWindowEnabled(entry) ? "" : " closed") + " value \"" +
             Utf8(TextOf(Control(ValueBoxId(slot)))) + "\"" +
             (IsWindowEnabled(Control(ValueBoxId(slot))) ? " enabled" : "");
    }
    if (shown[slot] != line) Write(line);
    shown[slot] = line;
  }
}

// A tick opens or closes a field's entry box, empty either way, and its value box shows "0".
bool FieldSettled(int slot) {
  const HWND entry = Control(EntryBoxId(slot));
  return IsChecked(FieldCheckBoxId(slot)) == (IsWindowEnabled(entry) != FALSE) &&
         TextOf(entry).empty() && TextOf(Control(ValueBoxId(slot))) == L"0";
}

// Clicks a check box and waits until the program has done what it does about it; select-all
// handles the fields in order, so the last one tells when it is done.
void ClickCheckBox(int id) {
  const bool checked = IsChecked(id);
  Click(Control(id));
  const int slot = id == kSelectAllBoxId ? kFieldCount - 1 : id - FieldCheckBoxId(0);
  WaitUntil([&] {
    return IsChecked(id) != checked && IsChecked(FieldCheckBoxId(slot)) == !checked &&
           FieldSettled(slot);
  });
}

// Opens a field and types `keys` one key at a time, writing the value box after each key.
void TypeIntoField(int slot, const std::wstring& keys) {
  ClickCheckBox(FieldCheckBoxId(slot));
  const HWND entry = Control(EntryBoxId(slot));
  Click(entry);
  std::string values;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    Type(keys[i]);
    if (!WaitUntil([&] { return TextOf(entry) == keys.substr(0, i + 1); }, 5000))
      values += " <lost>";
    values += " \"" + Utf8(TextOf(Control(ValueBoxId(slot)))) + "\"";
  }
  WriteChanges("type \"" + Utf8(keys) + "\", the value box after each key:" + values);
}

void WriteHelpText(const std::string& when) {
  const Capture screen = CaptureClientArea();
  std::string painted, blank;
  if (DarkPixels(screen, 0, 2, 470, 14) >= 20) painted += " 0";
  for (int y : {295, 320, 345, 370, 395, 420, 445, 470, 495, 520, 545, 570}) {
    const bool dark = DarkPixels(screen, 480, y + 2, 1075, y + 14) >= 20;
    (dark ? painted : blank) += " " + std::to_string(y);
  }
  Write("help text " + when + ": painted at" + painted + "; blank at" + blank);
}

// Clicks the generate button and waits until the run is over: the marker put into AAA is gone
// and the window answers again.
void PressGenerate(const std::string& what) {
  const fs::path marker = g_programDir / "AAA" / "marker.txt";
  fs::create_directories(marker.parent_path());
  std::fclose(_wfopen(marker.c_str(), L"wb"));
  Click(Control(kGenerateButtonId));
  const bool rebuilt = WaitUntil([&] { return !fs::exists(marker); }, 15000);
  DWORD_PTR ignored;
  SendMessageTimeoutW(g_window, WM_NULL, 0, 0, SMTO_NORMAL, 15000, &ignored);
  Write(what + (rebuilt ? ": AAA rebuilt" : ": AAA not rebuilt"));
}

// A file of AAA held open without sharing cannot be deleted: the program says so in a box.
void PressGenerateWithAFileHeldOpen() {
  const fs::path held = g_programDir / "AAA" / "held.txt";
  const HANDLE file = CreateFileW(held.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  Click(Control(kGenerateButtonId));
  const HWND box = FindProcessWindow(L"#32770", 15000);
  Write(std::string("generate with AAA\\held.txt held open: ") + (box ? "a box" : "no box"));
  if (box != nullptr) {
    Write("  title \"" + Utf8(TextOf(box)) + "\"");
    // Its texts; the OK button and the system's reasons are in the system's language, the lines
    // that name a path are not.
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      wchar_t className[32] = {};
      GetClassNameW(child, className, 32);
      if (lstrcmpiW(className, L"Static") != 0) continue;
      std::wstring text = TextOf(child);
      for (std::size_t at; (at = text.find(g_programDir.wstring())) != std::wstring::npos;)
        text.replace(at, g_programDir.wstring().size(), L"<program>");
      for (std::size_t start = 0, end; start <= text.size(); start = end + 1) {
        end = std::min(text.find(L'\n', start), text.size());
        const std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line.rfind(L"    ", 0) != 0) Write("  \"" + Utf8(line) + "\"");
      }
    }
    Click(GetDlgItem(box, IDOK));
    Write(WaitUntil([&] { return !IsWindow(box); }) ? "  OK closes it" : "  OK does not close it");
  }
  CloseHandle(file);
}

}  // namespace

int main() {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (count != 6) return 100;
  const fs::path workDir = arguments[2];
  g_transcript = _wfopen(arguments[3], L"wb");
  if (g_transcript == nullptr) return 100;
  Write(GetACP() == std::wcstoul(arguments[5], nullptr, 10)
            ? "ANSI code page as the locale says"
            : "ANSI code page " + std::to_string(GetACP()));
  g_programDir = workDir / L"程序 文件夹";
  fs::create_directories(g_programDir);
  const std::wstring exe = (g_programDir / L"wondergen.exe").wstring();
  if (!CopyFileW(arguments[1], exe.c_str(), FALSE) || !Start(exe, workDir, SW_SHOWNORMAL)) {
    Write("the program did not start");
    return 1;
  }

  // The controls and the help text are painted once the help text's first line shows.
  WaitUntil([] { return DarkPixels(CaptureClientArea(), 0, 2, 470, 14) >= 20; });
  Sleep(500);
  WriteControls(CaptureClientArea());
  WriteChanges("after start");

  WriteChanges((ClickCheckBox(FieldCheckBoxId(0)), "tick 科技"));
  WriteChanges((ClickCheckBox(FieldCheckBoxId(0)), "untick 科技"));
  WriteChanges((ClickCheckBox(kSelectAllBoxId), "tick select-all"));
  WriteChanges((ClickCheckBox(FieldCheckBoxId(2)), "untick 信仰"));
  WriteChanges((ClickCheckBox(kSelectAllBoxId), "untick select-all"));

  const std::pair<int, const wchar_t*> typing[] = {
      {0, L"25"},           {1, L"abc"}, {2, L"-3"},  {3, L"1999"},       {4, L"2000"},
      {5, L"12abc"},        {6, L"007"}, {7, L" 12"}, {8, L"1111111111"}, {9, L"0"},
      {15, L"5科技科技科"}, {22, L"2"},  {24, L"3"},  {26, L"1999"},      {10, L"15"}};
  for (const auto& [slot, keys] : typing)
    TypeIntoField(slot, keys);
  // A paste that makes the entry 10 bytes long leaves the value box at 15.
  const std::wstring pasted = L"abcdefgh";
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (pasted.size() + 1) * sizeof(wchar_t));
    lstrcpyW(static_cast<wchar_t*>(GlobalLock(memory)), pasted.c_str());
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
  }
  PressKeys({VK_CONTROL, 'V'});
  WaitUntil([] { return TextOf(Control(EntryBoxId(10))) == L"15abcdefgh"; });
  WriteChanges("paste \"abcdefgh\" after 15");

  const wchar_t* texts[] = {L"奇观 Wonder", L"外星人的礼物 & <gift>", L"说明文字", L"圣女碑二号",
                            L"玩家abc"};
  for (int text = 0; text < kTextCount; ++text) {
    Click(Control(TextBoxId(text)));
    for (const wchar_t* c = texts[text]; *c; ++c)
      Type(*c);
    WaitUntil([&] { return TextOf(Control(TextBoxId(text))) == texts[text]; });
    Write("text box " + std::to_string(TextBoxId(text)) + ": \"" +
          Utf8(TextOf(Control(TextBoxId(text)))) + "\"");
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
  ClickAt({rect.left + 900, rect.top + 800});  // a blank spot of the form
  PressKeys({VK_MENU, VK_F4});
  Write("Alt+F4: exit code " + std::to_string(WaitForExit()));

  const bool started = Start(exe, workDir, SW_SHOWMINNOACTIVE);
  Write(std::string("started minimized: ") + (started && IsIconic(g_window) ? "minimized" : "not"));
  PostMessageW(g_window, WM_SYSCOMMAND, SC_RESTORE, 0);
  Write(WaitUntil([] { return !IsIconic(g_window); }) ? "restored" : "not restored");
  PostMessageW(g_window, WM_CLOSE, 0, 0);
  Write("closed: exit code " + std::to_string(WaitForExit()));
  std::fclose(g_transcript);
  return 0;
}
