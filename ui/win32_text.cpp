#include "win32_text.h"

#include "wondergen/generator.h"
#include "wondergen/windows_system.h"

namespace wondergen::ui {
namespace {

constexpr UINT kCodePage936 = 936;

std::wstring ControlWideText(HWND control) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  const int length = GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
  return text;
}

}  // namespace

std::wstring WidenCp936(std::string_view cp936Text) {
  return platform::Widen(cp936Text, kCodePage936).value_or(std::wstring());
}

std::string ControlText(HWND control) {
  return platform::Narrow(ControlWideText(control), kCodePage936).value_or(std::string());
}

// Character by character, a surrogate pair being one: a character the code page lacks would
// become the default character.
std::wstring CharactersLackingInCp936(HWND control) {
  const std::wstring text = ControlWideText(control);
  std::wstring lacking;
  for (std::size_t at = 0, length; at < text.size(); at += length) {
    length = IS_HIGH_SURROGATE(text[at]) && at + 1 < text.size() ? 2 : 1;
    const std::wstring character = text.substr(at, length);
    if (!platform::Narrow(character, kCodePage936) && lacking.find(character) == std::wstring::npos)
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
    return WidenCp936(
        "有文件无法完整写入，新写入的部分已删除，游戏里原有的模组保持不变，游戏不会读到不完整的模组"
        "。");
  if (error == TreeError::kPutBack)
    return WidenCp936(
        "模组说明文件无法改名，新文件夹已删除，游戏里原有的模组已放回原处，保持不变。");
  if (error == TreeError::kHoldsTheOutput)
    return WidenCp936(
        "程序所在的文件夹就在这个模组文件夹里，安装会替换它，所以什么都没有改动。请把程序放到别处"
        "。");
  if (error == TreeError::kNotAFile)
    return WidenCp936("这里应该是文件，却是一个管道、套接字或设备，程序不会读取它。");
  if (error == std::errc::is_a_directory) return WidenCp936("这里应该是文件，却是一个文件夹。");
  if (error == TreeError::kMoved)
    return WidenCp936("删除时这个文件夹被其他程序移到了别处，程序没有跟过去，把它留在了那里。");
  if (error == WonderError::kChangedByHand)
    return WidenCp936(
        "这个文件被手动改过，或者不是本程序生成的：按读出的内容生成不出与它完全相同的文件。");
  if (error == TreeError::kHeldByAnotherRun)
    return WidenCp936("另一个 wondergen 占用这个文件夹已超过 30 秒。请等它完成后再按“生成”。");
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
  const std::wstring message = platform::Widen(error.message(), CP_ACP).value_or(std::wstring());
  return message + L" (" + std::to_wstring(error.value()) + L")";
}

}  // namespace wondergen::ui
