#include "window_rules.h"

#include <algorithm>
#include <iterator>

#include "control_ids.h"
#include "wondergen/generator.h"
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
// HRESULTs: a Win32 error's facility, the end of a file, and the Imaging Component's own that
// say it reads no such picture.
constexpr std::uint32_t kFacilityWin32 = 0x80070000, kHandleEof = 0x80070026;
constexpr std::uint32_t kNoSuchPicture[] = {
    0x88982F50,  // WINCODEC_ERR_COMPONENTNOTFOUND: no decoder for what the file holds
    0x88982F07,  // WINCODEC_ERR_UNKNOWNIMAGEFORMAT
    0x88982F80,  // WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT
};
// The buttons that Enter presses where they have the focus.
constexpr int kPushButtons[] = {kGenerateButtonId, kIconButtonId, kDefaultIconButtonId,
                                kReadWonderButtonId, kRemoveWonderButtonId};

}  // namespace

bool StartedFromArchive(std::wstring_view program, std::wstring_view temporary,
                        const std::vector<std::wstring>& userFolders) {
  if (!IsWithinFolder(program, temporary) || IsVolumeRoot(temporary)) return false;
  return std::none_of(userFolders.begin(), userFolders.end(), [&](const std::wstring& folder) {
    return !folder.empty() && IsWithinFolder(folder, temporary);
  });
}

KeyRoute RouteMessage(std::uint32_t message, std::uint32_t key, KeyFocus focus) {
  if (message < kFirstKeyMessage || message > kLastKeyMessage) return KeyRoute::kDispatch;
  const bool keyEvent = message == kKeyDown || message == kKeyUp;
  if (!keyEvent || (key != kReturn && key != kEscape && key != kCancel && key != kExecute))
    return KeyRoute::kDialogManager;
  if (focus == KeyFocus::kOpenList && (key == kReturn || key == kEscape))
    return KeyRoute::kDialogManager;
  if (message == kKeyDown && key == kReturn && focus == KeyFocus::kButton)
    return KeyRoute::kPressButton;
  return KeyRoute::kSwallow;
}

KeyFocus FocusKind(int controlId, bool listOpen) {
  if (std::find(std::begin(kPushButtons), std::end(kPushButtons), controlId) !=
      std::end(kPushButtons))
    return KeyFocus::kButton;
  const bool list = controlId == kPrerequisiteBoxId || controlId == kObsoleteEraBoxId;
  return list && listOpen ? KeyFocus::kOpenList : KeyFocus::kBox;
}

std::optional<int> CostInBox(std::string_view text) {
  return text.empty() ? kLowestCost : CostNumber(text);
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

PictureProblem ChoosePictureProblem(std::uint32_t hresult) {
  if (std::find(std::begin(kNoSuchPicture), std::end(kNoSuchPicture), hresult) !=
      std::end(kNoSuchPicture))
    return PictureProblem::kNotAPicture;
  if ((hresult & 0xFFFF0000) == kFacilityWin32 && hresult != kHandleEof)
    return PictureProblem::kCannotOpen;
  return PictureProblem::kDamaged;  // a bad header or image, a frame missing, the data cut short
}

}  // namespace wondergen::ui
