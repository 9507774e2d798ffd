// The player's picture for the wonder's icon, read with the system's Windows Imaging Component.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "wondergen/generator.h"

namespace wondergen::ui {

// The picture in `file` (PNG, JPEG, BMP, GIF, and whatever else the system reads), upright as its
// EXIF orientation says, decoded at the size the icon needs (DecodeSides); nullopt with `why`, in
// the program's words, where it cannot be: the file cannot be opened, is no picture, is cut short
// or damaged, or has no pixels or more than kLargestPicture, which its header tells before it is
// decoded. The thread must have COM; any thread may call it. Throws std::bad_alloc where memory
// runs out.
std::optional<Picture> ReadPictureFile(const std::wstring& file, std::wstring& why);
// The same for a file's bytes in memory, refusing a picture of more than `largest` pixels.
std::optional<Picture> DecodePictureFile(std::string_view bytes, std::wstring& why,
                                         std::uint64_t largest = kLargestPicture);

}  // namespace wondergen::ui
