// The form at the scale of its monitor. The control table and the help text are laid out for 96
// DPI; the form is drawn for the monitor's DPI where the whole of it fits the monitor's work area,
// or else for the largest DPI at which it fits, and moves with the window from monitor to monitor.
// At 96 DPI, on a screen that holds the table's window, the form is the table as it stands.
// Window thread only.
#pragma once

#include <windows.h>

namespace wondergen::ui {

// A length of the control table or the help text, at the form's scale.
int Scaled(int length);
// The font of the form and the help text; null for the system font, which the form keeps where
// the ANSI code page is 936 and it is drawn for the system's DPI.
HFONT FormFont();

// Lays a new window out for the monitor it starts on: the form's scale, and the window's size and
// place inside the monitor's work area.
void FitToMonitor(HWND window);
// WM_DPICHANGED: the form rescaled for the monitor the window moved to, in the rectangle the
// system suggests.
LRESULT OnDpiChanged(HWND window, WPARAM wParam, const RECT& suggested);

}  // namespace wondergen::ui
