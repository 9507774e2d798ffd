#include "form_scale.h"

#include <algorithm>
#include <map>

#include "control_table.h"
#include "main_window.h"
#include "wondergen/windows_system.h"

namespace wondergen::ui {
namespace {

constexpr int kTableDpi = 96;
// Where the window ends just after the form's content, it leaves this much beside and below it.
constexpr int kContentMargin = 20;
constexpr int kSmallestDpi = 48;

int g_formDpi = kTableDpi;

int ScaledFor(int length, int dpi) {
  return MulDiv(length, dpi, kTableDpi);
}

int SystemDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

int WindowDpi(HWND window) {
  // GetDpiForWindow and AdjustWindowRectExForDpi came with Windows 10 1607.
  static const auto getDpiForWindow =
      platform::SystemFunction<UINT(WINAPI*)(HWND)>(L"user32.dll", "GetDpiForWindow");
  return getDpiForWindow != nullptr ? static_cast<int>(getDpiForWindow(window)) : SystemDpi();
}

// The system font's size, in a face of the GB2312 character set that scales (the raster system
// font does not, and has no Chinese glyphs where the ANSI code page is not 936). Made once for each
// DPI the form is measured or drawn at, a few in a process, and kept to its end, so that no font
// a control still uses is ever deleted.
HFONT FontFor(int dpi) {
  static std::map<int, HFONT> made;
  const int systemDpi = SystemDpi();
  if (dpi == systemDpi && GetACP() == 936) return nullptr;
  if (const auto found = made.find(dpi); found != made.end()) return found->second;
  LOGFONTW description = {};
  GetObjectW(GetStockObject(SYSTEM_FONT), sizeof description, &description);
  description.lfHeight = MulDiv(description.lfHeight, dpi, systemDpi);
  description.lfWidth = 0;
  description.lfCharSet = GB2312_CHARSET;
  lstrcpynW(description.lfFaceName, L"Microsoft YaHei", LF_FACESIZE);
  return made[dpi] = CreateFontIndirectW(&description);
}

// The outer size of a window whose client area has this size, at `dpi`.
SIZE WindowSizeAround(SIZE client, int dpi) {
  static const auto adjustForDpi =
      platform::SystemFunction<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>(
          L"user32.dll", "AdjustWindowRectExForDpi");
  RECT rect = {0, 0, client.cx, client.cy};
  const DWORD style = g_controlTable[kMainWindowRecord].style;
  if (adjustForDpi == nullptr || !adjustForDpi(&rect, style, FALSE, WS_EX_CONTROLPARENT, dpi))
    AdjustWindowRectEx(&rect, style, FALSE, WS_EX_CONTROLPARENT);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

// The right edge of the help text drawn for `dpi`, measured in the font made for it.
LONG MeasuredHelpRight(int dpi) {
  const HFONT font = FontFor(dpi);
  const HDC screen = GetDC(nullptr);
  const HGDIOBJ previous = SelectObject(screen, font ? font : GetStockObject(SYSTEM_FONT));
  const LONG right = HelpTextRight(screen, dpi);
  SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  return right;
}

// The window's outer size for the form drawn for `dpi`, with the help text ending at `helpRight`:
// in each direction the table's size where that fits from `corner`, or else just around the
// form's last control and help line, with the margin. The help text ends above the last field
// row, so the controls give the bottom.
SIZE WindowSizeFor(int dpi, LONG helpRight, const RECT& work, POINT corner) {
  SIZE content = {helpRight, 0};
  for (const int id : ControlIds()) {
    const ControlSpec& record = g_controlTable[id];
    content.cx =
        std::max<LONG>(content.cx, ScaledFor(record.x, dpi) + ScaledFor(record.width, dpi));
    content.cy =
        std::max<LONG>(content.cy, ScaledFor(record.y, dpi) + ScaledFor(record.height, dpi));
  }
  const int margin = ScaledFor(kContentMargin, dpi);
  const SIZE around = WindowSizeAround({content.cx + margin, content.cy + margin}, dpi);
  const ControlSpec& table = g_controlTable[kMainWindowRecord];
  SIZE size = {ScaledFor(table.width, dpi), ScaledFor(table.height, dpi)};
  if (corner.x + size.cx > work.right) size.cx = around.cx;
  if (corner.y + size.cy > work.bottom) size.cy = around.cy;
  return size;
}

struct Placement {
  int dpi;
  RECT window;
};

// The largest DPI up to the monitor's at which the form fits the monitor's work area, and the
// window for it at `corner`, moved inside the work area where it would stick out. The DPIs are
// tried with the help text measured once and scaled, as the controls are; the one found is
// measured, and stepped down while it does not fit.
Placement PlaceOn(HMONITOR monitor, int monitorDpi, POINT corner) {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  GetMonitorInfoW(monitor, &info);
  const RECT& work = info.rcWork;
  const auto fits = [&work](SIZE size) {
    return size.cx <= work.right - work.left && size.cy <= work.bottom - work.top;
  };
  const LONG helpRight = MeasuredHelpRight(monitorDpi);
  int dpi = monitorDpi;
  while (dpi > kSmallestDpi &&
         !fits(WindowSizeFor(dpi, MulDiv(helpRight, dpi, monitorDpi), work, corner)))
    --dpi;
  SIZE size;
  while (!fits(size = WindowSizeFor(dpi, MeasuredHelpRight(dpi), work, corner)) &&
         dpi > kSmallestDpi)
    --dpi;
  const LONG x = std::max(work.left, std::min(corner.x, work.right - size.cx));
  const LONG y = std::max(work.top, std::min(corner.y, work.bottom - size.cy));
  return {dpi, {x, y, x + size.cx, y + size.cy}};
}

// Moves and sizes every control for `dpi` and gives it the font made for it.
void Rescale(HWND window, int dpi) {
  g_formDpi = dpi;
  const HGDIOBJ font = FormFont() ? FormFont() : GetStockObject(SYSTEM_FONT);
  for (const int id : ControlIds()) {
    const ControlSpec& record = g_controlTable[id];
    const HWND control = GetDlgItem(window, id);
    SetWindowPos(control, nullptr, Scaled(record.x), Scaled(record.y), Scaled(record.width),
                 Scaled(MadeHeight(record)), SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
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
  return FontFor(g_formDpi);
}

// The window starts at the table's place, in screen coordinates.
void FitToMonitor(HWND window) {
  const ControlSpec& table = g_controlTable[kMainWindowRecord];
  const Placement placement = PlaceOn(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY),
                                      WindowDpi(window), {table.x, table.y});
  if (placement.dpi != g_formDpi) Rescale(window, placement.dpi);
  MoveWindowTo(window, placement.window);
}

// The suggested rectangle is taken where the form fits it at the new DPI; where the form had to be
// drawn smaller to fit the monitor's work area, the window takes the placement for that instead.
LRESULT OnDpiChanged(HWND window, WPARAM wParam, const RECT& suggested) {
  const int dpi = LOWORD(wParam);
  const Placement placement = PlaceOn(MonitorFromRect(&suggested, MONITOR_DEFAULTTONEAREST), dpi,
                                      {suggested.left, suggested.top});
  Rescale(window, placement.dpi);
  MoveWindowTo(window, placement.dpi == dpi ? suggested : placement.window);
  return 0;
}

}  // namespace wondergen::ui
