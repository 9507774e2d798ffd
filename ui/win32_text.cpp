#include "win32_text.h"

#include "wondergen/generator.h"

namespace wondergen::ui {
namespace {

constexpr UINT kCodePage936 = 936;

}  // namespace

std::wstring WidenCp936(std::string_view cp936Text) {
  if (cp936Text.empty()) return std::wstring();
  const int size = static_cast<int>(cp936Text.size());
  const int length = MultiByteToWideChar(kCodePage936, 0, cp936Text.data(), size, nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(kCodePage936, 0, cp936Text.data(), size, wide.data(), length);
  return wide;
}

std::string NarrowToCp936(std::wstring_view text) {
  if (text.empty()) return std::string();
  const int size = static_cast<int>(text.size());
  const int length =
      WideCharToMultiByte(kCodePage936, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return std::string();
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(kCodePage936, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
  return narrow;
}

namespace {

std::wstring ControlWideText(HWND control) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  const int length = GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
  return text;
}

}  // namespace

std::string ControlText(HWND control) {
  return NarrowToCp936(ControlWideText(control));
}

// Character by character, a surrogate pair being one: a character the code page lacks would
// become the default character.
std::wstring CharactersLackingInCp936(HWND control) {
  const std::wstring text = ControlWideText(control);
  std::wstring lacking;
  for (std::size_t at = 0, length; at < text.size(); at += length) {
    length = IS_HIGH_SURROGATE(text[at]) && at + 1 < text.size() ? 2 : 1;
    const std::wstring character = text.substr(at, length);
    BOOL usedDefault = FALSE;
    const int bytes =
        WideCharToMultiByte(kCodePage936, WC_NO_BEST_FIT_CHARS, character.data(),
                            static_cast<int>(length), nullptr, 0, nullptr, &usedDefault);
    if ((bytes <= 0 || usedDefault) && lacking.find(character) == std::wstring::npos)
      lacking += character;
  }
  return lacking;
}

void SetControlText(HWND window, int controlId, std::string_view cp936Text) {
  SetDlgItemTextW(window, controlId, WidenCp936(cp936Text).c_str());
}

std::wstring DescribeError(const std::error_code& error) {
  if (error == TreeError::kIsALink)
    return WidenCp936("程序不会跟随链接，也不会改动链接指向的内容。");
  if (error == TreeError::kNotWhole)
    return WidenCp936("有文件无法完整写入，已写入的部分已删除，游戏不会读到不完整的模组。");
  if (error.category() == std::system_category()) {
    wchar_t text[1024];  // the system's messages are a line or two
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, static_cast<DWORD>(error.value()), 0, text,
                                        static_cast<DWORD>(std::size(text)), nullptr);
    std::wstring message(text, length);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r')) {
      message.pop_back();
    }
    if (!message.empty()) return message;
  }
  const std::string message = error.message();
  std::wstring wide(message.size(), L'\0');
  const int length =
      MultiByteToWideChar(CP_ACP, 0, message.data(), static_cast<int>(message.size()), wide.data(),
                          static_cast<int>(wide.size()));
  wide.resize(static_cast<std::size_t>(length > 0 ? length : 0));
  return wide + L" (" + std::to_wstring(error.value()) + L")";
}

}  // namespace wondergen::ui
