// Each format by the library that Debian keeps for it: libpng, libjpeg-turbo, giflib, and
// stb_image for BMP alone; libexif for a JPEG's orientation. Every one is handed the file's bytes,
// never its path, and a picture is refused from its header where it is too large.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#include <stb_image.h>
// After stb_image:
#include "picture.h"

#include <gif_lib.h>
#include <jpeglib.h>
#include <cstdio>  // before jpeglib.h, which needs FILE
// After jpeglib.h:
#include <jerror.h>
#include <libexif/exif-data.h>
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <fstream>
#include <iterator>

namespace wondergen::cli {
namespace {

struct PictureCategory : std::error_category {
  const char* name() const noexcept override { return "wondergen picture"; }
  std::string message(int error) const override {
    switch (static_cast<PictureError>(error)) {
      case PictureError::kNotAPicture:
        return "not a picture that can be read (PNG, JPEG, BMP or GIF)";
      case PictureError::kDamaged: return "the picture is cut short or damaged";
      case PictureError::kTooLarge: return "the picture has more than 50 million pixels";
      case PictureError::kEmpty: return "the picture has no pixels (its width or height is 0)";
    }
    return "unknown error";
  }
};

// Whether a picture of this size may be decoded; why not in `error`. The fuzzer takes smaller.
thread_local std::uint64_t t_largest = kLargestPicture;
bool Fits(std::uint64_t width, std::uint64_t height, std::error_code& error) {
  if (width == 0 || height == 0) error = PictureError::kEmpty;
  if (width * height > t_largest) error = PictureError::kTooLarge;
  return !error;
}

std::uint32_t Number(std::string_view file, std::size_t at, std::size_t bytes, bool bigEndian) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < bytes; ++i)
    value |= std::uint32_t(std::uint8_t(file[at + i])) << 8 * (bigEndian ? bytes - 1 - i : i);
  return value;
}

// A PNG being read. libpng jumps back to the step that called it on an error: each step sets the
// jump and holds only plain data, so that no destructor is skipped.
struct PngReading {
  png_structp png = nullptr;
  png_infop info = nullptr;
  std::string_view rest;  // what libpng has not read yet
};

// Reads the header, up to the first pixels. False where the file is cut short or damaged there.
bool StartPng(PngReading& reading) {
  if (setjmp(png_jmpbuf(reading.png))) return false;
  png_set_read_fn(reading.png, &reading.rest,
                  [](png_structp png, png_bytep into, std::size_t wanted) {
                    auto* rest = static_cast<std::string_view*>(png_get_io_ptr(png));
                    if (wanted > rest->size()) png_error(png, "cut short");
                    std::memcpy(into, rest->data(), wanted);
                    rest->remove_prefix(wanted);
                  });
  png_read_info(reading.png, reading.info);
  return true;
}

// Decodes the picture into `rgba`, a row of width x 4 bytes for each of its rows: a palette, grey
// and fewer than 8 bits expanded, a transparent colour made alpha, 16 bits taken to their high
// byte and gAMA left unapplied, as Pillow reads them, and interlaced rows put in their places.
bool ReadPng(PngReading& reading, std::uint8_t* rgba) {
  png_structp png = reading.png;
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, reading.info);
  const std::uint32_t width = png_get_image_width(png, reading.info);
  const std::uint32_t height = png_get_image_height(png, reading.info);
  for (int pass = 0; pass < passes; ++pass) {
    for (std::uint32_t y = 0; y < height; ++y)
      png_read_row(png, rgba + std::size_t(y) * width * 4, nullptr);
  }
  return true;
}

Picture DecodePng(std::string_view file, std::error_code& error) {
  PngReading reading;
  reading.rest = file;
  reading.png = png_create_read_struct(
      PNG_LIBPNG_VER_STRING, nullptr, [](png_structp png, png_const_charp) { png_longjmp(png, 1); },
      [](png_structp, png_const_charp) {});
  reading.info = reading.png ? png_create_info_struct(reading.png) : nullptr;
  Picture picture;
  if (reading.info == nullptr) {
    error = PictureError::kDamaged;
  } else if (!StartPng(reading)) {
    // libpng refuses a side of 0 with the rest of the header: its place in the first chunk tells.
    error = file.size() >= 24 && (Number(file, 16, 4, true) == 0 || Number(file, 20, 4, true) == 0)
                ? PictureError::kEmpty
                : PictureError::kDamaged;
  } else if (Fits(png_get_image_width(reading.png, reading.info),
                  png_get_image_height(reading.png, reading.info), error)) {
    picture.width = png_get_image_width(reading.png, reading.info);
    picture.height = png_get_image_height(reading.png, reading.info);
    picture.rgba.resize(std::size_t(picture.width) * picture.height * 4);
    if (!ReadPng(reading, picture.rgba.data())) error = PictureError::kDamaged;
  }
  png_destroy_read_struct(&reading.png, &reading.info, nullptr);
  return error ? Picture() : picture;
}

// A JPEG being read. libjpeg ends the program on an error unless told to jump back: each step that
// calls it sets the jump and holds only plain data, so that no destructor is skipped. Its messages
// are kept from standard error; a warning that pixels were lost jumps back too.
struct JpegErrors {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  bool lostPixels = false;
};
struct JpegReading {
  jpeg_decompress_struct jpeg;
  JpegErrors errors;
};

// libjpeg's warnings that pixels are missing or made up: the file ends (its rest taken as grey),
// a segment of coded data ends early or holds a code that means nothing (the rest of it zero), a
// restart marker out of its place, scans of a progressive file that do not fit together. The
// others leave every pixel as stored: bytes between two segments (common in cameras' files), an
// unknown JFIF revision or Adobe transform, a damaged ICC profile, a sequential scan's fields that
// libjpeg ignores.
constexpr int kLostPixels[] = {JWRN_JPEG_EOF,       JWRN_HIT_MARKER,  JWRN_HUFF_BAD_CODE,
                               JWRN_ARITH_BAD_CODE, JWRN_MUST_RESYNC, JWRN_BOGUS_PROGRESSION};

// Reads the header and chooses the output: RGBA, or CMYK to turn into it, at the smallest of
// libjpeg's scales (n/8 of each side, in its DCT, as thumbnailers decode) that keeps `enough`
// pixels on the longer side, or whole for 0. False where the file is no JPEG or is cut short.
bool StartJpeg(JpegReading& reading, std::string_view file, std::uint32_t enough) {
  jpeg_decompress_struct& jpeg = reading.jpeg;
  if (setjmp(reading.errors.jump)) return false;
  jpeg_create_decompress(&jpeg);
  jpeg_mem_src(&jpeg, reinterpret_cast<const unsigned char*>(file.data()), file.size());
  jpeg_read_header(&jpeg, TRUE);
  const bool cmyk = jpeg.jpeg_color_space == JCS_CMYK || jpeg.jpeg_color_space == JCS_YCCK;
  jpeg.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBA;
  const std::uint32_t longer = std::max(jpeg.image_width, jpeg.image_height);
  jpeg.scale_denom = 8;
  for (jpeg.scale_num = 1;
       jpeg.scale_num < 8 && (enough == 0 || longer * jpeg.scale_num < enough * 8);)
    ++jpeg.scale_num;
  jpeg_calc_output_dimensions(&jpeg);
  return true;
}

// Decodes the picture into `rgba`, a row of output_width x 4 bytes for each of its rows.
bool ReadJpeg(JpegReading& reading, std::uint8_t* rgba) {
  jpeg_decompress_struct& jpeg = reading.jpeg;
  if (setjmp(reading.errors.jump)) return false;
  jpeg_start_decompress(&jpeg);
  while (jpeg.output_scanline < jpeg.output_height) {
    JSAMPROW row = rgba + std::size_t(jpeg.output_scanline) * jpeg.output_width * 4;
    jpeg_read_scanlines(&jpeg, &row, 1);
  }
  jpeg_finish_decompress(&jpeg);
  return true;
}

Picture DecodeJpeg(std::string_view file, std::error_code& error, std::uint32_t enough) {
  JpegReading reading = {};
  reading.jpeg.err = jpeg_std_error(&reading.errors.manager);
  reading.errors.manager.error_exit = [](j_common_ptr common) {
    std::longjmp(reinterpret_cast<JpegErrors*>(common->err)->jump, 1);
  };
  reading.errors.manager.emit_message = [](j_common_ptr common, int level) {
    auto* errors = reinterpret_cast<JpegErrors*>(common->err);
    const int code = errors->manager.msg_code;
    if (level < 0 &&
        std::find(std::begin(kLostPixels), std::end(kLostPixels), code) != std::end(kLostPixels)) {
      errors->lostPixels = true;
      std::longjmp(errors->jump, 1);
    }
  };
  Picture picture;
  if (!StartJpeg(reading, file, enough)) {
    error = reading.errors.lostPixels ? PictureError::kDamaged : PictureError::kNotAPicture;
  } else if (Fits(reading.jpeg.image_width, reading.jpeg.image_height, error)) {
    const jpeg_decompress_struct& jpeg = reading.jpeg;
    picture = {jpeg.output_width, jpeg.output_height,
               std::vector<std::uint8_t>(std::size_t(jpeg.output_width) * jpeg.output_height * 4)};
    if (!ReadJpeg(reading, picture.rgba.data())) error = PictureError::kDamaged;
  }
  // Ink to light, each ink taking away its share: Adobe's CMYK, which has its marker, is stored
  // inverted, the light left.
  const bool cmyk = reading.jpeg.out_color_space == JCS_CMYK;
  for (std::size_t at = 0; cmyk && at < picture.rgba.size(); at += 4) {
    std::uint8_t* pixel = &picture.rgba[at];
    const auto light = [&](int ink) {
      return reading.jpeg.saw_Adobe_marker ? pixel[ink] : 255 - pixel[ink];
    };
    for (int colour = 0; colour < 3; ++colour)
      pixel[colour] = std::uint8_t(light(colour) * light(3) / 255);
    pixel[3] = 255;
  }
  jpeg_destroy_decompress(&reading.jpeg);
  return error ? Picture() : picture;
}

// The first frame on the logical screen, its transparent colour transparent, as viewers show a
// GIF that does not move; the rest is not read.
Picture DecodeGif(std::string_view file, std::error_code& error) {
  int code = 0;
  std::string_view rest = file;
  GifFileType* gif = DGifOpen(
      &rest,
      [](GifFileType* gif, GifByteType* into, int wanted) {
        auto* rest = static_cast<std::string_view*>(gif->UserData);
        const std::size_t given =
            std::min<std::size_t>(std::size_t(std::max(wanted, 0)), rest->size());
        std::memcpy(into, rest->data(), given);
        rest->remove_prefix(given);
        return int(given);
      },
      &code);
  if (gif == nullptr) {
    error = PictureError::kNotAPicture;  // giflib reads a side of 0, which Fits refuses
    return {};
  }
  Picture screen;
  int transparent = NO_TRANSPARENT_COLOR;
  GifRecordType record = UNDEFINED_RECORD_TYPE;
  if (Fits(gif->SWidth, gif->SHeight, error)) {
    error = PictureError::kDamaged;  // until the first frame is read whole
    screen = {std::uint32_t(gif->SWidth), std::uint32_t(gif->SHeight),
              std::vector<std::uint8_t>(std::size_t(gif->SWidth) * gif->SHeight * 4)};
  }
  while (screen.width > 0 && DGifGetRecordType(gif, &record) == GIF_OK &&
         record != TERMINATE_RECORD_TYPE) {
    if (record == EXTENSION_RECORD_TYPE) {
      int kind = 0;
      GifByteType* data = nullptr;
      GraphicsControlBlock control;
      if (DGifGetExtension(gif, &kind, &data) == GIF_ERROR) break;
      if (kind == GRAPHICS_EXT_FUNC_CODE && data != nullptr &&
          DGifExtensionToGCB(data[0], data + 1, &control) == GIF_OK)
        transparent = control.TransparentColor;
      while (data != nullptr && DGifGetExtensionNext(gif, &data) == GIF_OK) {
      }
      continue;
    }
    const GifImageDesc& frame = gif->Image;
    if (record != IMAGE_DESC_RECORD_TYPE || DGifGetImageDesc(gif) == GIF_ERROR) break;
    const ColorMapObject* colours = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
    if (colours == nullptr || frame.Left + frame.Width > gif->SWidth ||
        frame.Top + frame.Height > gif->SHeight || frame.Width <= 0)
      break;
    // An interlaced frame's rows come in four passes.
    std::vector<GifPixelType> line(std::size_t(frame.Width));
    const int starts[] = {0, 4, 2, 1}, steps[] = {8, 8, 4, 2};
    bool whole = true;
    for (int pass = frame.Interlace ? 0 : 3; pass < 4 && whole; ++pass) {
      for (int y = frame.Interlace ? starts[pass] : 0; whole && y < frame.Height;
           y += frame.Interlace ? steps[pass] : 1) {
        whole = DGifGetLine(gif, line.data(), frame.Width) == GIF_OK;
        for (int x = 0; whole && x < frame.Width; ++x) {
          if (line[x] == transparent || line[x] >= colours->ColorCount) continue;
          const GifColorType colour = colours->Colors[line[x]];
          const std::size_t at =
              (std::size_t(frame.Top + y) * screen.width + std::size_t(frame.Left + x)) * 4;
          screen.rgba[at] = colour.Red, screen.rgba[at + 1] = colour.Green;
          screen.rgba[at + 2] = colour.Blue, screen.rgba[at + 3] = 255;
        }
      }
    }
    if (whole) error.clear();
    break;
  }
  DGifCloseFile(gif, &code);
  return error ? Picture() : screen;
}

// A BMP by its headers, as Microsoft's documentation gives them: BITMAPFILEHEADER (14 bytes, where
// the pixels start at 10), then BITMAPCOREHEADER (12 bytes, sides of 16 bits) or BITMAPINFOHEADER
// or one of its later versions that stb_image reads (40, 56, 108 or 124 bytes, sides of 32 bits,
// the height negative for rows stored from the top down), each followed by the planes and the bits
// per pixel; each row takes a multiple of 4 bytes. stb_image reads what is missing as black, so a
// file shorter than its pixels is refused before it is decoded.
Picture DecodeBmp(std::string_view file, std::error_code& error) {
  const std::uint32_t headerSize = file.size() >= 18 ? Number(file, 14, 4, false) : 0;
  const std::size_t side = headerSize == 12 ? 2 : 4;  // bytes of a side
  if ((headerSize != 12 && headerSize != 40 && headerSize != 56 && headerSize != 108 &&
       headerSize != 124) ||
      file.size() < 18 + 2 * side) {
    error = PictureError::kNotAPicture;
    return {};
  }
  const auto width = std::int32_t(Number(file, 18, side, false));
  const auto stored = std::int32_t(Number(file, 18 + side, side, false));
  const std::uint64_t height = stored < 0 ? 0 - std::int64_t(stored) : stored;
  if (width < 0) {
    error = PictureError::kDamaged;
    return {};
  }
  if (!Fits(std::uint32_t(width), height, error)) return {};
  const bool headersWhole = file.size() >= 14 + std::uint64_t(headerSize);
  const std::uint64_t bits = headersWhole ? Number(file, 20 + 2 * side, 2, false) : 0;
  const std::uint64_t pixelsEnd =
      Number(file, 10, 4, false) + (std::uint64_t(width) * bits + 31) / 32 * 4 * height;
  int decodedWidth = 0, decodedHeight = 0, channels = 0;
  stbi_uc* pixels = nullptr;
  if (headersWhole && pixelsEnd <= file.size())
    pixels = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(file.data()),
                                   int(std::min<std::size_t>(file.size(), INT32_MAX)),
                                   &decodedWidth, &decodedHeight, &channels, 4);
  if (pixels == nullptr) {
    error = PictureError::kDamaged;
    return {};
  }
  Picture picture{std::uint32_t(decodedWidth), std::uint32_t(decodedHeight), {}};
  picture.rgba.assign(pixels, pixels + std::size_t(decodedWidth) * decodedHeight * 4);
  stbi_image_free(pixels);
  return picture;
}

}  // namespace

std::error_code make_error_code(PictureError error) {
  static const PictureCategory category;
  return {static_cast<int>(error), category};
}

Picture DecodePicture(std::string_view file, std::error_code& error, std::uint64_t largest,
                      std::uint32_t enough) {
  t_largest = largest;
  if (file.substr(0, 8) == "\x89PNG\r\n\x1a\n") return DecodePng(file, error);
  if (file.substr(0, 3) == "\xFF\xD8\xFF") return DecodeJpeg(file, error, enough);
  if (file.substr(0, 4) == "GIF8") return DecodeGif(file, error);
  if (file.substr(0, 2) == "BM") return DecodeBmp(file, error);
  error = PictureError::kNotAPicture;
  return {};
}

std::optional<Picture> ReadPictureFile(const std::filesystem::path& file, std::string& why) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) {
    why = error ? error.message() : "not a file";
    return std::nullopt;
  }
  std::ifstream stream(file, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(stream)), {});
  if (!stream.good() && !stream.eof()) {
    why = std::make_error_code(std::errc::io_error).message();
    return std::nullopt;
  }
  const Picture picture = DecodePicture(bytes, error, kLargestPicture, 2 * kIconSide);
  if (error) {
    why = error.message();
    return std::nullopt;
  }
  return Upright(picture, ExifOrientation(bytes));
}

int ExifOrientation(std::string_view file) {
  ExifData* exif =
      exif_data_new_from_data(reinterpret_cast<const unsigned char*>(file.data()), file.size());
  int orientation = 1;
  if (const ExifEntry* entry = exif ? exif_data_get_entry(exif, EXIF_TAG_ORIENTATION) : nullptr;
      entry != nullptr && entry->format == EXIF_FORMAT_SHORT && entry->size >= 2)
    orientation = exif_get_short(entry->data, exif_data_get_byte_order(exif));
  if (exif != nullptr) exif_data_unref(exif);
  return orientation;
}

}  // namespace wondergen::cli
