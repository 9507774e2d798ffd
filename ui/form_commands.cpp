// What the form does in answer to the user: check boxes open and close their entry boxes, typed
// numbers are screened into the value boxes, and the generate button writes the package.
// Literals here are code page 936.
#include <exception>

#include "main_window.h"
#include "win32_text.h"
#include "wondergen/generator.h"

namespace wondergen::ui {
namespace {

bool IsChecked(HWND checkBox) {
  return SendMessageW(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// The check boxes do not tick themselves: a click flips the state here.
void FlipCheck(HWND checkBox) {
  SendMessageW(checkBox, BM_SETCHECK, IsChecked(checkBox) ? BST_UNCHECKED : BST_CHECKED, 0);
}

// Opens or closes a field's entry box, emptied either way; emptying it screens "0" into the value
// box through the entry box's own update notification.
void OpenEntryBox(HWND window, int slot, bool open) {
  EnableWindow(GetDlgItem(window, EntryBoxId(slot)), open);
  SetControlText(window, EntryBoxId(slot), "");
}

void OnFieldCheckBoxClicked(HWND window, HWND checkBox, int slot) {
  FlipCheck(checkBox);
  OpenEntryBox(window, slot, IsChecked(checkBox));
}

void OnSelectAllClicked(HWND window) {
  const HWND selectAll = GetDlgItem(window, kSelectAllBoxId);
  FlipCheck(selectAll);
  const LRESULT state = SendMessageW(selectAll, BM_GETCHECK, 0, 0);
  for (int slot = 0; slot < kFieldCount; ++slot) {
    SendDlgItemMessageW(window, FieldCheckBoxId(slot), BM_SETCHECK, state, 0);
    OpenEntryBox(window, slot, state == BST_CHECKED);
  }
}

void OnEntryBoxUpdated(HWND window, int entryBoxId) {
  const std::optional<std::string> value =
      ScreenEntryText(ControlText(GetDlgItem(window, entryBoxId)));
  if (value) SetControlText(window, entryBoxId + (kFirstValueBoxId - kFirstEntryBoxId), *value);
}

const char* DescribeStep(FailedStep step) {
  switch (step) {
    case FailedStep::kDeleteEntry: return "无法删除：";
    case FailedStep::kCreateFolder: return "无法创建文件夹：";
    case FailedStep::kCreateDocument: return "无法创建文件：";
    case FailedStep::kConvertDocument: return "无法转换为 UTF-8：";
    case FailedStep::kWriteDocument: return "无法写入文件：";
  }
  return "";
}

void ShowFailures(HWND window, const Failures& failures) {
  std::wstring text = WidenCp936("生成时出现以下问题：") + L"\n";
  for (const Failure& failure : failures) {
    text += L"\n" + WidenCp936(DescribeStep(failure.step)) + failure.path.wstring() + L"\n    " +
            DescribeError(failure.reason);
  }
  MessageBoxW(window, text.c_str(), WidenCp936("生成失败").c_str(), MB_OK | MB_ICONERROR);
}

// Rebuilds the tree beside the executable, writes the package from the value and text boxes, and
// repaints; what could not be done is shown once the run is over.
void OnGenerate(HWND window) {
  Failures failures;
  std::wstring unexpected;
  try {
    const FormReader readControl = [window](int id) { return ControlText(GetDlgItem(window, id)); };
    failures = RebuildModPackage(readControl, ModuleDirectory());
  } catch (const std::exception& error) {
    unexpected = WidenCp936(error.what());
  }
  InvalidateRect(window, nullptr, TRUE);
  if (!unexpected.empty()) {
    MessageBoxW(window, unexpected.c_str(), WidenCp936("生成失败").c_str(), MB_OK | MB_ICONERROR);
  }
  if (!failures.empty()) ShowFailures(window, failures);
}

}  // namespace

LRESULT OnCommand(HWND window, WPARAM wParam, HWND control) {
  const int id = LOWORD(wParam);
  const int notification = HIWORD(wParam);
  if (wParam >= static_cast<WPARAM>(FieldCheckBoxId(0)) &&
      wParam <= static_cast<WPARAM>(FieldCheckBoxId(kFieldCount - 1))) {
    OnFieldCheckBoxClicked(window, control, static_cast<int>(wParam) - kFirstFieldCheckBoxId);
  } else if (wParam == kSelectAllBoxId) {
    OnSelectAllClicked(window);
  } else if (id >= EntryBoxId(0) && id <= EntryBoxId(kFieldCount - 1) &&
             notification == EN_UPDATE) {
    OnEntryBoxUpdated(window, id);
  } else if (id == kGenerateButtonId) {
    OnGenerate(window);
  }
  return 0;
}

}  // namespace wondergen::ui
