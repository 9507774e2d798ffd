#include "window_rules.h"

#include <algorithm>

#include "wondergen/windows_rules.h"

namespace wondergen::ui {
namespace {

using platform::windows::IsVolumeRoot;
using platform::windows::IsWithinFolder;

// Win32 error codes.
constexpr std::uint32_t kFileNotFound = 2, kPathNotFound = 3;
// Messages and virtual keys.
constexpr std::uint32_t kKeyDown = 0x100, kKeyUp = 0x101, kFirstKeyMessage = 0x100,
                        kLastKeyMessage = 0x109;
constexpr std::uint32_t kReturn = 0x0D, kEscape = 0x1B, kCancel = 0x03, kExecute = 0x2B;

}  // namespace

bool StartedFromArchive(std::wstring_view program, std::wstring_view temporary,
                        const std::vector<std::wstring>& userFolders) {
  if (!IsWithinFolder(program, temporary) || IsVolumeRoot(temporary)) return false;
  return std::none_of(userFolders.begin(), userFolders.end(), [&](const std::wstring& folder) {
    return !folder.empty() && IsWithinFolder(folder, temporary);
  });
}

KeyRoute RouteMessage(std::uint32_t message, std::uint32_t key, bool focusOnButton) {
  if (message < kFirstKeyMessage || message > kLastKeyMessage) return KeyRoute::kDispatch;
  const bool keyEvent = message == kKeyDown || message == kKeyUp;
  if (!keyEvent || (key != kReturn && key != kEscape && key != kCancel && key != kExecute))
    return KeyRoute::kDialogManager;
  if (message == kKeyDown && key == kReturn && focusOnButton) return KeyRoute::kPressButton;
  return KeyRoute::kSwallow;
}

Advice ChooseAdvice(const std::vector<FailureFacts>& failures, std::uint32_t probeError) {
  const auto isProtection = [](std::uint32_t error) {
    return error == kFileNotFound || error == kPathNotFound;
  };
  bool inFolder = false, inDocuments = false, held = false;
  for (const FailureFacts& failure : failures) {
    const bool blocked = failure.creation && isProtection(failure.error);
    (failure.inDocuments ? inDocuments : inFolder) |= blocked;
    held |= platform::windows::MayPassSoon(failure.error);
  }
  // Allowing the program mends its own folder too; moving it cannot mend Documents.
  if (inDocuments) return Advice::kAllowProgram;
  if (probeError != 0)
    return isProtection(probeError) ? Advice::kAllowOrMoveProgram : Advice::kMoveProgram;
  if (inFolder) return Advice::kAllowOrMoveProgram;
  return held ? Advice::kCloseHoldingPrograms : Advice::kNone;
}

}  // namespace wondergen::ui
