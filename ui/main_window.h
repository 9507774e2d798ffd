// The main window: its procedure and the handlers it dispatches to.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "wondergen/generator.h"

namespace wondergen::ui {

LRESULT CALLBACK MainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// What the form does in answer to the user, from a control's ID and notification; always 0.
LRESULT OnCommand(HWND window, int id, int notification, HWND control);
// Posted by a generation run's worker thread when the run is over; lParam carries the run.
inline constexpr UINT kRunEnded = WM_APP + 1;
LRESULT OnRunEnded(HWND window, LPARAM lParam);
// Sent by the worker thread while the run waits for another run; lParam carries the folder.
inline constexpr UINT kRunWaiting = WM_APP + 2;
LRESULT OnRunWaiting(HWND window, LPARAM lParam);
// Posted by the thread that reads a picture chosen for the icon; lParam carries the reading, which
// the handler takes. TRUE.
inline constexpr UINT kPictureRead = WM_APP + 3;
LRESULT OnPictureRead(HWND window, LPARAM lParam);
LRESULT OnClose(HWND window);
// Draws the icon's preview; TRUE where the item is it.
LRESULT OnDrawItem(const DRAWITEMSTRUCT& item);
// The rules' drop-down lists filled: "无", then each technology and civic, each era, in the
// tables' order.
void FillRuleLists(HWND window);
// The rules' controls showing `rules`.
void SetRules(HWND window, const Rules& rules);
// The status box: what a run did (`runLines`, empty at start), then the wonders the game has.
void ShowStatus(HWND window, std::wstring runLines,
                const std::vector<InstalledWonder>& installedWonders);

// Paints the help text at the form's scale, in the font selected into `dc`.
void PaintHelpText(HDC dc);
// The right edge of the help text drawn for `dpi` in the font selected into `dc`.
LONG HelpTextRight(HDC dc, int dpi);

// Handles a message of the thread's loop: the form's keyboard, or else translated and dispatched.
void HandleMessage(HWND window, MSG& message);

// The folder of the running executable, where AAA is rebuilt; found once per process.
const std::filesystem::path& ModuleDirectory();

// Whether the program runs from inside the user's temporary folder, where an archiver put it when
// it was opened from inside its zip, and deletes it later with whatever was written beside it.
// Nothing is written there; the box tells the player to extract the program first.
bool StartedFromTemporaryFolder();
void ShowTemporaryFolderBox(HWND window);

}  // namespace wondergen::ui
