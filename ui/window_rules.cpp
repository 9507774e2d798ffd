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

// A picture file's first bytes and its length, and what is read from them.
struct Head {
  std::string_view bytes;
  std::uint64_t size;
  PictureHeader& header;

  // Whether the head holds `count` bytes at `at`; where it does not and the file ends before
  // them, the file is cut short there, and otherwise what lies beyond the head is not known.
  bool Holds(std::uint64_t at, std::uint64_t count) const {
    if (at + count <= bytes.size()) return true;
    header.cutShort |= at + count > size;
    return false;
  }
  std::uint32_t Byte(std::uint64_t at) const { return std::uint8_t(bytes[at]); }
  std::uint32_t Number(std::uint64_t at, int count, bool bigEndian) const {
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i)
      value |= Byte(at + i) << 8 * (bigEndian ? count - 1 - i : i);
    return value;
  }
  void Sides(std::uint64_t width, std::uint64_t height) const {
    header.sidesKnown = true;
    header.width = width, header.height = height;
  }
};

// The signature (8 bytes), then the chunks, each its length (4 bytes, big-endian), type, data and
// CRC (4 bytes), up to IEND; the first is IHDR, 13 bytes, the width and height first.
void ReadPng(const Head& head) {
  if (!head.Holds(8, 8)) return;
  if (head.Number(8, 4, true) != 13 || head.bytes.substr(12, 4) != "IHDR") {
    head.header.damaged = true;
    return;
  }
  if (!head.Holds(16, 8)) return;
  head.Sides(head.Number(16, 4, true), head.Number(20, 4, true));
  for (std::uint64_t at = 8; head.Holds(at, 8);) {
    const std::uint64_t end = at + 12 + head.Number(at, 4, true);
    if (end > head.size) head.header.cutShort = true;
    if (end > head.size || head.bytes.substr(at + 4, 4) == "IEND") return;
    at = end;
  }
}

// A JPEG's APP1 segment from `at` to `end`: "Exif\0\0", then a TIFF header (its byte order, "II"
// or "MM", 42, the first IFD's offset, 4 bytes) and that IFD (a count of 2 bytes, then entries of
// 12 bytes: tag, type, count, value); the orientation is tag 274, one SHORT, 1 to 8. The Windows
// Imaging Component under Wine gives a JPEG's frame no metadata to ask it of.
void ReadExif(const Head& head, std::uint64_t at, std::uint64_t end) {
  if (at + 14 > end || head.bytes.substr(at, 6) != std::string_view("Exif\0\0", 6)) return;
  const std::uint64_t tiff = at + 6;
  const bool bigEndian = head.bytes.substr(tiff, 2) == "MM";
  if (!bigEndian && head.bytes.substr(tiff, 2) != "II") return;
  const std::uint64_t ifd = tiff + head.Number(tiff + 4, 4, bigEndian);
  if (ifd + 2 > end) return;
  const std::uint64_t count = head.Number(ifd, 2, bigEndian);
  for (std::uint64_t entry = ifd + 2; entry < ifd + 2 + 12 * count && entry + 12 <= end;
       entry += 12) {
    if (head.Number(entry, 2, bigEndian) != 274 || head.Number(entry + 2, 2, bigEndian) != 3)
      continue;
    const std::uint32_t orientation = head.Number(entry + 8, 2, bigEndian);
    if (orientation >= 1 && orientation <= 8) head.header.orientation = int(orientation);
    return;
  }
}

// The start of image, then marker segments (0xFF, the marker, then but for a few markers their
// length, 2 bytes big-endian, counting itself) up to the first scan (SOS); a frame header (SOF0 to
// SOF15, but DHT, JPG and DAC) before it gives the precision, the height and the width.
void ReadJpeg(const Head& head) {
  for (std::uint64_t at = 2; head.Holds(at, 2);) {
    const std::uint32_t marker = head.Byte(at + 1);
    if (head.Byte(at) != 0xFF || marker == 0xD9 || (marker == 0xDA && !head.header.sidesKnown)) {
      head.header.damaged = true;  // no marker, or the end or a scan before the frame header
      return;
    }
    if (marker == 0xDA) return;
    if (marker == 0xFF || marker == 0x01 || marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7)) {
      at += marker == 0xFF ? 1 : 2;  // a fill byte, or a marker that stands alone
      continue;
    }
    if (!head.Holds(at + 2, 2)) return;
    const bool frame =
        marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame && !head.Holds(at + 5, 4)) return;
    if (frame) head.Sides(head.Number(at + 7, 2, true), head.Number(at + 5, 2, true));
    const std::uint64_t end = at + 2 + head.Number(at + 2, 2, true);
    if (marker == 0xE1) ReadExif(head, at + 4, std::min<std::uint64_t>(end, head.bytes.size()));
    at = end;
  }
}

// The logical screen's width and height (16 bits each, little-endian, at 6 and 8) and its flags (at
// 10), then its colour table where the flags give one (3 x 2^(n + 1) bytes); then extensions (0x21,
// a label, sub-blocks) up to the first frame (0x2C): its descriptor (10 bytes), colour table, code
// size (1 byte) and data, in sub-blocks of a length byte each up to an empty one.
void ReadGif(const Head& head) {
  if (!head.Holds(6, 7)) return;
  head.Sides(head.Number(6, 2, false), head.Number(8, 2, false));
  const auto table = [&head](std::uint64_t flags) {
    return head.Byte(flags) & 0x80 ? 3u << ((head.Byte(flags) & 7) + 1) : 0u;
  };
  const auto subBlocks = [&head](std::uint64_t& at) {
    while (head.Holds(at, 1)) {
      const std::uint32_t length = head.Byte(at);
      at += 1 + length;
      if (length == 0) return true;
    }
    return false;
  };
  for (std::uint64_t at = 13 + table(10); head.Holds(at, 1);) {
    if (head.Byte(at) == 0x21) {
      at += 2;
      if (!subBlocks(at)) return;
    } else if (head.Byte(at) == 0x2C && head.Holds(at, 10)) {
      at += 10 + table(at + 9) + 1;
      subBlocks(at);
      return;
    } else {
      head.header.damaged = head.Byte(at) != 0x2C;  // the trailer, or no block, before a frame
      return;
    }
  }
}

// BITMAPFILEHEADER (14 bytes, the pixels' offset at 10), then BITMAPCOREHEADER (12 bytes, sides of
// 16 bits at 18 and 20, the bits per pixel at 24) or an OS/2 or Windows header of 16 bytes or more
// (sides of 32 bits at 18 and 22, the height negative for rows from the top down, the bits per
// pixel at 28, the compression at 30); each row takes a multiple of 4 bytes. The pixels' length is
// known where they are not compressed (BI_RGB, BI_BITFIELDS, BI_ALPHABITFIELDS).
void ReadBmp(const Head& head) {
  if (!head.Holds(14, 4)) return;
  const std::uint32_t headerSize = head.Number(14, 4, false);
  const int side = headerSize == 12 ? 2 : 4;
  if (headerSize != 12 && headerSize < 16) {
    head.header.damaged = true;
    return;
  }
  if (!head.Holds(18, 2 * side)) return;
  const std::uint64_t sign = side == 2 ? 0 : 0x80000000;  // BITMAPCOREHEADER's are unsigned
  const std::uint64_t width = head.Number(18, side, false),
                      stored = head.Number(18 + side, side, false),
                      height = stored & sign ? 2 * sign - stored : stored;
  if (width & sign) {
    head.header.damaged = true;
    return;
  }
  head.Sides(width, height);
  if (!head.Holds(14, headerSize)) return;
  const std::uint32_t bits = head.Number(20 + 2 * side, 2, false);
  const std::uint32_t compression = headerSize >= 20 ? head.Number(30, 4, false) : 0;
  if (compression != 0 && compression != 3 && compression != 6) return;
  head.header.cutShort |=
      head.Number(10, 4, false) + (width * bits + 31) / 32 * 4 * height > head.size;
}

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

PictureHeader ReadPictureHeader(std::string_view head, std::uint64_t size) {
  PictureHeader header;
  const Head read{head, size, header};
  if (head.substr(0, 8) == "\x89PNG\r\n\x1a\n") {
    header.format = PictureFormat::kPng, ReadPng(read);
  } else if (head.substr(0, 3) == "\xFF\xD8\xFF") {
    header.format = PictureFormat::kJpeg, ReadJpeg(read);
  } else if (head.substr(0, 4) == "GIF8") {
    header.format = PictureFormat::kGif, ReadGif(read);
  } else if (head.substr(0, 2) == "BM") {
    header.format = PictureFormat::kBmp, ReadBmp(read);
  }
  return header;
}

PictureProblem HeaderProblem(const PictureHeader& header, std::uint64_t largest) {
  if (header.sidesKnown && (header.width == 0 || header.height == 0))
    return PictureProblem::kNoPixels;
  if (header.sidesKnown &&
      (header.width > largest || header.height > largest || header.width * header.height > largest))
    return PictureProblem::kTooLarge;
  return header.cutShort || header.damaged ? PictureProblem::kDamaged : PictureProblem::kNone;
}

PictureProblem ChoosePictureProblem(std::uint32_t hresult, const PictureHeader& header) {
  const bool read = header.format != PictureFormat::kNone && header.sidesKnown;
  if (read && (hresult == kNoSuchPicture[0] || hresult == kNoSuchPicture[1]))
    return PictureProblem::kDamaged;
  if (std::find(std::begin(kNoSuchPicture), std::end(kNoSuchPicture), hresult) !=
      std::end(kNoSuchPicture))
    return PictureProblem::kNotAPicture;
  if ((hresult & 0xFFFF0000) == kFacilityWin32 && hresult != kHandleEof)
    return PictureProblem::kCannotOpen;
  return PictureProblem::kDamaged;  // a bad header or image, a frame missing, the data cut short
}

std::array<std::uint32_t, 2> DecodeSides(std::uint32_t width, std::uint32_t height) {
  if (width <= 2 * kIconSide && height <= 2 * kIconSide) return {width, height};
  const auto [fittedWidth, fittedHeight] = FittedSides(width, height);
  return {2 * fittedWidth, 2 * fittedHeight};
}

}  // namespace wondergen::ui
