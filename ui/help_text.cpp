// The help text painted on the form. Literals here are code page 936; the handles and addresses
// are made up.
#include <algorithm>

#include "form_scale.h"
#include "main_window.h"
#include "win32_text.h"

namespace wondergen::ui {
namespace {

struct HelpLine {
  int x;
  int y;
  const char* text;
};

// Painted in this order; on screen the lines at x = 480 read from top to bottom by y.
constexpr HelpLine kHelpLines[] = {
    {0, 0, "感谢青山客，石上泉，晚风亭  的无私奉献(*^.^*)"},
    {480, 320, "为预防输入字母或数据过大，不在1-2000其他数据全部视0"},
    {480, 295, "白色文本框用于输入，实际采用的数据是它对应的灰色文本框数据！"},
    {480, 345, "各项数据不要太大，建议前六：200，XX点数：20，XX槽：8"},
    {480, 395, "资料来源："},
    {480, 420, "青山客：https://forum.example.com/thread-10001-1-1.html"},
    {480, 445, "石上泉：https://forum.example.com/thread-10002-1-1.html"},
    {480, 470, "晚风亭：https://forum.example.com/thread-10003-1-1.html"},
    {480, 545, "程序所在目录会生成个叫 ：AAA 的文件夹，把里面两个文件夹复制到 文明6目录，"},
    {480, 570, "合并同名文件夹下^.^"},
};

}  // namespace

void PaintHelpText(HDC dc) {
  for (const HelpLine& line : kHelpLines) {
    const std::wstring text = WidenCp936(line.text);
    TextOutW(dc, Scaled(line.x), Scaled(line.y), text.c_str(), static_cast<int>(text.size()));
  }
}

LONG HelpTextRight(HDC dc, int dpi) {
  LONG right = 0;
  for (const HelpLine& line : kHelpLines) {
    const std::wstring text = WidenCp936(line.text);
    SIZE size = {};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    right = std::max<LONG>(right, MulDiv(line.x, dpi, 96) + size.cx);
  }
  return right;
}

}  // namespace wondergen::ui
