// The picture a player gives the command line for the wonder's icon, read as picture viewers show
// it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "wondergen/generator.h"

namespace wondergen::cli {

// Why a picture file cannot be used; the messages are in English.
enum class PictureError {
  kNotAPicture = 1,  // not a PNG, JPEG, BMP or GIF that can be read
  kDamaged,          // its header is read, but not its pixels: cut short, or damaged
  kTooLarge,         // its header claims more than kLargestPicture pixels
  kEmpty,            // no pixels: a width or a height of 0
  kWidePng,          // a PNG of more than libpng's 1000000 pixels on a side
  kDeepJpeg,         // a JPEG of more than 8 bits a sample, which libjpeg-turbo's 8-bit API refuses
  kCompressedBmp,    // a BMP run-length encoded or holding a JPEG or PNG, which stb_image refuses
  kLosslessJpeg,     // a lossless or hierarchical JPEG, coding processes libjpeg-turbo lacks
  kWideJpeg,         // a JPEG of more than libjpeg's 65500 pixels on a side
  kOs2Bmp,           // a BMP of a header of 16 to 64 bytes but Windows' 40 and 56, as OS/2 2.x's
};
std::error_code make_error_code(PictureError error);

// The picture that a PNG (alpha, palette, grey, 16-bit, interlaced), JPEG (grey, colour, CMYK),
// BMP or GIF file (its first frame, with its transparency) holds, as it is stored. One of more
// than `largest` pixels is refused from its header, before decoding. A JPEG is decoded at the
// smallest of its own scales that keeps `enough` pixels on its longer side (all of them for 0).
// Throws std::bad_alloc where memory runs out, in a library's decoder too. Thread-safe.
Picture DecodePicture(std::string_view file, std::error_code& error,
                      std::uint64_t largest = kLargestPicture, std::uint32_t enough = 0);

// The picture in `file`, for the icon: decoded with pixels enough for it, then upright as its
// EXIF data says. The file is read as it is decoded, never whole before its header is known.
// Throws std::bad_alloc where memory runs out.
std::optional<Picture> ReadPictureFile(const std::filesystem::path& file, std::string& why);

// The orientation that a JPEG's EXIF data gives (tag 0x0112, 1 to 8); 1 where it gives none.
int ExifOrientation(std::string_view file);

}  // namespace wondergen::cli

namespace std {
template <>
struct is_error_code_enum<wondergen::cli::PictureError> : true_type {};
}  // namespace std
