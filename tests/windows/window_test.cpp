// Drives wondergen.exe as a person would, with real clicks and key presses, and checks what the
// window shows and what it writes against the generator library itself.
//
// wondergen-window-test <wondergen.exe> <work dir> <reference dir> <screenshot.png> <code page>
// The program is copied into a folder of the work dir whose name is Chinese, and started with the
// work dir as its current directory; the reference dir receives the library's own package for the
// same form. The exit code is the number of failed checks.
#include <array>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>

#include "driver.h"
#include "png_writer.h"
#include "wondergen/generator.h"

namespace wondergen::windows_test {
namespace {

namespace fs = std::filesystem;

const std::array<const wchar_t*, kFieldCount> kFieldLabels = {
    L"科技",       L"生产",       L"信仰",       L"文化",       L"食物",     L"金币",
    L"大音乐家点", L"大艺术家点", L"大科学家点", L"大工程师点", L"大商人点", L"大将军点",
    L"大海军点",   L"大作家点",   L"大预言家点", L"宫殿槽",     L"遗物槽",   L"著作槽",
    L"艺术槽",     L"文物槽",     L"音乐槽",     L"宗教槽",     L"宜居度",   L"公民槽",
    L"住房",       L"+围墙生命",  L"+围墙防御"};
const std::array<const wchar_t*, kTextCount> kTextLabels = {L"DLC名", L"DLC说明", L"建筑名",
                                                            L"建筑说明", L"你的名字"};

// What each field row should show; the test keeps it in step with what it does.
struct FieldState {
  bool checked = false;
  std::wstring entry;
  std::wstring value;
};

struct Session {
  RunningProgram program;
  fs::path exeDir;
  std::array<FieldState, kFieldCount> fields;
  bool allSelected = false;
  std::array<std::wstring, kTextCount> texts;
};

HWND Control(const Session& session, int id) {
  return GetDlgItem(session.program.window, id);
}

std::string Cp936(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int size = static_cast<int>(text.size());
  const int length = WideCharToMultiByte(936, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(936, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
  return narrow;
}

std::string ReadWholeFile(const fs::path& path) {
  std::string bytes;
  if (FILE* in = _wfopen(path.c_str(), L"rb")) {
    char chunk[4096];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, in)) > 0)
      bytes.append(chunk, got);
    std::fclose(in);
  }
  return bytes;
}

// Compares every field row with the model, in one check.
void CheckFields(const Session& session, const std::string& what) {
  std::string differences;
  for (int slot = 0; slot < kFieldCount; ++slot) {
    const FieldState& expected = session.fields[slot];
    const HWND entry = Control(session, EntryBoxId(slot));
    const std::string row = " field " + std::to_string(slot + 1) + ":";
    if (IsChecked(Control(session, FieldCheckBoxId(slot))) != expected.checked)
      differences += row + " tick";
    if ((IsWindowEnabled(entry) != FALSE) != expected.checked)
      differences += row + " entry enabled";
    if (TextOf(entry) != expected.entry)
      differences += row + " entry \"" + Utf8(TextOf(entry)) + "\"";
    const std::wstring value = TextOf(Control(session, ValueBoxId(slot)));
    if (value != expected.value) differences += row + " value \"" + Utf8(value) + "\"";
    if (IsWindowEnabled(Control(session, ValueBoxId(slot)))) differences += row + " value enabled";
  }
  if (IsChecked(Control(session, kSelectAllBoxId)) != session.allSelected)
    differences += " select-all tick";
  Check(differences.empty(), what + differences);
}

void CheckStartUpState(const Session& session) {
  const HWND window = session.program.window;
  RECT rect;
  GetWindowRect(window, &rect);
  Check(rect.left == 1 && rect.top == 1 && rect.right - rect.left == 1080 &&
            rect.bottom - rect.top == 960,
        "the window stands at (1, 1) with the outer size 1080 x 960: (" +
            std::to_string(rect.left) + ", " + std::to_string(rect.top) + ") " +
            std::to_string(rect.right - rect.left) + " x " +
            std::to_string(rect.bottom - rect.top));
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  Check((style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)) ==
            (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX),
        "title bar, system menu and minimize box; no maximize box, no sizing border");
  CheckText(TextOf(window), L"Ziduvuv", "window title");

  struct Expected {
    const wchar_t* className;
    std::wstring text;
    LONG style;
    int x, y, width, height;
  };
  std::map<int, Expected> expected;
  for (int slot = 0; slot < kFieldCount; ++slot) {
    const int y = 20 + 25 * (slot + 1);
    expected[FieldCheckBoxId(slot)] = {L"Button", kFieldLabels[slot], 0x50000002, 0, y, 120, 20};
    expected[EntryBoxId(slot)] = {L"Edit", L"", 0x50800000, 120, y, 100, 20};
    expected[ValueBoxId(slot)] = {L"Edit", L"", 0x50800000, 300, y, 100, 20};
  }
  expected[kSelectAllBoxId] = {L"Button", L"全选", 0x50000002, 0, 20, 120, 20};
  for (int text = 0; text < kTextCount; ++text) {
    expected[TextLabelId(text)] = {L"Edit", kTextLabels[text], 0x50000000, 480, 40 + 25 * text, 80,
                                   20};
    expected[TextBoxId(text)] = {L"Edit", L"", 0x50800000, 600, 40 + 25 * text, 300, 20};
  }
  expected[kGenerateButtonId] = {L"Button", L"生成", 0x50800000, 480, 160, 120, 120};

  const Capture screen = CaptureClientArea(session.program.window);
  std::string differences;
  for (const auto& [id, control] : expected) {
    const HWND child = Control(session, id);
    const std::string name = " control " + std::to_string(id) + ":";
    if (child == nullptr) {
      differences += name + " missing";
      continue;
    }
    wchar_t className[32] = {};
    GetClassNameW(child, className, 32);
    if (lstrcmpiW(className, control.className) != 0)
      differences += name + " class " + Utf8(className);
    if (TextOf(child) != control.text)
      differences += name + " text \"" + Utf8(TextOf(child)) + "\"";
    // An edit control draws its border itself and drops WS_BORDER from its style, so the border
    // is looked for on the screen: a bordered control's top edge is drawn, a caption's is not.
    const LONG style = GetWindowLongW(child, GWL_STYLE) & ~WS_DISABLED;
    const bool edit = lstrcmpiW(className, L"Edit") == 0;
    const LONG comparedBits = edit ? ~WS_BORDER : ~0L;
    if ((style & comparedBits) != (control.style & comparedBits)) {
      differences += name + " style " + std::to_string(style);
    }
    const int topEdge = CountDarkPixels(screen, control.x + 2, control.y,
                                        control.x + control.width - 2, control.y + 1, 240);
    if ((topEdge > control.width / 2) != ((control.style & WS_BORDER) != 0)) {
      differences += name + " border " + std::to_string(topEdge);
    }
    RECT place;
    GetWindowRect(child, &place);
    MapWindowPoints(nullptr, session.program.window, reinterpret_cast<POINT*>(&place), 2);
    if (place.left != control.x || place.top != control.y ||
        place.right - place.left != control.width || place.bottom - place.top != control.height) {
      differences +=
          name + " at (" + std::to_string(place.left) + ", " + std::to_string(place.top) + ")";
    }
    const bool enabled = IsWindowEnabled(child) != FALSE;
    const bool shouldBeEnabled = id < kFirstEntryBoxId || id >= kSelectAllBoxId;
    if (enabled != shouldBeEnabled) differences += name + (enabled ? " enabled" : " disabled");
  }
  Check(differences.empty(),
        "93 controls with their class, text, style, place and enabled state" + differences);
  CheckFields(session, "after start: nothing ticked, entry and value boxes disabled and empty");
}

void ClickCheckBox(Session& session, int id, bool expectChecked) {
  Click(Control(session, id));
  Check(
      WaitUntil([&] { return IsChecked(Control(session, id)) == expectChecked; }),
      "check box " + std::to_string(id) + (expectChecked ? " ticks" : " unticks") + " on a click");
}

// Ticking or unticking a field empties its entry box, which screens "0" into its value box.
void ToggleField(Session& session, int slot) {
  FieldState& field = session.fields[slot];
  field = {!field.checked, L"", L"0"};
  ClickCheckBox(session, FieldCheckBoxId(slot), field.checked);
  WaitUntil([&] { return TextOf(Control(session, ValueBoxId(slot))) == L"0"; }, 3000);
}

void ToggleSelectAll(Session& session) {
  session.allSelected = !session.allSelected;
  for (FieldState& field : session.fields)
    field = {session.allSelected, L"", L"0"};
  ClickCheckBox(session, kSelectAllBoxId, session.allSelected);
  WaitUntil(
      [&] {
        return IsChecked(Control(session, FieldCheckBoxId(kFieldCount - 1))) ==
                   session.allSelected &&
               TextOf(Control(session, ValueBoxId(kFieldCount - 1))) == L"0";
      },
      5000);
}

void CheckTickingAndSelectAll(Session& session) {
  ToggleField(session, 0);
  CheckFields(session, "ticking science opens an empty entry box and shows 0");
  ToggleField(session, 0);
  CheckFields(session, "unticking science closes its entry box and keeps 0");
  ToggleSelectAll(session);
  CheckFields(session, "select-all ticks and opens every field, every value 0");
  ToggleField(session, 2);
  CheckFields(session, "unticking one field leaves select-all ticked");
  ToggleSelectAll(session);
  CheckFields(session, "select-all again unticks and closes every field");
}

// Types `keys` into a field's entry box one key at a time; after each key the value box must show
// the matching text of `valuesAfterEachKey`.
void TypeIntoField(Session& session, int slot, const std::wstring& keys,
                   const std::vector<std::wstring>& valuesAfterEachKey) {
  ToggleField(session, slot);  // opens it empty
  const HWND entry = Control(session, EntryBoxId(slot));
  Click(entry);
  std::string differences;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    TypeCharacter(keys[i]);
    const std::wstring typed = keys.substr(0, i + 1);
    if (!WaitUntil([&] { return TextOf(entry) == typed; }, 5000)) {
      differences += " the entry box did not take \"" + Utf8(typed) + "\"";
      break;
    }
    const std::wstring value = TextOf(Control(session, ValueBoxId(slot)));
    if (value != valuesAfterEachKey[i]) {
      differences += " after \"" + Utf8(typed) + "\": \"" + Utf8(value) + "\", expected \"" +
                     Utf8(valuesAfterEachKey[i]) + "\"";
    }
  }
  session.fields[slot].entry = keys;
  session.fields[slot].value = valuesAfterEachKey.back();
  Check(differences.empty(), "typing \"" + Utf8(keys) + "\" key by key" + differences);
}

void CheckTyping(Session& session) {
  TypeIntoField(session, 0, L"25", {L"2", L"25"});
  TypeIntoField(session, 1, L"abc", {L"0", L"0", L"0"});
  TypeIntoField(session, 2, L"-3", {L"0", L"0"});
  TypeIntoField(session, 3, L"1999", {L"1", L"19", L"199", L"1999"});
  TypeIntoField(session, 4, L"2000", {L"2", L"20", L"200", L"0"});
  TypeIntoField(session, 5, L"12abc", {L"1", L"12", L"12a", L"12ab", L"12abc"});
  TypeIntoField(session, 6, L"007", {L"0", L"0", L"007"});
  TypeIntoField(session, 7, L" 12", {L"0", L" 1", L" 12"});
  // Nine digits are out of range; the tenth byte leaves the value box alone.
  TypeIntoField(session, 8, L"1111111111",
                {L"1", L"11", L"111", L"1111", L"0", L"0", L"0", L"0", L"0", L"0"});
  TypeIntoField(session, 9, L"0", {L"0"});
  // Bytes, not characters, count: a Chinese character takes two.
  TypeIntoField(session, 15, L"5科技科技科",
                {L"5", L"5科", L"5科技", L"5科技科", L"5科技科技", L"5科技科技"});
  TypeIntoField(session, 22, L"2", {L"2"});
  TypeIntoField(session, 24, L"3", {L"3"});
  TypeIntoField(session, 26, L"1999", {L"1", L"19", L"199", L"1999"});

  // With the value box at 15, a paste that makes the entry 10 bytes long leaves it at 15.
  TypeIntoField(session, 10, L"15", {L"1", L"15"});
  SetClipboardText(L"abcdefgh");
  PressKeys({VK_CONTROL, 'V'});
  const HWND entry = Control(session, EntryBoxId(10));
  Check(WaitUntil([&] { return TextOf(entry) == L"15abcdefgh"; }),
        "the paste reaches the entry box");
  session.fields[10].entry = L"15abcdefgh";
  CheckFields(session, "after typing: every field as typed, the pasted one still 15");
}

void CheckTextBoxes(Session& session) {
  const std::array<std::wstring, kTextCount> texts = {L"奇观 Wonder", L"外星人的礼物 & <gift>",
                                                      L"说明文字", L"圣女碑二号", L"玩家abc"};
  for (int text = 0; text < kTextCount; ++text) {
    const HWND box = Control(session, TextBoxId(text));
    Click(box);
    for (wchar_t character : texts[text])
      TypeCharacter(character);
    Check(WaitUntil([&] { return TextOf(box) == texts[text]; }),
          "text box " + std::to_string(TextBoxId(text)) + " takes \"" + Utf8(texts[text]) + "\"");
    session.texts[text] = texts[text];
  }
}

// Clicks the generate button and waits until the run is over: the marker put into AAA is gone
// and the window answers again.
void PressGenerate(Session& session) {
  const fs::path marker = session.exeDir / "AAA" / "marker.txt";
  fs::create_directories(marker.parent_path());
  if (FILE* file = _wfopen(marker.c_str(), L"wb")) std::fclose(file);
  Click(Control(session, kGenerateButtonId));
  Check(WaitUntil([&] { return !fs::exists(marker); }, 15000), "the generate button rebuilds AAA");
  DWORD_PTR ignored;
  SendMessageTimeoutW(session.program.window, WM_NULL, 0, 0, SMTO_NORMAL, 15000, &ignored);
}

// The library's own package for the form as the test filled it.
void GenerateReference(const Session& session, const fs::path& referenceDir) {
  std::map<int, std::string> controls;
  for (int slot = 0; slot < kFieldCount; ++slot)
    controls[ValueBoxId(slot)] = Cp936(session.fields[slot].value);
  for (int text = 0; text < kTextCount; ++text)
    controls[TextBoxId(text)] = Cp936(session.texts[text]);
  const FormReader form = [controls](int id) {
    const auto found = controls.find(id);
    return found == controls.end() ? std::string() : found->second;
  };
  fs::create_directories(referenceDir);
  Failures failures = PrepareOutputTree(referenceDir);
  const Failures run = GenerateModPackage(form, referenceDir);
  Check(failures.empty() && run.empty(), "the library writes the reference package");
}

void CheckPackage(const Session& session, const fs::path& referenceDir, const std::string& what) {
  const OutputPaths written = MakeOutputPaths(session.exeDir);
  const OutputPaths reference = MakeOutputPaths(referenceDir);
  const std::pair<fs::path, fs::path> documents[] = {{written.localization, reference.localization},
                                                     {written.gameplayData, reference.gameplayData},
                                                     {written.manifest, reference.manifest}};
  for (const auto& [actual, expected] : documents) {
    const std::string bytes = ReadWholeFile(actual);
    Check(!bytes.empty() && bytes == ReadWholeFile(expected),
          what + ": " + actual.filename().string() + " is byte for byte the library's (" +
              std::to_string(bytes.size()) + " bytes)");
  }
}

void CheckHelpText(const Capture& capture) {
  const int lines[] = {295, 320, 345, 395, 420, 445, 470, 545, 570};
  std::string empty, painted;
  for (int y : lines) {
    if (CountDarkPixels(capture, 480, y + 2, 1075, y + 14) < 20) empty += " y=" + std::to_string(y);
  }
  if (CountDarkPixels(capture, 0, 2, 470, 14) < 20) empty += " thanks line";
  for (int y : {370, 495, 520}) {
    if (CountDarkPixels(capture, 480, y + 2, 1075, y + 14) > 0)
      painted += " y=" + std::to_string(y);
  }
  Check(empty.empty(), "the help text is painted at its ten places" + empty);
  Check(painted.empty(), "the heights between the help lines stay blank" + painted);
}

void CheckFailureIsShown(Session& session, const fs::path& referenceDir) {
  const fs::path held = session.exeDir / "AAA" / "held.txt";
  const HANDLE file = CreateFileW(held.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  Check(file != INVALID_HANDLE_VALUE, "a file in AAA is held open without sharing");
  Click(Control(session, kGenerateButtonId));
  const HWND box = WaitForMessageBox(session.program, 15000);
  Check(box != nullptr, "an error box appears");
  if (box != nullptr) {
    std::wstring text;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      text += TextOf(child) + L"\n";
    }
    CheckText(TextOf(box), L"生成失败", "the error box's title");
    Check(text.find(L"无法删除：" + held.wstring()) != std::wstring::npos,
          "the error box names the file that could not be deleted: " + Utf8(text));
    Click(GetDlgItem(box, IDOK));
    Check(WaitUntil([&] { return !IsWindow(box); }), "the error box closes with its OK button");
  }
  CloseHandle(file);
  // The rest of the tree was rebuilt around the held file, so the package is complete.
  CheckPackage(session, referenceDir, "after the failure");
}

void CheckClosing(Session& session) {
  ClickAt([&] {
    RECT rect;
    GetWindowRect(session.program.window, &rect);
    return POINT{rect.left + 900, rect.top + 800};  // a blank spot of the form
  }());
  PressKeys({VK_MENU, VK_F4});
  const long exitCode = WaitForExit(session.program, 15000);
  Check(exitCode == 0,
        "Alt+F4 closes the window and the process ends with 0 (" + std::to_string(exitCode) + ")");
}

void CheckMinimizedStart(const std::wstring& exePath, const std::wstring& workDir) {
  const RunningProgram program = StartProgram(exePath, workDir, SW_SHOWMINNOACTIVE);
  if (program.window == nullptr) return;
  Check(IsIconic(program.window) != FALSE, "started minimized, the window opens minimized");
  PostMessageW(program.window, WM_SYSCOMMAND, SC_RESTORE, 0);
  Check(WaitUntil([&] { return !IsIconic(program.window); }), "restoring shows the form");
  Check(GetDlgItem(program.window, kGenerateButtonId) != nullptr, "the restored form is complete");
  PostMessageW(program.window, WM_CLOSE, 0, 0);
  Check(WaitForExit(program, 15000) == 0, "closing it ends the process with 0");
}

}  // namespace
}  // namespace wondergen::windows_test

int main() {
  using namespace wondergen::windows_test;
  int argumentCount = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &argumentCount);
  if (argumentCount != 6) {
    Log("usage: wondergen-window-test <wondergen.exe> <work dir> <reference dir> <screenshot.png> "
        "<code page>");
    return 100;
  }
  // The program runs from a folder whose name needs Unicode, beside the reference folders.
  const std::filesystem::path programDir = std::filesystem::path(arguments[2]) / L"程序 文件夹";
  std::filesystem::create_directories(programDir);
  const std::wstring exePath = (programDir / L"wondergen.exe").wstring();
  Check(CopyFileW(arguments[1], exePath.c_str(), FALSE) != FALSE,
        "copy the program to " + Utf8(exePath));
  const std::wstring workDir = arguments[2];
  const std::filesystem::path referenceDir = arguments[3];
  const std::wstring screenshot = arguments[4];
  Check(GetACP() == static_cast<UINT>(std::wcstoul(arguments[5], nullptr, 10)),
        "the ANSI code page is " + Utf8(arguments[5]) + " (" + std::to_string(GetACP()) + ")");

  Session session;
  session.exeDir = std::filesystem::path(exePath).parent_path();
  session.program = StartProgram(exePath, workDir, SW_SHOWNORMAL);
  if (session.program.window == nullptr) return 100;

  CheckStartUpState(session);
  CheckTickingAndSelectAll(session);
  CheckTyping(session);
  CheckTextBoxes(session);

  const Capture form = CaptureClientArea(session.program.window);
  Check(WritePng(screenshot, form.width, form.height, form.rgb),
        "screenshot saved: " + Utf8(screenshot));
  CheckHelpText(form);

  GenerateReference(session, referenceDir);
  PressGenerate(session);
  CheckPackage(session, referenceDir, "first press");
  Check(!std::filesystem::exists(std::filesystem::path(workDir) / "AAA"),
        "AAA is written beside the program, not in its current directory");
  PressGenerate(session);
  CheckPackage(session, referenceDir, "second press");
  const Capture repainted = CaptureClientArea(session.program.window);
  CheckHelpText(repainted);

  CheckFailureIsShown(session, referenceDir);
  CheckClosing(session);
  CheckMinimizedStart(exePath, workDir);

  Log(std::to_string(FailureCount()) + " failed");
  return FailureCount();
}
