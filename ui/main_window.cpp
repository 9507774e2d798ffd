// Start-up, the message loop and the main window procedure.
#include "main_window.h"

#include <commctrl.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <vector>

#include "control_table.h"
#include "form_scale.h"
#include "win32_text.h"
#include "window_rules.h"
#include "wondergen/windows_system.h"

namespace wondergen::ui {
namespace {

// The program's fixed names: its window class, which the window test finds it by, and its title
// (the control table's record 0).
constexpr wchar_t kWindowClass[] = L"DEDU";
constexpr int kIconResource = 1;  // wondergen.rc

// The controls in reading order: select-all, the field rows, the text rows and the icon's column
// right of them from the top (its preview, which is no tab stop, and the buttons that choose it),
// the rules of play (the group, then each box after its caption, row by row), the button, the
// install box, the wonder's number after its caption and the buttons that read and remove that
// wonder, and the status box, which is no tab stop either. Tab moves the focus in this order, which
// is the order of the windows (their Z order), not of their IDs.
std::vector<int> ReadingOrder() {
  std::vector<int> order = {kSelectAllBoxId};
  for (int slot = 0; slot < kFieldCount; ++slot)
    order.insert(order.end(), {FieldCheckBoxId(slot), EntryBoxId(slot), ValueBoxId(slot)});
  for (int text = 0; text < kTextCount; ++text)
    order.insert(order.end(), {TextLabelId(text), TextBoxId(text)});
  order.insert(order.end(), {kIconPreviewId, kIconButtonId, kDefaultIconButtonId, kRulesGroupId});
  for (const int box : {kCostBoxId, kPrerequisiteBoxId, kObsoleteEraBoxId})
    order.insert(order.end(), {RuleCaptionId(box), box});
  order.insert(order.end(), {kGoldPurchaseBoxId, RuleCaptionId(kQuoteBoxId), kQuoteBoxId});
  order.insert(order.end(),
               {kGenerateButtonId, kInstallBoxId, kWonderNumberCaptionId, kWonderNumberBoxId,
                kReadWonderButtonId, kRemoveWonderButtonId, kStatusBoxId});
  return order;
}

// Creates the child controls from the table, at the form's scale, each named for a screen reader
// by the hidden static right before it where the table gives a name; entry and value boxes start
// disabled, the rules as a wonder has them by default. A control that cannot be created fails the
// window's creation (-1).
LRESULT OnCreate(HWND window, const CREATESTRUCTW* creation) {
  const auto create = [&](const char* className, std::string_view text, DWORD style, int id,
                          int x = 0, int y = 0, int width = 0, int height = 0) {
    return CreateWindowExW(0, WidenCp936(className).c_str(), WidenCp936(text).c_str(), style, x, y,
                           width, height, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           creation->hInstance, nullptr);
  };
  for (const int id : ControlIds()) {
    const ControlSpec& record = g_controlTable[id];
    if (!record.name.empty() && !create("static", record.name, WS_CHILD, NameLabelId(id)))
      return -1;
    const HWND control = create(record.className, record.text, record.style, id, Scaled(record.x),
                                Scaled(record.y), Scaled(record.width), Scaled(MadeHeight(record)));
    if (control == nullptr) return -1;
    if (FormFont() != nullptr)
      SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FormFont()), FALSE);
  }
  HWND previous = HWND_TOP;
  for (int id : ReadingOrder()) {
    for (const HWND control : {GetDlgItem(window, NameLabelId(id)), GetDlgItem(window, id)}) {
      if (control == nullptr) continue;
      SetWindowPos(control, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      previous = control;
    }
  }
  for (int slot = 0; slot < kFieldCount; ++slot) {
    EnableWindow(GetDlgItem(window, EntryBoxId(slot)), FALSE);
    EnableWindow(GetDlgItem(window, ValueBoxId(slot)), FALSE);
  }
  SendDlgItemMessageW(window, kWonderNumberBoxId, EM_LIMITTEXT, 2, 0);
  SendDlgItemMessageW(window, kCostBoxId, EM_LIMITTEXT, 4, 0);
  FillRuleLists(window);
  SetRules(window, Rules());
  return 0;
}

// The captions (the wonder's number's, the rules' and their group's title) stand on the form's own
// background, as the help text does; the grey of the value boxes and the status box is theirs.
LRESULT OnCtlColorStatic(HWND window, WPARAM wParam, LPARAM lParam) {
  const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
  if (id != kWonderNumberCaptionId && (id < kRulesGroupId || id >= kCostBoxId))
    return DefWindowProcW(window, WM_CTLCOLORSTATIC, wParam, lParam);
  const HDC dc = reinterpret_cast<HDC>(wParam);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
}

// The control that last had the focus; window's thread only.
HWND g_focused = nullptr;

// As a dialog does, the window gives the focus back to the control that had it when it is
// activated again, after a message box or the open dialog that the control opened too, and to the
// select-all box the first time. A box disables the window as it opens, which takes the focus
// from the control before the window is told it is no longer active: the message loop keeps
// track of it instead.
LRESULT OnActivate(HWND window, WPARAM wParam) {
  if (LOWORD(wParam) != WA_INACTIVE)
    SetFocus(g_focused != nullptr && IsWindowEnabled(g_focused)
                 ? g_focused
                 : GetDlgItem(window, kSelectAllBoxId));
  return 0;
}

// Every paint draws the whole help text, whatever the update region.
LRESULT OnPaint(HWND window) {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(window, &paint);
  if (FormFont() != nullptr) SelectObject(dc, FormFont());
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  PaintHelpText(dc);
  EndPaint(window, &paint);
  return 0;
}

// The controls take the new colours too, and the form is painted in them.
LRESULT OnSysColorChange(HWND window) {
  for (const int id : ControlIds())
    SendDlgItemMessageW(window, id, WM_SYSCOLORCHANGE, 0, 0);
  InvalidateRect(window, nullptr, TRUE);
  return 0;
}

LRESULT OnDestroy() {
  PostQuitMessage(0);
  return 0;
}

}  // namespace

LRESULT CALLBACK MainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: return OnCreate(window, reinterpret_cast<const CREATESTRUCTW*>(lParam));
    case WM_PAINT: return OnPaint(window);
    case WM_COMMAND:
      return OnCommand(window, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_ACTIVATE: return OnActivate(window, wParam);
    case WM_CLOSE: return OnClose(window);
    case kRunEnded: return OnRunEnded(window, lParam);
    case kRunWaiting: return OnRunWaiting(window, lParam);
    case kPictureRead: return OnPictureRead(window, lParam);
    case WM_DPICHANGED: return OnDpiChanged(window, wParam, *reinterpret_cast<const RECT*>(lParam));
    case WM_SYSCOLORCHANGE: return OnSysColorChange(window);
    case WM_CTLCOLORSTATIC: return OnCtlColorStatic(window, wParam, lParam);
    case WM_DRAWITEM: return OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_DESTROY: return OnDestroy();
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

const std::filesystem::path& ModuleDirectory() {
  static const std::filesystem::path directory = [] {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
      const DWORD length =
          GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
      if (length < path.size()) {
        path.resize(length);
        break;
      }
      path.resize(path.size() * 2);  // cut short: try a larger buffer
    }
    return std::filesystem::path(path).parent_path();
  }();
  return directory;
}

namespace {

// The path of a folder as its opened handle gives it: one name, whatever 8.3 names or links the
// path went through (GetTempPathW often gives a short name such as ADMINI~1).
std::wstring FinalFolderPath(const std::wstring& path) {
  const HANDLE folder = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (folder == INVALID_HANDLE_VALUE) return std::wstring();
  const std::wstring final = platform::FinalPath(folder);
  CloseHandle(folder);
  return final;
}

}  // namespace

bool StartedFromTemporaryFolder() {
  static const bool fromArchive = [] {
    wchar_t temporary[MAX_PATH + 1] = {};
    if (GetTempPathW(MAX_PATH + 1, temporary) == 0) return false;
    std::vector<std::wstring> userFolders;
    for (const KNOWNFOLDERID* known :
         {&FOLDERID_Profile, &FOLDERID_Desktop, &FOLDERID_Documents, &FOLDERID_Downloads}) {
      PWSTR path = nullptr;
      if (SUCCEEDED(SHGetKnownFolderPath(*known, 0, nullptr, &path)))
        userFolders.push_back(FinalFolderPath(path));
      CoTaskMemFree(path);
    }
    const std::wstring folder = FinalFolderPath(temporary);
    return !folder.empty() &&
           StartedFromArchive(FinalFolderPath(ModuleDirectory().wstring()), folder, userFolders);
  }();
  return fromArchive;
}

void ShowTemporaryFolderBox(HWND window) {
  MessageBoxW(
      window,
      WidenCp936("wondergen.exe 是从压缩包里直接打开的，现在位于一个临时文件夹中，压缩软件"
                 "稍后会把它连同生成的文件一起删除，所以这里不会生成任何文件。\n\n请先把 "
                 "wondergen.exe 解压到你自己的文件夹（例如 D:\\wondergen），再从那里打开它。")
          .c_str(),
      WidenCp936("请先解压").c_str(), MB_OK | MB_ICONWARNING);
}

// Where the message loop sends a message: the keyboard of a dialog on the form, but for the keys
// the dialog manager would turn into the commands of the check boxes 1 and 2 (see RouteMessage).
// Enter presses the push button that has the focus. Which control has the focus is noted after
// each message, for OnActivate.
void HandleMessage(HWND window, MSG& message) {
  const HWND focus = GetFocus();
  const int focusId = focus != nullptr && GetParent(focus) == window ? GetDlgCtrlID(focus) : 0;
  const bool openList = (focusId == kPrerequisiteBoxId || focusId == kObsoleteEraBoxId) &&
                        SendMessageW(focus, CB_GETDROPPEDSTATE, 0, 0) != FALSE;
  switch (RouteMessage(message.message, static_cast<std::uint32_t>(message.wParam),
                       FocusKind(focusId, openList))) {
    case KeyRoute::kSwallow: return;
    case KeyRoute::kPressButton: SendMessageW(focus, BM_CLICK, 0, 0); break;
    case KeyRoute::kDialogManager:
      if (IsDialogMessageW(window, &message)) break;
      [[fallthrough]];
    case KeyRoute::kDispatch: TranslateMessage(&message); DispatchMessageW(&message);
  }
  if (const HWND now = GetFocus(); now != nullptr && GetParent(now) == window) g_focused = now;
}

}  // namespace wondergen::ui

namespace {

// Where system code loads DLLs from later: System32 alone, and images preferred from there and
// never from a remote place. Both are looked up, so that the imports stay those every Windows 10
// has; DLLs that are not Microsoft's (input methods such as Sogou or QQ Pinyin) still load.
void RestrictDllLoading() {
  using wondergen::platform::SystemFunction;
  if (const auto setDirectories =
          SystemFunction<BOOL(WINAPI*)(DWORD)>(L"kernel32.dll", "SetDefaultDllDirectories"))
    setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  using SetPolicy = BOOL(WINAPI*)(PROCESS_MITIGATION_POLICY, void*, SIZE_T);
  if (const auto setPolicy =
          SystemFunction<SetPolicy>(L"kernel32.dll", "SetProcessMitigationPolicy")) {
    PROCESS_MITIGATION_IMAGE_LOAD_POLICY policy = {};
    policy.NoRemoteImages = 1;
    policy.PreferSystem32Images = 1;
    setPolicy(ProcessImageLoadPolicy, &policy, sizeof policy);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  using namespace wondergen::ui;
  RestrictDllLoading();
  // The manifest asks for version 6 of the common controls, which draws the standard controls in
  // the system's visual style; loading it before the first control is made is the documented way.
  const INITCOMMONCONTROLSEX commonControls = {sizeof commonControls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&commonControls);
  // The open dialog and the Imaging Component are COM's, in the window's thread.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  FillControlTable();

  // The program's icon, at the sizes of the title bar and the taskbar.
  const auto icon = [instance](int width, int height) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                                         GetSystemMetrics(width), GetSystemMetrics(height), 0));
  };
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = MainWindowProcedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = icon(SM_CXICON, SM_CYICON);
  windowClass.hIconSm = icon(SM_CXSMICON, SM_CYSMICON);
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  // The system's colours, white and black in the default scheme, so that a high-contrast one
  // reaches the whole form and not its controls alone.
  windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
  windowClass.lpszClassName = kWindowClass;
  if (RegisterClassExW(&windowClass) == 0) {
    MessageBoxW(nullptr, L"This program requires Windows NT", kWindowClass, MB_ICONERROR);
    return 1;
  }

  const ControlSpec& record = g_controlTable[kMainWindowRecord];
  const HWND window = CreateWindowExW(
      WS_EX_CONTROLPARENT, kWindowClass, WidenCp936(record.text).c_str(), record.style, record.x,
      record.y, record.width, record.height, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) {
    const std::wstring reason =
        DescribeError({static_cast<int>(GetLastError()), std::system_category()});
    MessageBoxW(nullptr, (WidenCp936("无法创建窗口：") + reason).c_str(), kWindowClass,
                MB_ICONERROR);
    return 1;
  }
  FitToMonitor(window);
  ShowStatus(window, L"", wondergen::InstalledWonders(wondergen::FindModsFolders()));
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  if (StartedFromTemporaryFolder()) ShowTemporaryFolderBox(window);

  MSG message = {};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    HandleMessage(window, message);
  }
  return static_cast<int>(message.wParam);
}
