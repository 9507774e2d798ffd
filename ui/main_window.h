// The main window: its procedure and the handlers it dispatches to.
#pragma once

#include <windows.h>

#include <filesystem>

namespace wondergen::ui {

LRESULT CALLBACK MainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// What the form does in answer to the user; always 0.
LRESULT OnCommand(HWND window, WPARAM wParam, HWND control);

void PaintHelpText(HDC dc);

// The folder of the running executable, where AAA is rebuilt; found once per process.
const std::filesystem::path& ModuleDirectory();

}  // namespace wondergen::ui
