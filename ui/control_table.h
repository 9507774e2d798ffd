// The main window and its child controls, as data: one record each, the record's index being
// the control's ID, an ID no control has left empty. Creation loops over it.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "control_ids.h"

namespace wondergen::ui {

struct ControlSpec {
  const char* className = nullptr;  // "button", "edit" or "static"; empty for the main window
  const char* text = nullptr;       // code page 936
  DWORD style = 0;
  int x = 0;  // client coordinates for children; screen coordinates and outer size for the window
  int y = 0;
  int width = 0;
  int height = 0;
  // What a screen reader calls the control where no visible label names it (an edit box is named
  // by the static control just before it, and the form's captions are check boxes and read-only
  // edit boxes): a hidden static right before it gives the name. Code page 936; empty for none.
  std::string name = {};
  // A drop-down list's open list, below its box: the box's height is the system's for its font,
  // and the list takes the rest of the height the control is made and moved with.
  int listHeight = 0;
};

// The height a control is made and moved with, its open list's included.
inline int MadeHeight(const ControlSpec& record) {
  return record.height + record.listHeight;
}

inline constexpr DWORD kMainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// The check boxes do not tick themselves: the window procedure sets their state. Every control the
// player fills in or presses is a tab stop, so that the form can be filled from the keyboard.
inline constexpr DWORD kCheckBoxStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_CHECKBOX;
inline constexpr DWORD kEditBoxStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_LEFT;
inline constexpr DWORD kLabelStyle = WS_CHILD | WS_VISIBLE | ES_LEFT;
inline constexpr DWORD kButtonStyle =
    WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | BS_PUSHBUTTON;
// The install box and the gold purchase box tick themselves. The status box wraps its lines and
// may be read, selected and copied, but not typed into; it is no tab stop.
inline constexpr DWORD kAutoCheckBoxStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
inline constexpr DWORD kStatusBoxStyle =
    WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY;
// The wonder's number takes digits only, as they are typed; a pasted text is checked at "生成".
inline constexpr DWORD kNumberBoxStyle = kEditBoxStyle | ES_NUMBER;
inline constexpr DWORD kCaptionStyle = WS_CHILD | WS_VISIBLE | SS_LEFT;
// The icon's preview is drawn by the window, its picture over the form's background.
inline constexpr DWORD kPreviewStyle = WS_CHILD | WS_VISIBLE | SS_OWNERDRAW;
// The rules' group box, a frame with its title; a list to choose from, which takes the first
// letters typed into it; the quote, which may be longer than its box.
inline constexpr DWORD kGroupBoxStyle = WS_CHILD | WS_VISIBLE | BS_GROUPBOX;
inline constexpr DWORD kDropDownListStyle =
    WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
inline constexpr DWORD kLongTextBoxStyle = kEditBoxStyle | ES_AUTOHSCROLL;
static_assert(kMainWindowStyle == 0xCA0000 && (kCheckBoxStyle & ~WS_TABSTOP) == 0x50000002 &&
                  (kEditBoxStyle & ~WS_TABSTOP) == 0x50800000 && kLabelStyle == 0x50000000 &&
                  (kButtonStyle & ~WS_TABSTOP) == 0x50800000,
              "the form's styles");

inline constexpr int kMainWindowRecord = 0;
extern std::array<ControlSpec, kLastControlId + 1> g_controlTable;

// Fills every record; called once at start-up, before the window class is registered.
void FillControlTable();
// The child controls' IDs, ascending.
const std::vector<int>& ControlIds();

}  // namespace wondergen::ui
