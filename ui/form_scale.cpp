#include "form_scale.h"

#include <algorithm>

#include "control_table.h"
#include "main_window.h"

namespace wondergen::ui {
namespace {

constexpr int kTableDpi = 96;
// Where the window ends just after the form's content, it leaves this much beside and below it.
constexpr int kContentMargin = 20;
constexpr int kSmallestDpi = 48;

int g_formDpi = kTableDpi;
HFONT g_formFont = nullptr;
bool g_formFontMade = false;

int ScaledFor(int length, int dpi) {
  return MulDiv(length, dpi, kTableDpi);
}

// A function of user32 that came with Windows 10 1607, looked up so that the imports stay those
// of every Windows 10; null where it is missing.
template <typename Function>
Function User32(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

int SystemDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

int WindowDpi(HWND window) {
  static const auto getDpiForWindow = User32<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
  return getDpiForWindow != nullptr ? static_cast<int>(getDpiForWindow(window)) : SystemDpi();
}

// The system font's size, in a face of the GB2312 character set that scales (the raster system
// font does not, and has no Chinese glyphs where the ANSI code page is not 936).
HFONT MakeFont(int dpi) {
  const int systemDpi = SystemDpi();
  if (dpi == systemDpi && GetACP() == 936) return nullptr;
  LOGFONTW description = {};
  GetObjectW(GetStockObject(SYSTEM_FONT), sizeof description, &description);
  description.lfHeight = MulDiv(description.lfHeight, dpi, systemDpi);
  description.lfWidth = 0;
  description.lfCharSet = GB2312_CHARSET;
  lstrcpynW(description.lfFaceName, L"Microsoft YaHei", LF_FACESIZE);
  return CreateFontIndirectW(&description);
}

// The outer size of a window whose client area has this size, at `dpi`.
SIZE WindowSizeAround(SIZE client, int dpi) {
  static const auto adjustForDpi =
      User32<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
  RECT rect = {0, 0, client.cx, client.cy};
  const DWORD style = g_controlTable[kMainWindowRecord].style;
  if (adjustForDpi == nullptr || !adjustForDpi(&rect, style, FALSE, WS_EX_CONTROLPARENT, dpi))
    AdjustWindowRectEx(&rect, style, FALSE, WS_EX_CONTROLPARENT);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

// The right and bottom of the form's last control and help line drawn for `dpi`, with the margin.
// The help text ends above the last field row, so the controls give the bottom.
SIZE ContentExtent(int dpi) {
  SIZE extent = {0, 0};
  for (int id = 1; id <= kControlCount; ++id) {
    const ControlSpec& record = g_controlTable[id];
    extent.cx = std::max<LONG>(extent.cx, ScaledFor(record.x, dpi) + ScaledFor(record.width, dpi));
    extent.cy = std::max<LONG>(extent.cy, ScaledFor(record.y, dpi) + ScaledFor(record.height, dpi));
  }
  const HFONT font = MakeFont(dpi);
  const HDC screen = GetDC(nullptr);
  const HGDIOBJ previous = SelectObject(screen, font ? font : GetStockObject(SYSTEM_FONT));
  const LONG helpRight = HelpTextRight(screen, dpi);
  SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  if (font != nullptr) DeleteObject(font);
  const int margin = ScaledFor(kContentMargin, dpi);
  return {std::max(extent.cx, helpRight) + margin, extent.cy + margin};
}

struct Placement {
  int dpi;
  RECT window;
};

// The largest DPI up to the monitor's at which the form fits the work area, and the window for
// it: in each direction the table's size where that fits, or else just around the content; placed
// as the table places it, moved inside the work area where it would stick out.
Placement PlaceOn(HMONITOR monitor, int monitorDpi) {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  GetMonitorInfoW(monitor, &info);
  const RECT& work = info.rcWork;
  const ControlSpec& table = g_controlTable[kMainWindowRecord];
  for (int dpi = monitorDpi;; --dpi) {
    const SIZE content = WindowSizeAround(ContentExtent(dpi), dpi);
    SIZE size = {ScaledFor(table.width, dpi), ScaledFor(table.height, dpi)};
    if (work.left + table.x + size.cx > work.right) size.cx = content.cx;
    if (work.top + table.y + size.cy > work.bottom) size.cy = content.cy;
    const bool fits = size.cx <= work.right - work.left && size.cy <= work.bottom - work.top;
    if (!fits && dpi > kSmallestDpi) continue;
    const LONG x = std::max(work.left, std::min(work.left + table.x, work.right - size.cx));
    const LONG y = std::max(work.top, std::min(work.top + table.y, work.bottom - size.cy));
    return {dpi, {x, y, x + size.cx, y + size.cy}};
  }
}

// Moves and sizes every control for `dpi` and gives it the font made for it.
void Rescale(HWND window, int dpi) {
  const HFONT previous = FormFont();
  g_formDpi = dpi;
  g_formFont = MakeFont(dpi);
  const HGDIOBJ font = g_formFont ? g_formFont : GetStockObject(SYSTEM_FONT);
  for (int id = 1; id <= kControlCount; ++id) {
    const ControlSpec& record = g_controlTable[id];
    const HWND control = GetDlgItem(window, id);
    SetWindowPos(control, nullptr, Scaled(record.x), Scaled(record.y), Scaled(record.width),
                 Scaled(record.height), SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
  if (previous != nullptr) DeleteObject(previous);
  InvalidateRect(window, nullptr, TRUE);
}

void MoveWindowTo(HWND window, const RECT& rect) {
  SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

int Scaled(int length) {
  return ScaledFor(length, g_formDpi);
}

HFONT FormFont() {
  if (!g_formFontMade) g_formFont = MakeFont(g_formDpi);
  g_formFontMade = true;
  return g_formFont;
}

void FitToMonitor(HWND window) {
  const Placement placement =
      PlaceOn(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), WindowDpi(window));
  if (placement.dpi != g_formDpi) Rescale(window, placement.dpi);
  MoveWindowTo(window, placement.window);
}

// The suggested rectangle is taken where the form fits it at the new DPI; where the form had to be
// drawn smaller to fit the monitor's work area, the window takes the size for that instead, inside
// the work area.
LRESULT OnDpiChanged(HWND window, WPARAM wParam, const RECT& suggested) {
  const HMONITOR monitor = MonitorFromRect(&suggested, MONITOR_DEFAULTTONEAREST);
  const int dpi = LOWORD(wParam);
  const Placement placement = PlaceOn(monitor, dpi);
  Rescale(window, placement.dpi);
  if (placement.dpi == dpi) {
    MoveWindowTo(window, suggested);
    return 0;
  }
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  GetMonitorInfoW(monitor, &info);
  const LONG width = placement.window.right - placement.window.left;
  const LONG height = placement.window.bottom - placement.window.top;
  const LONG x = std::max(info.rcWork.left, std::min(suggested.left, info.rcWork.right - width));
  const LONG y = std::max(info.rcWork.top, std::min(suggested.top, info.rcWork.bottom - height));
  MoveWindowTo(window, {x, y, x + width, y + height});
  return 0;
}

}  // namespace wondergen::ui
