// Drives wondergen.exe as a person would, with real clicks and key presses, step by step as a
// steps file says, and writes down what the window shows after each step: the transcript that
// run-window-tests.sh compares with the expected one.
//
// wondergen-window-test <work dir> <steps> <transcript> <code page>
// with the expected transcript named by $WINDOW_TEST_EXPECTED (a Windows path).
//
// A step is one line: a word, then what it takes, the rest of the line (blanks and all) being its
// text. ID is a control ID, SLOT a field's place (0..26), DIR a folder of the work dir. Lines that
// start with "#" are comments.
//   start [minimized] DIR     starts DIR\wondergen.exe, the work dir current, and waits for it
//   attach                    waits for the window of a program started some other way (sh)
//   window                    the window's text, place and outer size, and its client area; and
//                             whether every control lies inside the client area, the client area
//                             inside the work area, and no control over another (but the rules'
//                             group box, around its own), and where the select-all box and the
//                             button lie
//   shot FILE                 the client area as the X screen shows it, into FILE (a PPM) of the
//                             locale's output folder
//   dpi N X Y W H             sends WM_DPICHANGED for N DPI, suggesting that rectangle
//   form LABEL                LABEL, then each row of the form that changed since the last form
//                             (the field rows, select-all, install, and the rules of play)
//   tick ID LABEL             clicks check box ID, then form
//   type SLOT TEXT            ticks field SLOT, types TEXT into its entry box key by key, writes
//                             the value box after each key, then form
//   text ID [TEXT]            empties box ID, clicks it and types TEXT into it
//   pick ID TEXT              clicks drop-down list ID open, types TEXT, which chooses the first
//                             item that begins with it, and presses Enter, which closes the list
//                             where typing has not (Wine's closes as it chooses); writes its choice
//   icon FILE                 clicks 图标… and chooses FILE of the work dir as the icon through
//                             the open dialog, then waits until the picture is read
//   reading FILE              the same, and meanwhile waits until a picture is being read (the
//                             button is disabled) and asks the window to answer: it must, before
//                             the picture is read
//   enter [FILE]              presses Enter and waits for nothing, a box it opens being the next
//                             step's; with FILE, the open dialog it opens chooses FILE, as icon
//   click ID                  clicks control ID, and waits until the form settles
//   keys KEY...               presses each key (Tab, Shift+Tab, Space, Enter, Esc, Ctrl+Break,
//                             Execute, Down) and writes the control that has the focus after
//                             each ("+list" where it is a drop-down list that is open), then form
//   generate LABEL            clicks the button and waits until the run is over (a marker put
//                             into AAA is gone, the button enabled again), asking the window
//                             meanwhile to answer, as a busy machine lets it (kPatience)
//   press                     clicks the button and waits for nothing
//   running                   waits until a run is in progress (the button is disabled), and asks
//                             the window to answer meanwhile: it must, while the run is still
//                             deleting the old files of AAA\old
//   box [Yes|No]              waits for the message box and writes its lines, a reason that is the
//                             system's message (in the system's language) as its code; presses
//                             OK, or the button named
//   status                    writes the status box's lines
//   names                     writes the name a screen reader gives each control, a line for each
//                             group: the field check boxes, entry boxes, value boxes, text boxes,
//                             and select-all, the button, the install box, the status box, the
//                             wonder's number and the buttons beside it, and the icon's controls;
//                             and the rules' group and its controls
//   hold FILE, release        holds FILE of the program's folder open without sharing; lets it go
//   temp [DIR]                has TEMP and TMP name DIR for the programs started from then on;
//                             without DIR, what they named before
//   sh COMMAND                runs COMMAND with /bin/sh in the Unix folder $WINDOW_TEST_WORK (the
//                             work dir) and writes what it printed (Wine runs Unix programs)
//   repaint                   has the window and its controls paint what they have to
//   close [LABEL]             Alt+F4, or with LABEL a close message; writes the exit code (0 for
//                             an attached program once its window is gone)
//   restore                   restores the minimized window
#include <windows.h>
// After windows.h:
#include <knownfolders.h>
#include <oleacc.h>
#include <shlobj.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "control_ids.h"

namespace {

namespace fs = std::filesystem;
using namespace wondergen;

FILE* g_transcript = nullptr;
fs::path g_workDir, g_programDir;
PROCESS_INFORMATION g_process = {};
// How long the window may take to answer, on a machine as busy as a test's may be: a run on its
// thread would keep it from answering until the run's end, however long that takes.
constexpr UINT kPatience = 10000;
HWND g_window = nullptr;
HANDLE g_held = INVALID_HANDLE_VALUE;  // a file held open by "hold"
std::map<int, std::string> g_shown;    // the form's rows as last written
std::map<int, HWND> g_controls;        // the window's controls by ID, as found

const auto Utf8 = [](std::wstring_view text) { return fs::path(text).u8string(); };
const auto Wide = [](const std::string& utf8) { return fs::u8path(utf8).wstring(); };
// Writes a line of the transcript. The first line that is not the expected one ends the test,
// unless WINDOW_TEST_ALL is set (to write a whole new transcript): what follows would only wait.
void Write(const std::string& line) {
  static const wchar_t* const expectedPath = _wgetenv(L"WINDOW_TEST_EXPECTED");
  static std::ifstream expected(expectedPath != nullptr ? expectedPath : L"");
  std::string wanted;
  std::fprintf(g_transcript, "%s\n", line.c_str());
  std::fflush(g_transcript);
  if ((!std::getline(expected, wanted) || wanted != line) && !_wgetenv(L"WINDOW_TEST_ALL"))
    std::exit(1);
}
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000) {
  for (const ULONGLONG deadline = GetTickCount64() + timeoutMs; !condition(); Sleep(15))
    if (GetTickCount64() > deadline) return false;
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
const auto Text = [](HWND control) { return Utf8(WideText(control)); };
const auto Control = [](int id) {  // found once for each window
  HWND& control = g_controls[id];
  return GetParent(control) == g_window ? control : (control = GetDlgItem(g_window, id));
};
const auto IsChecked = [](int id) {
  return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
};
const auto IsEnabled = [](int id) { return IsWindowEnabled(Control(id)) != FALSE; };
// The form's controls: the table's IDs 1 to 97, and the icon's.
const std::vector<int> kControls = [] {
  std::vector<int> ids;
  for (int id = 1; id <= kLastControlId; ++id)
    if (id <= kWonderNumberCaptionId || id >= kIconButtonId) ids.push_back(id);
  return ids;
}();
// A visible window of the class, and of the process `process` where one is given.
HWND WaitForWindow(const wchar_t* className, DWORD timeoutMs, DWORD process = 0) {
  HWND window = nullptr;
  const auto found = [&] {
    while ((window = FindWindowExW(nullptr, window, className, nullptr)) != nullptr) {
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if (IsWindowVisible(window) && (process == 0 || owner == process)) return true;
    }
    return false;
  };
  WaitUntil(found, timeoutMs);
  return window;
}

// ---- Real input through the system's input queue.

void SendKey(WORD key, WORD character, DWORD flags) {
  INPUT input = {INPUT_KEYBOARD, {}};
  input.ki = {key, character, flags, 0, 0};
  SendInput(1, &input, sizeof input);
}
void Click(HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  const LONG x = (rect.left + rect.right) / 2, y = (rect.top + rect.bottom) / 2;
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  for (DWORD flags : {MOUSEEVENTF_MOVE, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
    INPUT input = {INPUT_MOUSE, {}};
    input.mi.dx = (x * 65536 + width / 2) / width;
    input.mi.dy = (y * 65536 + height / 2) / height;
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
    Sleep(20);
  }
}
void PressKeys(const std::vector<WORD>& chord) {  // pressed in order, released in reverse
  for (WORD key : chord)
    SendKey(key, 0, 0);
  for (auto key = chord.rbegin(); key != chord.rend(); ++key)
    SendKey(*key, 0, KEYEVENTF_KEYUP);
}
// A character as typed with an input method: a Unicode key event, down and up.
void Type(wchar_t character) {
  SendKey(0, character, KEYEVENTF_UNICODE);
  SendKey(0, character, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP);
}
// The window of the program's thread that has the keyboard's focus.
HWND Focused() {
  GUITHREADINFO thread = {};
  thread.cbSize = sizeof thread;
  GetGUIThreadInfo(GetWindowThreadProcessId(g_window, nullptr), &thread);
  return thread.hwndFocus;
}
// Clicks a box and waits until it has the focus, so that what is typed next reaches it.
void ClickInto(HWND box) {
  Click(box);
  WaitUntil([box] { return Focused() == box; });
}

// ---- What the window shows.

// Has the window and all its controls painted what they have to, as the screen shows it then.
void Repaint() {
  RedrawWindow(g_window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  Sleep(300);
}

// The leading number of a step's text, and the text after it.
int Number(std::string& text) {
  const std::size_t end = text.find(' ');
  const int number = std::stoi(text.substr(0, end));
  text = end == std::string::npos ? "" : text.substr(end + 1);
  return number;
}

std::string Describe(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
         std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}
RECT ClientArea() {
  RECT client;
  GetClientRect(g_window, &client);
  MapWindowPoints(g_window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  return client;
}

// The window's text, place and outer size, and where its client area lies on the screen; then
// the layout of the form in it.
void WriteWindow() {
  RECT rect, work, both;
  GetWindowRect(g_window, &rect);
  const RECT client = ClientArea();
  Write("window \"" + Text(g_window) + "\" at " + Describe(rect) + ", client area at " +
        Describe(client));
  const auto inside = [](const RECT& inner, const RECT& outer) {
    RECT both;
    return IntersectRect(&both, &inner, &outer) && EqualRect(&both, &inner);
  };
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  std::string faults = inside(client, work) ? "" : " the client area sticks out of the work area;";
  std::map<int, RECT> controls;
  for (const int id : kControls) {
    GetWindowRect(Control(id), &controls[id]);
    if (!inside(controls[id], client)) faults += " " + std::to_string(id) + " sticks out;";
    for (const auto& [other, placed] : controls) {
      if (other != id && other != kRulesGroupId && id != kRulesGroupId &&
          IntersectRect(&both, &controls[id], &placed))
        faults += " " + std::to_string(id) + " over " + std::to_string(other) + ";";
    }
  }
  Write("layout:" + (faults.empty() ? std::string(" every control in place;") : faults) +
        " select-all at " + Describe(controls[kSelectAllBoxId]) + ", the button at " +
        Describe(controls[kGenerateButtonId]));
}

// WM_DPICHANGED carries a rectangle, which the driver puts into the program's memory.
void ChangeDpi(std::string text) {
  const int dpi = Number(text), x = Number(text), y = Number(text), width = Number(text);
  const RECT suggested = {x, y, x + width, y + Number(text)};
  DWORD id = 0;
  GetWindowThreadProcessId(g_window, &id);
  const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, id);
  void* rect = VirtualAllocEx(process, nullptr, sizeof suggested, MEM_COMMIT, PAGE_READWRITE);
  WriteProcessMemory(process, rect, &suggested, sizeof suggested, nullptr);
  SendMessageW(g_window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(rect));
  VirtualFreeEx(process, rect, 0, MEM_RELEASE);
  CloseHandle(process);
  Repaint();
}

// A run, or the reading of a picture, on its own thread leaves the window answering: the answer
// comes while the work is still `busy` (deleting AAA\old, the button disabled), which work on the
// window's thread cannot give.
void WriteBusy(const std::string& work, const std::function<bool()>& busy) {
  if (!WaitUntil([] { return !IsEnabled(kGenerateButtonId); }, 5000)) return Write("no " + work);
  const LRESULT answered =
      SendMessageTimeoutW(g_window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kPatience, 0);
  Write(work + (answered != 0 && busy() ? ", the window answering meanwhile"
                                        : ", the window not answering until its end"));
}

// The form's rows: each field row (tick, entry, value), and the select-all box.
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
  rows[kFieldCount + 1] = std::string("  install ") + (IsChecked(kInstallBoxId) ? "[x]" : "[ ]");
  rows[kFieldCount + 2] = "  rules: cost \"" + Text(Control(kCostBoxId)) + "\" prerequisite \"" +
                          Text(Control(kPrerequisiteBoxId)) + "\" out of date \"" +
                          Text(Control(kObsoleteEraBoxId)) + "\" quote \"" +
                          Text(Control(kQuoteBoxId)) + "\" gold " +
                          (IsChecked(kGoldPurchaseBoxId) ? "[x]" : "[ ]");
  return rows;
}
void WriteForm(const std::string& label) {
  Write(label);
  for (const auto& [row, line] : FormRows()) {
    if (g_shown[row] != line) Write(line);
    g_shown[row] = line;
  }
}

// The control that has the focus, and which controls are enabled: what an input changes, read
// without asking the window anything but whether a drop-down list with the focus is open, so cheap
// to poll.
std::string InputState() {
  const HWND focus = Focused();
  const int id = focus ? GetDlgCtrlID(focus) : 0;
  const bool open = (id == kPrerequisiteBoxId || id == kObsoleteEraBoxId) &&
                    SendMessageW(focus, CB_GETDROPPEDSTATE, 0, 0) != FALSE;
  std::string state = std::to_string(id) + (open ? "+list " : " ");
  for (const int id : kControls)
    state += IsEnabled(id) ? '1' : '0';
  return state;
}

// Waits until that state has stayed the same for a while, no run in progress: an input has had
// its effect. Returns the control that has the focus.
std::string Settle() {
  std::string last = InputState();
  for (int quiet = 0, round = 0; quiet < 4 && round < 300; ++round) {
    Sleep(30);
    std::string now = InputState();
    quiet = now == last && IsEnabled(kGenerateButtonId) ? quiet + 1 : 0;
    last = std::move(now);
  }
  return last.substr(0, last.find(' '));
}

// The name a screen reader gives a control, asked as Narrator and NVDA ask it from their own
// process: the control's client object (MSAA), then its own name.
std::string AccessibleName(HWND control) {
  IAccessible* accessible = nullptr;
  if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, IID_IAccessible,
                                        reinterpret_cast<void**>(&accessible))))
    return "<no object>";
  VARIANT self = {};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  const bool named = accessible->get_accName(self, &name) == S_OK && name != nullptr;
  const std::string text = named ? Utf8(name) : "<no name>";
  SysFreeString(name);
  accessible->Release();
  return text;
}
// A line for each group of controls: the field rows' three, the text boxes, and the rest.
void WriteNames() {
  const auto write = [](const char* group, int first, int count, std::vector<int> ids = {}) {
    while (count-- > 0)
      ids.push_back(first++);
    std::string line = std::string("names of the ") + group + ":";
    for (int id : ids)
      line += (id == ids.front() ? " " : " | ") + AccessibleName(Control(id));
    Write(line);
  };
  write("check boxes", kFirstFieldCheckBoxId, kFieldCount);
  write("entry boxes", kFirstEntryBoxId, kFieldCount);
  write("value boxes", kFirstValueBoxId, kFieldCount);
  write("text boxes", kFirstTextBoxId, kTextCount);
  write("others", 0, 0,
        {kSelectAllBoxId, kGenerateButtonId, kInstallBoxId, kStatusBoxId, kWonderNumberBoxId,
         kReadWonderButtonId, kRemoveWonderButtonId, kIconButtonId, kDefaultIconButtonId,
         kIconPreviewId});
  write("rules", 0, 0,
        {kRulesGroupId, kCostBoxId, kPrerequisiteBoxId, kObsoleteEraBoxId, kGoldPurchaseBoxId,
         kQuoteBoxId});
}

// ---- The steps.

void TypeIntoField(int slot, const std::wstring& keys) {
  Click(Control(FieldCheckBoxId(slot)));
  Settle();
  ClickInto(Control(EntryBoxId(slot)));
  std::string values;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    Type(keys[i]);
    if (!WaitUntil([&] { return WideText(Control(EntryBoxId(slot))) == keys.substr(0, i + 1); }))
      values += " <lost>";
    values += " \"" + Text(Control(ValueBoxId(slot))) + "\"";
  }
  WriteForm("type \"" + Utf8(keys) + "\", the value box after each key:" + values);
}

void PressKeyNames(const std::string& names) {
  // clang-format off
  const std::map<std::string, std::vector<WORD>> keys = {{"Tab", {VK_TAB}},
      {"Shift+Tab", {VK_SHIFT, VK_TAB}}, {"Space", {VK_SPACE}}, {"Enter", {VK_RETURN}},
      {"Esc", {VK_ESCAPE}}, {"Ctrl+Break", {VK_CONTROL, VK_CANCEL}}, {"Execute", {VK_EXECUTE}}, {"Down", {VK_DOWN}}};
  // clang-format on
  std::istringstream words(names);
  std::string line = "keys:";
  for (std::string key; words >> key;) {
    PressKeys(keys.at(key));
    line += " " + key + " " + Settle();
  }
  WriteForm(line);
}

// Clicks the generate button and waits for the run's end, asking the window meanwhile to answer
// within kPatience. The marker is only put where AAA is a real folder, never through a link.
void Generate(const std::string& label) {
  const fs::path marker = g_programDir / "AAA" / "marker.txt";
  fs::create_directories(marker.parent_path());  // none where AAA is already there, a link too
  if (!(GetFileAttributesW(marker.parent_path().c_str()) & FILE_ATTRIBUTE_REPARSE_POINT))
    std::fclose(_wfopen(marker.c_str(), L"wb"));
  Click(Control(kGenerateButtonId));
  bool answered = true;
  const bool over = WaitUntil(
      [&] {
        answered &=
            SendMessageTimeoutW(g_window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kPatience, 0) != 0;
        return !fs::exists(marker) && IsEnabled(kGenerateButtonId);
      },
      60000);
  Write(label + (over ? ": the run ended" : ": the run did not end") +
        (answered ? ", the window answering throughout" : ", the window hung"));
}

// A text as the transcript shows it: the work dir and the user's Documents by name, as they differ
// from run to run, and a reason line that is the system's message, in the system's language, by
// its code.
std::wstring Named(std::wstring text) {
  static const std::vector<std::pair<std::wstring, std::wstring>> names = [] {
    PWSTR documents = nullptr;
    SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &documents);
    std::vector<std::pair<std::wstring, std::wstring>> names = {
        {g_workDir.wstring(), L"<work>"}, {documents != nullptr ? documents : L"", L"<Documents>"}};
    CoTaskMemFree(documents);
    for (DWORD code = 1; code < 2000; ++code) {
      wchar_t message[1024] = {};
      FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                     message, 1024, nullptr);
      names.push_back({std::regex_replace(L"\n    " + std::wstring(message) + L"\n",
                                          std::wregex(L"[\r\n]+$"), L"\n"),
                       L"\n    <system " + std::to_wstring(code) + L">\n"});
    }
    return names;
  }();
  for (const auto& [from, to] : names)
    for (std::size_t at; from.size() > 6 && (at = text.find(from)) != std::wstring::npos;)
      text.replace(at, from.size(), to);
  return text;
}

void WriteBox(const std::string& button) {
  const HWND box = WaitForWindow(L"#32770", 30000);
  WaitUntil([&] { return !WideText(GetDlgItem(box, 0xFFFF)).empty(); });  // a box still being made
  const std::wstring text = Named(WideText(GetDlgItem(box, 0xFFFF)) + L"\n");
  Write("box \"" + Text(box) + "\": " +
        std::regex_replace(Utf8(text.substr(0, text.find_last_not_of(L'\n') + 1)),
                           std::regex("\n+(    )?"), " | "));
  Click(GetDlgItem(box, button == "Yes" ? IDYES : button == "No" ? IDNO : IDOK));
  if (!WaitUntil([&] { return !IsWindow(box); }))
    Write("  " + (button.empty() ? "OK" : button) + " does not close it");
  Settle();  // what the button started, such as a run
}

// Wine starts a Unix program as it starts a Windows one, but gives no handle to wait on: the
// script itself says when it is done, and ends its shell on the same line, so that the shell
// never reads on into the next step's script. The command goes in a file, out of reach of the
// quoting of command lines.
void RunShell(const std::string& command) {
  const fs::path done = g_workDir / "sh.done";
  fs::remove(done);
  std::ofstream(g_workDir / "sh.script", std::ios::binary)
      << "cd \"$WINDOW_TEST_WORK\" && (\n"
      << command << "\n) >sh.out 2>&1; echo $? >sh.done.new && mv sh.done.new sh.done; exit\n";
  std::wstring line = L"/bin/sh -c \". \\\"$WINDOW_TEST_WORK/sh.script\\\"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process) ||
      !WaitUntil([&] { return fs::exists(done); }, 120000))
    return Write("sh: did not run");
  std::ifstream printed(g_workDir / "sh.out"), status(done);
  for (std::string text; std::getline(printed, text);)
    Write("  | " + text);
  if (int code = 0; status >> code && code != 0) Write("  sh: exit " + std::to_string(code));
}

void Shot(const std::string& file) {  // pamcut takes the client area's left, top, width, height
  RunShell("xwd -root -silent | xwdtopnm 2>/dev/null | pamcut $(echo " + Describe(ClientArea()) +
           " | tr ,x '  ') | pamdepth 255 >\"$WINDOW_TEST_OUTPUT/" + file + "\"");
}

void Start(std::string folder) {
  const bool minimized = folder.rfind("minimized ", 0) == 0;
  g_programDir = g_workDir / Wide(minimized ? folder.substr(10) : folder);
  const std::wstring exe = (g_programDir / L"wondergen.exe").wstring();
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(minimized ? SW_SHOWMINNOACTIVE : SW_SHOWNORMAL);
  std::wstring commandLine = L"\"" + exe + L"\"";
  g_shown.clear();
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      g_workDir.c_str(), &startup, &g_process) ||
      (g_window = WaitForWindow(L"DEDU", 30000, g_process.dwProcessId)) == nullptr)
    return Write("the program did not start");
  if (minimized) return Write(IsIconic(g_window) ? "started minimized" : "not minimized");
  Repaint();
}

void Close(const std::string& label) {
  if (label.empty()) {
    SetForegroundWindow(g_window);
    PressKeys({VK_MENU, VK_F4});
  } else {
    PostMessageW(g_window, WM_CLOSE, 0, 0);
  }
  DWORD code = static_cast<DWORD>(-1);
  if (g_process.hProcess == nullptr) {
    if (WaitUntil([] { return !IsWindow(g_window); }, 30000)) code = 0;
  } else if (WaitForSingleObject(g_process.hProcess, 30000) == WAIT_OBJECT_0) {
    GetExitCodeProcess(g_process.hProcess, &code);
  }
  Write((label.empty() ? "Alt+F4" : label) + ": exit code " +
        std::to_string(static_cast<long>(code)));
}

void Attach(const std::string&) {
  g_window = WaitForWindow(L"DEDU", 30000);
  g_process = {};
  g_shown.clear();
  if (g_window != nullptr) Settle();
  Write(g_window ? "attached" : "no window to attach");
}
// The box is emptied first. One that takes digits only (ES_NUMBER) refuses the rest, and one
// limited (EM_LIMITTEXT) what goes past its limit: typed in order, what it takes is all in once the
// last of it is.
void TypeText(std::string text) {
  const HWND box = Control(Number(text));
  const auto limit = static_cast<std::size_t>(SendMessageW(box, EM_GETLIMITTEXT, 0, 0));
  SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
  ClickInto(box);
  std::wstring taken;
  for (wchar_t c : Wide(text)) {
    Type(c);
    if ((!(GetWindowLongW(box, GWL_STYLE) & ES_NUMBER) || (c >= L'0' && c <= L'9')) &&
        taken.size() < limit)
      taken += c;
    WaitUntil([&] { return WideText(box) == taken; });
  }
  WaitUntil([&] { return WideText(box) == taken; });
  Write("text box " + std::to_string(GetDlgCtrlID(box)) + ": \"" + Text(box) + "\"");
}
// Chooses FILE of the work dir as the icon through the program's open dialog, opened by a click
// or by Enter on the focused button, as a player who types its path into the dialog's name box,
// where the focus starts, and presses Enter; `watch` asks the window to answer while the picture
// is read.
void ChooseIcon(const std::string& file, bool watch, bool byKey = false) {
  byKey ? PressKeys({VK_RETURN}) : Click(Control(kIconButtonId));
  const HWND dialog = WaitForWindow(L"#32770", 30000);
  Write("dialog \"" + Text(dialog) + "\"");
  WaitUntil([dialog] { return Focused() != nullptr && GetAncestor(Focused(), GA_ROOT) == dialog; });
  for (const wchar_t c : (g_workDir / Wide(file)).wstring())
    Type(c);
  PressKeys({VK_RETURN});
  Write(WaitUntil([dialog] { return !IsWindow(dialog); }) ? "  chosen" : "  the dialog stays");
  if (watch) WriteBusy("a picture being read", [] { return !IsEnabled(kGenerateButtonId); });
  Settle();
}
// A drop-down list as a player uses it from the keyboard once it is open: what is typed chooses,
// Enter closes it on that item. Wine's list takes each character as the first of a name, Windows'
// the characters typed quickly one after another.
void Pick(std::string text) {
  const HWND list = Control(Number(text));
  const auto open = [list] { return SendMessageW(list, CB_GETDROPPEDSTATE, 0, 0) != FALSE; };
  Click(list);
  WaitUntil(open);
  for (const wchar_t c : Wide(text))
    Type(c);
  PressKeys({VK_RETURN});
  const bool closed = WaitUntil([&open] { return !open(); });
  Write("pick \"" + text + "\": \"" + Text(list) + (closed ? "\"" : "\", the list still open"));
}
void SetTemporaryFolder(const std::string& dir) {
  static const std::wstring before = _wgetenv(L"TEMP") != nullptr ? _wgetenv(L"TEMP") : L"";
  const std::wstring folder = dir.empty() ? before : (g_workDir / Wide(dir)).wstring();
  SetEnvironmentVariableW(L"TEMP", folder.c_str());
  SetEnvironmentVariableW(L"TMP", folder.c_str());
}

// clang-format off
const std::map<std::string, std::function<void(std::string)>> kSteps = {
    {"start", Start}, {"attach", Attach}, {"form", WriteForm},
    {"window", [](std::string) { WriteWindow(); }},
    {"shot", Shot},
    {"dpi", ChangeDpi},
    {"tick", [](std::string text) { Click(Control(Number(text))); Settle(); WriteForm(text); }},
    {"type", [](std::string text) { const int slot = Number(text); TypeIntoField(slot, Wide(text)); }},
    {"text", TypeText}, {"pick", Pick}, {"click", [](std::string text) { Click(Control(Number(text))); Settle(); }},
    {"icon", [](std::string file) { ChooseIcon(file, false); }},
    {"reading", [](std::string file) { ChooseIcon(file, true); }},
    {"enter", [](std::string file) { file.empty() ? PressKeys({VK_RETURN})
                                                  : ChooseIcon(file, false, true); }},
    {"keys", PressKeyNames}, {"generate", Generate},
    {"press", [](std::string) { Click(Control(kGenerateButtonId)); }},
    {"running", [](std::string) { WriteBusy("a run in progress", [] {
        return fs::exists(g_programDir / "AAA" / "old"); }); }},
    {"box", WriteBox},
    {"names", [](std::string) { WriteNames(); }},
    {"status", [](std::string) { Write("status: " + std::regex_replace(Utf8(Named(WideText(
        Control(kStatusBoxId)))), std::regex("\r\n"), " | ")); }},
    {"hold", [](std::string file) { g_held = CreateFileW((g_programDir / Wide(file)).c_str(),
        GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr); }},
    {"release", [](std::string) { CloseHandle(g_held); }},
    {"temp", SetTemporaryFolder}, {"sh", RunShell}, {"repaint", [](std::string) { Repaint(); }}, {"close", Close}, {"restore", [](std::string) { PostMessageW(g_window, WM_SYSCOMMAND, SC_RESTORE, 0);
        Write(WaitUntil([] { return !IsIconic(g_window); }) ? "restored" : "not restored"); }},
};
// clang-format on

}  // namespace

int main() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // for the screen reader's questions
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (count != 5 || (g_transcript = _wfopen(arguments[3], L"wb")) == nullptr) return 100;
  g_workDir = arguments[1];
  Write(GetACP() == std::wcstoul(arguments[4], nullptr, 10) ? "ANSI code page as the locale says"
                                                            : "ANSI code page not the locale's");
  std::ifstream steps(arguments[2]);
  for (std::string step; std::getline(steps, step);) {
    if (step.empty() || step[0] == '#') continue;
    const std::size_t blank = step.find(' ');
    const auto found = kSteps.find(step.substr(0, blank));
    found == kSteps.end() ? Write("unknown step: " + step)
                          : found->second(blank == std::string::npos ? "" : step.substr(blank + 1));
  }
  return 0;
}
