// The Win32 boundary for text: the program holds code page 936 bytes, whatever the system's ANSI
// code page, and talks to Windows in UTF-16 only. No other file calls the conversions itself.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <system_error>

namespace wondergen::ui {

// The program's own texts, which are code page 936 throughout.
std::wstring WidenCp936(std::string_view cp936Text);

// The whole text of a control, in code page 936; empty where it holds a character that code page
// 936 lacks (CharactersLackingInCp936 finds them first).
std::string ControlText(HWND control);
// The characters of the control's text that code page 936 lacks, each once, in order; empty when
// it holds every one.
std::wstring CharactersLackingInCp936(HWND control);
void SetControlText(HWND window, int controlId, std::string_view cp936Text);

// The system's explanation of an error, in the user's language where the system has it.
std::wstring DescribeError(const std::error_code& error);

}  // namespace wondergen::ui
