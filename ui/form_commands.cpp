// What the form does in answer to the user: check boxes open and close their entry boxes, typed
// numbers are screened into the value boxes, the generate button writes the package, and a wonder
// made before is read back into the form or removed from the game.
// Literals here are code page 936.
#include <windows.h>
// After windows.h:
#include <commdlg.h>
#include <objbase.h>

#include <algorithm>
#include <array>
#include <exception>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "control_ids.h"
#include "control_table.h"
#include "main_window.h"
#include "picture_file.h"
#include "win32_text.h"
#include "window_rules.h"
#include "wondergen/generator.h"
#include "wondergen/windows_rules.h"
#include "wondergen/windows_system.h"

namespace wondergen::ui {
namespace {

bool IsChecked(HWND checkBox) {
  return SendMessageW(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// The check boxes do not tick themselves: a click flips the state here.
void FlipCheck(HWND checkBox) {
  SendMessageW(checkBox, BM_SETCHECK, IsChecked(checkBox) ? BST_UNCHECKED : BST_CHECKED, 0);
}

// Opens or closes a field's entry box, emptied either way; emptying it screens "0" into the value
// box through the entry box's own update notification.
void OpenEntryBox(HWND window, int slot, bool open) {
  EnableWindow(GetDlgItem(window, EntryBoxId(slot)), open);
  SetControlText(window, EntryBoxId(slot), "");
}

void OnFieldCheckBoxClicked(HWND window, HWND checkBox, int slot) {
  FlipCheck(checkBox);
  OpenEntryBox(window, slot, IsChecked(checkBox));
}

void OnSelectAllClicked(HWND window) {
  const HWND selectAll = GetDlgItem(window, kSelectAllBoxId);
  FlipCheck(selectAll);
  const LRESULT state = SendMessageW(selectAll, BM_GETCHECK, 0, 0);
  for (int slot = 0; slot < kFieldCount; ++slot) {
    SendDlgItemMessageW(window, FieldCheckBoxId(slot), BM_SETCHECK, state, 0);
    OpenEntryBox(window, slot, state == BST_CHECKED);
  }
}

void OnEntryBoxUpdated(HWND window, int entryBoxId) {
  const std::optional<std::string> value =
      ScreenEntryText(ControlText(GetDlgItem(window, entryBoxId)));
  if (value) SetControlText(window, entryBoxId + (kFirstValueBoxId - kFirstEntryBoxId), *value);
}

// What failed, as the head of its line in the box; a link says it is one.
const char* DescribeStep(const Failure& failure) {
  const bool link = failure.reason == TreeError::kIsALink;
  switch (failure.step) {
    case FailedStep::kDeleteEntry: return link ? "无法删除这个链接：" : "无法删除：";
    case FailedStep::kCreateFolder:
      return link ? "无法创建文件夹，这里是一个链接：" : "无法创建文件夹：";
    case FailedStep::kCreateDocument: return "无法创建文件：";
    case FailedStep::kConvertDocument: return "无法转换为 UTF-8：";
    case FailedStep::kWriteDocument: return "无法写入文件：";
    case FailedStep::kInstall: return "无法安装：";
    case FailedStep::kLock: return "无法使用这个文件夹：";
    case FailedStep::kRemove: return "无法删除奇观：";
    case FailedStep::kRead: return "无法读取：";
  }
  return "";
}

// Whether the program's folder may be written: a probe file is made there, and goes as it closes.
// Returns the Win32 error that kept it from being made, 0 where it could be.
std::uint32_t ProgramFolderProbeError() {
  const std::wstring probe = platform::ExtendedPath(
      ModuleDirectory() / (L"wondergen-probe-" + std::to_wstring(GetCurrentProcessId()) + L".tmp"));
  const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError();
  CloseHandle(file);
  return 0;
}

// What to do, by the advice that the failures call for. Windows Security's folder protection is
// named with the way to allow the program; moving it is advised only where that helps, and never
// into Desktop or Documents, which that protection covers.
std::string AdviceText(Advice advice) {
  const std::string protection = "Windows 安全中心的“受控制文件夹访问”（勒索软件防护）不允许 ";
  const std::string allow =
      "上面的“找不到”就是它造成的。请打开 Windows 安全中心 → 病毒和威胁防护 → 勒索软件防护 → "
      "允许应用通过受控制文件夹访问，添加 wondergen.exe";
  switch (advice) {
    case Advice::kNone: return "";
    case Advice::kCloseHoldingPrograms:
      return "AAA 或其中的文件正被其他程序使用（例如资源管理器正打开着这个文件夹，"
             "或杀毒、同步软件正在读取它）。请关闭这些程序，再按“生成”。";
    case Advice::kMoveProgram:
      return "程序所在的文件夹不允许写入。请把 wondergen.exe 移到一个可以写入的文件夹"
             "（例如 D:\\wondergen）再生成。";
    case Advice::kAllowOrMoveProgram:
      return protection + "wondergen.exe 在这里创建文件夹和文件，" + allow +
             "；或者把 wondergen.exe 移到受保护的文件夹以外，例如 D:\\wondergen。然后再按“生成”。";
    case Advice::kAllowProgram:
      return protection + "wondergen.exe 把模组安装到“文档”里的游戏文件夹，" + allow +
             "，再按“生成”。";
  }
  return "";
}

// One line per real cause: a failure that follows from an earlier one (a document whose folder
// could not be made) and a second failure of the same entry (a folder that could not be deleted,
// and so not made again) are not listed. Then what to do (ChooseAdvice). `action` is what failed,
// "生成" or "删除".
void ShowFailures(HWND window, const Failures& failures,
                  const std::vector<std::filesystem::path>& modsFolders,
                  const std::string& action) {
  std::wstring text = WidenCp936(action + "时出现以下问题：") + L"\n";
  std::vector<std::filesystem::path> listed;
  std::vector<FailureFacts> facts;
  for (const Failure& failure : failures) {
    const bool creation = (failure.step == FailedStep::kCreateFolder ||
                           failure.step == FailedStep::kCreateDocument) &&
                          failure.cause.empty();
    const bool inDocuments =
        std::any_of(modsFolders.begin(), modsFolders.end(), [&](const std::filesystem::path& mods) {
          return platform::windows::IsWithinFolder(failure.path.wstring(), mods.wstring());
        });
    const bool system = failure.reason.category() == std::system_category();
    facts.push_back(
        {creation, system ? static_cast<std::uint32_t>(failure.reason.value()) : 0, inDocuments});
    if (!failure.cause.empty() ||
        std::find(listed.begin(), listed.end(), failure.path) != listed.end())
      continue;
    listed.push_back(failure.path);
    text += L"\n" + WidenCp936(DescribeStep(failure)) + failure.path.wstring() + L"\n    " +
            DescribeError(failure.reason);
  }
  const std::string advice = AdviceText(ChooseAdvice(facts, ProgramFolderProbeError()));
  if (!advice.empty()) text += L"\n\n" + WidenCp936(advice);
  MessageBoxW(window, text.c_str(), WidenCp936(action + "失败").c_str(), MB_OK | MB_ICONERROR);
}

// A text box holding a character that code page 936 lacks would reach the documents with "?" in
// its place: the box names the text by its label and shows the characters, and nothing is done.
// The quote is a text as the others are.
bool TextsFitCodePage936(HWND window) {
  std::vector<std::pair<int, const char*>> boxes;
  for (int text = 0; text < kTextCount; ++text)
    boxes.emplace_back(TextBoxId(text), kTextCatalogue[text].label);
  boxes.emplace_back(kQuoteBoxId, g_controlTable[RuleCaptionId(kQuoteBoxId)].text);
  for (const auto& [box, label] : boxes) {
    const std::wstring lacking = CharactersLackingInCp936(GetDlgItem(window, box));
    if (lacking.empty()) continue;
    const std::wstring message =
        WidenCp936("“") + WidenCp936(label) +
        WidenCp936("”里有模组文字无法使用的字符（代码页 936，即 GBK，没有这些字符）：\n\n") +
        lacking + WidenCp936("\n\n请删去或换掉这些字符，再按“生成”。没有生成任何文件。");
    MessageBoxW(window, message.c_str(), WidenCp936("无法生成").c_str(), MB_OK | MB_ICONWARNING);
    return false;
  }
  return true;
}

// The wonder's own icon, fitted into its square, where the player chose a picture, and its preview
// as last drawn, at its side; the window's thread alone reads and writes them.
std::optional<Picture> g_icon;
HBITMAP g_preview = nullptr;
int g_previewSide = 0;
// Each choice of the icon counts one: a picture chosen, the Monument's icon, a wonder's read back.
// A picture is read on a thread of its own, and what it gives is the icon only where no later
// choice came meanwhile; while the latest choice is a picture being read, "生成" waits for it.
int g_iconChoice = 0;
bool g_readingPicture = false;
bool g_running = false;

// "生成" is disabled while a run is in progress or the icon is being read, the buttons that read
// and remove a wonder while a run is.
void EnableButtons(HWND window) {
  EnableWindow(GetDlgItem(window, kGenerateButtonId), !g_running && !g_readingPicture);
  for (const int id : {kReadWonderButtonId, kRemoveWonderButtonId})
    EnableWindow(GetDlgItem(window, id), !g_running);
}

// The preview at its size on screen, made from the icon once for each icon and size:
// premultiplied BGRA, as AlphaBlend takes it.
HBITMAP PreviewBitmap(int side) {
  if (g_preview != nullptr && g_previewSide == side) return g_preview;
  if (g_preview != nullptr) DeleteObject(g_preview);
  const Picture scaled = ScaledIcon(*g_icon, static_cast<std::uint32_t>(side));
  BITMAPINFO format = {};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = side;
  format.bmiHeader.biHeight = -side;  // from the top down
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  g_preview = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  g_previewSide = side;
  auto* pixel = static_cast<std::uint8_t*>(bits);
  for (std::size_t at = 0; g_preview != nullptr && at < scaled.rgba.size(); at += 4) {
    const std::uint8_t* rgba = &scaled.rgba[at];
    pixel[at] = std::uint8_t(rgba[2] * rgba[3] / 255);
    pixel[at + 1] = std::uint8_t(rgba[1] * rgba[3] / 255);
    pixel[at + 2] = std::uint8_t(rgba[0] * rgba[3] / 255);
    pixel[at + 3] = rgba[3];
  }
  return g_preview;
}

// The form's icon is now `icon`, the latest choice: its preview is made again as it is drawn.
void SetIcon(HWND window, std::optional<Picture> icon) {
  g_icon = std::move(icon);
  ++g_iconChoice;
  g_readingPicture = false;
  EnableButtons(window);
  if (g_preview != nullptr) DeleteObject(g_preview);
  g_preview = nullptr;
  InvalidateRect(GetDlgItem(window, kIconPreviewId), nullptr, TRUE);
}

// A picture chosen for the icon, read and fitted into its square on a thread of its own, so that
// the window keeps answering while a large photo is decoded; the choice it answers, and the icon,
// or else why there is none.
struct PictureReading {
  HWND window;
  std::wstring file;
  int choice;
  std::optional<Picture> icon;
  std::wstring why;
};

// Like a run's, its end always reaches the window, posted or else sent; where the window is gone,
// the reading is let go here.
DWORD WINAPI ReadPicture(void* parameter) {
  auto* reading = static_cast<PictureReading*>(parameter);
  const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  try {
    const std::optional<Picture> picture = ReadPictureFile(reading->file, reading->why);
    if (picture) reading->icon = FitIcon(*picture);
  } catch (const std::bad_alloc&) {
    reading->why = DescribeError(std::make_error_code(std::errc::not_enough_memory));
  }
  if (SUCCEEDED(com)) CoUninitialize();
  if (!PostMessageW(reading->window, kPictureRead, 0, reinterpret_cast<LPARAM>(reading)) &&
      !SendMessageW(reading->window, kPictureRead, 0, reinterpret_cast<LPARAM>(reading)))
    delete reading;
  return 0;
}

// Chooses a picture with the system's open dialog and has it read; the icon stays as it was until
// it is.
void OnChooseIcon(HWND window) {
  std::wstring file(32768, L'\0');  // a path of any length
  const std::wstring filter = WidenCp936("图片 (*.png;*.jpg;*.jpeg;*.bmp;*.gif)") + L'\0' +
                              L"*.png;*.jpg;*.jpeg;*.bmp;*.gif" + L'\0';
  const std::wstring title = WidenCp936("选择奇观图标");
  OPENFILENAMEW dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = window;
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrTitle = title.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameW(&dialog)) return;
  file.resize(file.find(L'\0'));
  g_readingPicture = true;
  auto* reading = new PictureReading{window, file, ++g_iconChoice, std::nullopt, {}};
  EnableButtons(window);
  const HANDLE reader = CreateThread(nullptr, 0, ReadPicture, reading, 0, nullptr);
  if (reader == nullptr) {
    ReadPicture(reading);  // no thread to be had: it is read on the window's thread
  } else {
    CloseHandle(reader);
  }
}

// A run on its worker thread, so that the window keeps answering while a large old tree is
// deleted, or another run waited for: a generation, on a copy of the form taken when the button
// was pressed, or the removal of a wonder. The buttons stay disabled until it ends, so that one run
// at a time works on AAA and the Mods folders.
struct Run {
  HWND window;
  Form form;
  bool install = false;
  std::optional<int> removing;                     // the wonder removed, where the run removes one
  std::vector<std::filesystem::path> modsFolders;  // installed into, where ticked and found
  RunOutcome outcome;  // for a removal, its failures, and the folders removed as `installed`
  std::vector<InstalledWonder> installedWonders;  // in the game's Mods folders once it is over
  std::wstring unexpected;
};
bool g_closeWhenDone = false;

// The run's end always reaches the window: where its message cannot be posted (a full queue), it
// is sent, and handled on the window's thread when that next takes its messages.
DWORD WINAPI RunGeneration(void* parameter) {
  Run* run = static_cast<Run*>(parameter);
  const auto waiting = [run](const std::filesystem::path& folder) {
    SendMessageW(run->window, kRunWaiting, 0, reinterpret_cast<LPARAM>(&folder));
  };
  try {
    const std::vector<std::filesystem::path> found = FindModsFolders();
    if (run->install || run->removing) run->modsFolders = found;
    if (run->removing) {
      Failures& failures = run->outcome.failures;
      run->outcome.installed = RemoveWonder(
          *run->removing, found,
          [&failures](const Failure& failure) { failures.push_back(failure); }, waiting);
    } else {
      run->outcome =
          RebuildModPackage(run->form, ModuleDirectory(), run->modsFolders, nullptr, waiting);
    }
    run->installedWonders = InstalledWonders(found, nullptr, waiting);
  } catch (const std::exception& error) {
    run->unexpected = WidenCp936(error.what());
  }
  if (!PostMessageW(run->window, kRunEnded, 0, reinterpret_cast<LPARAM>(run)))
    SendMessageW(run->window, kRunEnded, 0, reinterpret_cast<LPARAM>(run));
  return 0;
}

// What the run did, a line each, for the status box: failures are the error box's.
std::wstring Status(const Run& run) {
  std::wstring status;
  const auto line = [&status](const char* head, const std::wstring& path) {
    status += (status.empty() ? L"" : L"\r\n") + WidenCp936(head) + path;
  };
  if (!run.outcome.package.empty()) line("已生成：", run.outcome.package.wstring());
  for (const std::filesystem::path& installed : run.outcome.installed)
    line(run.removing ? "已从游戏里删除：" : "已安装到：", installed.wstring());
  if (!run.outcome.installed.empty() && !run.removing)
    line("启动游戏，在“额外内容”里启用模组。", L"");
  if (run.install && run.modsFolders.empty())
    line(
        "没有找到《文明6》的用户文件夹（文档\\My Games\\Sid Meier's Civilization VI），没有安装。"
        "请先启动一次游戏。",
        L"");
  return status;
}

// The wonder's number in its box, an empty box being the first; a text that gives none (a pasted
// one passes ES_NUMBER) is shown a box titled `failed`, and nothing is done.
std::optional<int> FormWonderNumber(HWND window, const char* failed) {
  const std::string text = ControlText(GetDlgItem(window, kWonderNumberBoxId));
  const std::optional<int> wonder = text.empty() ? kFirstWonder : WonderNumber(text);
  if (!wonder) {
    MessageBoxW(window, WidenCp936("奇观编号要在 1 到 99 之间。").c_str(),
                WidenCp936(failed).c_str(), MB_OK | MB_ICONERROR);
  }
  return wonder;
}

// The cost in its box, an empty box being the default; one out of range (0, or a text pasted past
// ES_NUMBER) is shown a box, and nothing is done.
std::optional<int> FormCost(HWND window) {
  const std::optional<int> cost = CostInBox(ControlText(GetDlgItem(window, kCostBoxId)));
  if (!cost) {
    const std::string range =
        std::to_string(kLowestCost) + " 到 " + std::to_string(kHighestCost) + " 之间。";
    MessageBoxW(window, WidenCp936("建造成本要在 " + range).c_str(), WidenCp936("生成失败").c_str(),
                MB_OK | MB_ICONERROR);
  }
  return cost;
}

// The type of the item chosen in a drop-down list: the first item is "无", none; item i + 1 is
// `types[i]`.
template <typename Row, std::size_t count>
std::string ChosenType(HWND window, int id, const std::array<Row, count>& types) {
  const LRESULT item = SendDlgItemMessageW(window, id, CB_GETCURSEL, 0, 0);
  return item >= 1 && item <= LRESULT(count) ? types[std::size_t(item - 1)].type : "";
}
template <typename Row, std::size_t count>
void ChooseType(HWND window, int id, const std::array<Row, count>& types, const std::string& type) {
  const auto found = std::find_if(types.begin(), types.end(),
                                  [&type](const Row& row) { return type == row.type; });
  const WPARAM item = found == types.end() ? 0 : WPARAM(found - types.begin() + 1);
  SendDlgItemMessageW(window, id, CB_SETCURSEL, item, 0);
}

// The buttons that start a run are disabled while one is in progress.
void SetRunning(HWND window, bool running) {
  g_running = running;
  EnableButtons(window);
}

void StartRun(std::unique_ptr<Run> run) {
  SetRunning(run->window, true);
  Run* started = run.release();
  const HANDLE worker = CreateThread(nullptr, 0, RunGeneration, started, 0, nullptr);
  if (worker == nullptr) {
    RunGeneration(started);  // no thread to be had: the run is made on the window's thread
  } else {
    CloseHandle(worker);
  }
}

// Rebuilds the tree beside the executable and writes the package from the value and text boxes.
void OnGenerate(HWND window) {
  if (g_running || g_readingPicture) return;
  if (StartedFromTemporaryFolder()) return ShowTemporaryFolderBox(window);
  const std::optional<int> wonder = FormWonderNumber(window, "生成失败");
  if (!wonder) return;
  const std::optional<int> cost = FormCost(window);
  if (!cost || !TextsFitCodePage936(window)) return;
  auto run = std::make_unique<Run>();
  run->window = window;
  run->form.wonder = *wonder;
  run->form.icon = g_icon;
  Rules& rules = run->form.rules;
  rules.cost = *cost;
  rules.prerequisite = ChosenType(window, kPrerequisiteBoxId, kPrerequisites);
  rules.obsoleteEra = ChosenType(window, kObsoleteEraBoxId, kEras);
  rules.quote = ControlText(GetDlgItem(window, kQuoteBoxId));
  rules.goldPurchase = IsChecked(GetDlgItem(window, kGoldPurchaseBoxId));
  run->install = IsChecked(GetDlgItem(window, kInstallBoxId));
  for (int slot = 0; slot < kFieldCount; ++slot)
    run->form.valueBoxes[slot] = ControlText(GetDlgItem(window, ValueBoxId(slot)));
  for (int text = 0; text < kTextCount; ++text)
    run->form.texts[text] = ControlText(GetDlgItem(window, TextBoxId(text)));
  StartRun(std::move(run));
}

// Where a reader on the window's thread waits for a run of another copy of the program: the status
// box says so at once, as it does for a run.
WaitReport WaitingHere(HWND window) {
  return [window](const std::filesystem::path& folder) {
    OnRunWaiting(window, reinterpret_cast<LPARAM>(&folder));
    UpdateWindow(GetDlgItem(window, kStatusBoxId));
  };
}

// Fills the form from the wonder whose number is in its box, installed in the game or else in AAA:
// each set field ticked, its entry box open and holding its number, which screening gives the
// value box; every other field as at the start; the texts, the icon and the rules (a wonder made
// before there were rules has the default ones). A wonder that cannot be read is named in a box,
// with the reason, and the form is left as it was.
void OnReadWonder(HWND window) {
  if (g_running) return;
  const char* failed = "无法读取奇观";
  const std::optional<int> wonder = FormWonderNumber(window, failed);
  if (!wonder) return;
  std::wstring message;
  const WonderReading reading = ReadWonder(
      *wonder, WonderShelves(FindModsFolders(), ModuleDirectory()),
      [&message](std::string_view file) {
        return DecodePictureFile(file, message, kLargestKeptSquare);
      },
      WaitingHere(window));
  const std::filesystem::path& folder = reading.path;
  if (!reading.form) {
    message = folder.empty() ? WidenCp936("游戏里没有安装奇观 " + std::to_string(*wonder) +
                                          "，程序旁边的 AAA 里也没有。")
                             : reading.path.wstring() + L"\n\n" + DescribeError(reading.reason);
    MessageBoxW(window, message.c_str(), WidenCp936(failed).c_str(), MB_OK | MB_ICONWARNING);
    return;
  }
  const Form& form = *reading.form;
  SendDlgItemMessageW(window, kSelectAllBoxId, BM_SETCHECK, BST_UNCHECKED, 0);
  for (int slot = 0; slot < kFieldCount; ++slot) {
    const bool set = IsSet(form.valueBoxes[slot]);
    SendDlgItemMessageW(window, FieldCheckBoxId(slot), BM_SETCHECK,
                        set ? BST_CHECKED : BST_UNCHECKED, 0);
    OpenEntryBox(window, slot, set);
    SetControlText(window, EntryBoxId(slot), set ? form.valueBoxes[slot] : "");
    SetControlText(window, ValueBoxId(slot), set ? form.valueBoxes[slot] : "");
  }
  for (int text = 0; text < kTextCount; ++text)
    SetControlText(window, TextBoxId(text), form.texts[text]);
  SetIcon(window, form.icon);
  SetRules(window, form.rules);
  // A texture that is not as this version makes it is no refusal: "生成" makes it again from the
  // kept picture; and what the folder holds beside the package, which "生成" deletes, is said
  // before it does, each entry on a line of its own.
  std::wstring status =
      WidenCp936("已读取奇观 " + std::to_string(*wonder) + "：") + folder.wstring();
  if (!reading.texturesMadeAgain.empty())
    status += WidenCp936("\r\n它的图标贴图与本版本做的不同，“生成”时会用保存的图片重新制作：") +
              reading.icon.wstring();
  for (const std::filesystem::path& other : reading.deletedWhenMadeAgain)
    status += WidenCp936("\r\n这一项不属于奇观的模组，“生成”时会删除：") + other.wstring();
  SetDlgItemTextW(window, kStatusBoxId, status.c_str());
}

// Asks, then removes the wonder whose number is in its box from each Mods folder that holds it.
void OnRemoveWonder(HWND window) {
  if (g_running) return;
  const char* failed = "无法删除奇观";
  const std::optional<int> wonder = FormWonderNumber(window, failed);
  if (!wonder) return;
  const std::vector<InstalledWonder> installed =
      InstalledWonders(FindModsFolders(), nullptr, WaitingHere(window));
  const auto found =
      std::find_if(installed.begin(), installed.end(),
                   [&](const InstalledWonder& each) { return each.number == *wonder; });
  const std::string number = std::to_string(*wonder);
  if (found == installed.end()) {
    MessageBoxW(window, WidenCp936("游戏里没有安装奇观 " + number + "。").c_str(),
                WidenCp936(failed).c_str(), MB_OK | MB_ICONWARNING);
    return;
  }
  const std::string name = found->name.empty() ? "无法读取" : found->name;
  const std::wstring question = WidenCp936("要从游戏里删除奇观 " + number + "（" + name + "）吗？");
  if (MessageBoxW(window, question.c_str(), WidenCp936("删除奇观").c_str(),
                  MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION) != IDYES)
    return;
  auto run = std::make_unique<Run>();
  run->window = window;
  run->removing = *wonder;
  StartRun(std::move(run));
}

}  // namespace

// Each technology and civic by its name, which a player types to find it in the list, then its
// kind and era: "制陶术（科技，远古时代）".
void FillRuleLists(HWND window) {
  const auto add = [window](int id, const std::string& item) {
    SendDlgItemMessageW(window, id, CB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(WidenCp936(item).c_str()));
  };
  add(kPrerequisiteBoxId, "无");
  for (const PrerequisiteSpec& prerequisite : kPrerequisites) {
    const char* kind = std::string_view(prerequisite.type).rfind("TECH_", 0) == 0 ? "科技" : "市政";
    add(kPrerequisiteBoxId, std::string(prerequisite.name) + "（" + kind + "，" +
                                kEras[std::size_t(prerequisite.era)].name + "）");
  }
  add(kObsoleteEraBoxId, "无");
  for (const EraSpec& era : kEras)
    add(kObsoleteEraBoxId, era.name);
}

void SetRules(HWND window, const Rules& rules) {
  SetControlText(window, kCostBoxId, std::to_string(rules.cost));
  ChooseType(window, kPrerequisiteBoxId, kPrerequisites, rules.prerequisite);
  ChooseType(window, kObsoleteEraBoxId, kEras, rules.obsoleteEra);
  SetControlText(window, kQuoteBoxId, rules.quote);
  SendDlgItemMessageW(window, kGoldPurchaseBoxId, BM_SETCHECK,
                      rules.goldPurchase ? BST_CHECKED : BST_UNCHECKED, 0);
}

// Each wonder by its number and the name the game shows; one that cannot be read says so.
void ShowStatus(HWND window, std::wstring runLines,
                const std::vector<InstalledWonder>& installedWonders) {
  std::wstring wonders;
  for (const InstalledWonder& wonder : installedWonders)
    wonders += (wonders.empty() ? L"" : WidenCp936("、")) + std::to_wstring(wonder.number) +
               (wonder.name.empty() ? WidenCp936("（无法读取）") : L" " + WidenCp936(wonder.name));
  if (!wonders.empty())
    runLines += (runLines.empty() ? L"" : L"\r\n") + WidenCp936("游戏里已安装的奇观：") + wonders;
  SetDlgItemTextW(window, kStatusBoxId, runLines.c_str());
}

// The run waits for another that works in `folder` (lParam), in this program or another copy of it.
LRESULT OnRunWaiting(HWND window, LPARAM lParam) {
  const auto& folder = *reinterpret_cast<const std::filesystem::path*>(lParam);
  SetDlgItemTextW(
      window, kStatusBoxId,
      (WidenCp936("正在等待另一个 wondergen 完成，它正在使用：") + folder.wstring()).c_str());
  return 0;
}

// A picture chosen for the icon is read (lParam carries the reading): it becomes the icon, or a box
// says why it cannot, unless a later choice came meanwhile.
LRESULT OnPictureRead(HWND window, LPARAM lParam) {
  const std::unique_ptr<PictureReading> reading(reinterpret_cast<PictureReading*>(lParam));
  if (reading->choice != g_iconChoice) return TRUE;
  if (reading->icon) {
    SetIcon(window, std::move(reading->icon));
    return TRUE;
  }
  g_readingPicture = false;
  EnableButtons(window);
  MessageBoxW(window, (reading->file + L"\n\n" + reading->why).c_str(),
              WidenCp936("无法使用这张图片").c_str(), MB_OK | MB_ICONWARNING);
  return TRUE;
}

// The icon's preview on the form's background: the picture with its transparency, or, for the
// Monument's icon, the square's outline.
LRESULT OnDrawItem(const DRAWITEMSTRUCT& item) {
  if (item.CtlID != kIconPreviewId) return FALSE;
  const RECT& area = item.rcItem;
  FillRect(item.hDC, &area, GetSysColorBrush(COLOR_WINDOW));
  const int side = std::min(area.right - area.left, area.bottom - area.top);
  if (!g_icon) {
    FrameRect(item.hDC, &area, GetSysColorBrush(COLOR_GRAYTEXT));
    return TRUE;
  }
  const HDC picture = CreateCompatibleDC(item.hDC);
  const HGDIOBJ previous = SelectObject(picture, PreviewBitmap(side));
  const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  GdiAlphaBlend(item.hDC, area.left, area.top, side, side, picture, 0, 0, side, side, blend);
  SelectObject(picture, previous);
  DeleteDC(picture);
  return TRUE;
}

// The run is over: the window is repainted, and what could not be done is shown. A close asked
// for meanwhile is carried out now.
LRESULT OnRunEnded(HWND window, LPARAM lParam) {
  const std::unique_ptr<Run> run(reinterpret_cast<Run*>(lParam));
  SetRunning(window, false);
  const HWND button = GetDlgItem(window, run->removing ? kRemoveWonderButtonId : kGenerateButtonId);
  if (GetFocus() == nullptr && GetActiveWindow() == window) SetFocus(button);
  InvalidateRect(window, nullptr, TRUE);
  ShowStatus(window, Status(*run), run->installedWonders);
  const std::string action = run->removing ? "删除" : "生成";
  if (!run->unexpected.empty()) {
    MessageBoxW(window, run->unexpected.c_str(), WidenCp936(action + "失败").c_str(),
                MB_OK | MB_ICONERROR);
  }
  if (!run->outcome.failures.empty())
    ShowFailures(window, run->outcome.failures, run->modsFolders, action);
  if (g_closeWhenDone) DestroyWindow(window);
  return 0;
}

// Closing waits for a run in progress to end, so that nothing it is writing is lost.
LRESULT OnClose(HWND window) {
  if (!g_running) return DestroyWindow(window), 0;
  g_closeWhenDone = true;
  return 0;
}

LRESULT OnCommand(HWND window, int id, int notification, HWND control) {
  const bool clicked = notification == BN_CLICKED;
  if (clicked && id >= FieldCheckBoxId(0) && id <= FieldCheckBoxId(kFieldCount - 1)) {
    OnFieldCheckBoxClicked(window, control, id - kFirstFieldCheckBoxId);
  } else if (clicked && id == kSelectAllBoxId) {
    OnSelectAllClicked(window);
  } else if (id >= EntryBoxId(0) && id <= EntryBoxId(kFieldCount - 1) &&
             notification == EN_UPDATE) {
    OnEntryBoxUpdated(window, id);
  } else if (id == kGenerateButtonId) {
    OnGenerate(window);
  } else if (clicked && id == kIconButtonId) {
    OnChooseIcon(window);
  } else if (clicked && id == kDefaultIconButtonId) {
    SetIcon(window, std::nullopt);
  } else if (clicked && id == kReadWonderButtonId) {
    OnReadWonder(window);
  } else if (clicked && id == kRemoveWonderButtonId) {
    OnRemoveWonder(window);
  }
  return 0;
}

}  // namespace wondergen::ui
