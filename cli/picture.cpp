// Each format by the library that Debian keeps for it: libpng, libjpeg-turbo, giflib, and
// stb_image for BMP alone; libexif for a JPEG's orientation. Every one reads the file's bytes as it
// goes, from memory or from the file opened once, never by its path, so that a file is read no
// further than its picture needs; a picture is refused from its header where it is too large or
// of a kind the library cannot decode.
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
#include <cerrno>
#include <csetjmp>
#include <cstring>
#include <iterator>
#include <memory>
#include <new>
#include <vector>

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
      case PictureError::kWidePng:
        return "a PNG wider or higher than 1000000 pixels is not supported";
      case PictureError::kDeepJpeg:
        return "a JPEG of more than 8 bits a sample (12-bit) is not supported";
      case PictureError::kCompressedBmp:
        return "a compressed BMP (run-length encoded, or holding a JPEG or PNG) is not supported";
      case PictureError::kLosslessJpeg: return "a lossless or hierarchical JPEG is not supported";
      case PictureError::kWideJpeg:
        return "a JPEG wider or higher than 65500 pixels is not supported";
      case PictureError::kOs2Bmp:
        return "an OS/2 2.x BMP (a header of 16 to 64 bytes) is not supported";
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

// Where a decoder reads a picture's bytes from, once, from the start: the file in memory, or the
// file opened. `head` holds its first bytes (all of them in memory), by which the format and the
// headers are known; `size` is its length.
struct Source {
  std::FILE* file = nullptr;
  std::string_view rest;  // in memory, what is not read yet
  std::string_view head;
  std::uint64_t size = 0;
};

// Reads up to `wanted` bytes; fewer only at the end or on a failure.
std::size_t Read(Source& source, void* into, std::size_t wanted) {
  if (source.file != nullptr) return std::fread(into, 1, wanted, source.file);
  wanted = std::min(wanted, source.rest.size());
  if (wanted > 0) std::memcpy(into, source.rest.data(), wanted);
  source.rest.remove_prefix(wanted);
  return wanted;
}

// A PNG being read. libpng jumps back to the step that called it on an error: each step sets the
// jump and holds only plain data, so that no destructor is skipped.
struct PngReading {
  png_structp png = nullptr;
  png_infop info = nullptr;
  bool outOfMemory = false;  // an allocation of libpng's failed
};

// Reads the header, up to the first pixels. False where the file is cut short or damaged there,
// or libpng refuses its sides.
bool StartPng(PngReading& reading, Source& source) {
  if (setjmp(png_jmpbuf(reading.png))) return false;
  png_set_read_fn(reading.png, &source, [](png_structp png, png_bytep into, std::size_t wanted) {
    if (Read(*static_cast<Source*>(png_get_io_ptr(png)), into, wanted) != wanted)
      png_error(png, "cut short");
  });
  // Only the chunks that make the pixels are read, IHDR, PLTE, tRNS and IDAT; libpng passes over
  // the others, which nothing here uses, without keeping them: a text or a profile may be hundreds
  // of megabytes.
  png_set_keep_unknown_chunks(reading.png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
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

Picture DecodePng(Source& source, std::error_code& error) {
  // The sides, which IHDR gives first, decide before anything else is read: none, beyond libpng's
  // limit (which it refuses with the rest of the header), or too many pixels.
  const std::string_view head = source.head;
  if (head.size() >= 24 && head.substr(12, 4) == "IHDR") {
    const std::uint32_t width = Number(head, 16, 4, true), height = Number(head, 20, 4, true);
    if (width > 0 && height > 0 && (width > PNG_USER_WIDTH_MAX || height > PNG_USER_HEIGHT_MAX))
      error = PictureError::kWidePng;
    if (error || !Fits(width, height, error)) return {};
  }
  PngReading reading;
  reading.png = png_create_read_struct_2(
      PNG_LIBPNG_VER_STRING, nullptr, [](png_structp png, png_const_charp) { png_longjmp(png, 1); },
      [](png_structp, png_const_charp) {}, &reading,
      [](png_structp png, png_alloc_size_t size) {
        void* memory = std::malloc(size);
        static_cast<PngReading*>(png_get_mem_ptr(png))->outOfMemory |= memory == nullptr;
        return memory;
      },
      [](png_structp, png_voidp memory) { std::free(memory); });
  reading.info = reading.png ? png_create_info_struct(reading.png) : nullptr;
  Picture picture;
  if (reading.info == nullptr || !StartPng(reading, source)) {
    error = PictureError::kDamaged;
  } else {  // its sides those checked above
    picture.width = png_get_image_width(reading.png, reading.info);
    picture.height = png_get_image_height(reading.png, reading.info);
    picture.rgba.resize(std::size_t(picture.width) * picture.height * 4);
    if (!ReadPng(reading, picture.rgba.data())) error = PictureError::kDamaged;
  }
  const bool outOfMemory = reading.png == nullptr || reading.info == nullptr || reading.outOfMemory;
  png_destroy_read_struct(&reading.png, &reading.info, nullptr);
  if (outOfMemory) throw std::bad_alloc();
  return error ? Picture() : picture;
}

// A JPEG being read. libjpeg ends the program on an error unless told to jump back: each step that
// calls it sets the jump and holds only plain data, so that no destructor is skipped. Its messages
// are kept from standard error; a warning that pixels were lost jumps back too.
struct JpegErrors {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  bool lostPixels = false;
  int error = 0;  // the code of the error that stopped libjpeg, if one did
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

// Whether libjpeg's warning says pixels were lost. Bytes skipped before the end of the picture or
// a restart marker, which only coded data comes before, are coded data the decoder did not use:
// it read the scan otherwise than it was written ("extraneous bytes before marker 0xd9").
bool LostPixels(const jpeg_error_mgr& manager) {
  const int marker = manager.msg_parm.i[1];
  return std::find(std::begin(kLostPixels), std::end(kLostPixels), manager.msg_code) !=
             std::end(kLostPixels) ||
         (manager.msg_code == JWRN_EXTRANEOUS_DATA &&
          (marker == JPEG_EOI || (marker >= JPEG_RST0 && marker <= JPEG_RST0 + 7)));
}

// Reads the header and chooses the output: RGBA, or CMYK to turn into it, at the smallest of
// libjpeg's scales (n/8 of each side, in its DCT, as thumbnailers decode) that keeps `enough`
// pixels on the longer side, or whole for 0. False where the file is no JPEG or is cut short.
bool StartJpeg(JpegReading& reading, Source& source, std::uint32_t enough) {
  jpeg_decompress_struct& jpeg = reading.jpeg;
  if (setjmp(reading.errors.jump)) return false;
  jpeg_create_decompress(&jpeg);
  if (source.file != nullptr) {
    jpeg_stdio_src(&jpeg, source.file);
  } else {
    jpeg_mem_src(&jpeg, reinterpret_cast<const unsigned char*>(source.rest.data()),
                 source.rest.size());
  }
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

Picture DecodeJpeg(Source& source, std::error_code& error, std::uint32_t enough) {
  JpegReading reading = {};
  reading.jpeg.err = jpeg_std_error(&reading.errors.manager);
  reading.errors.manager.error_exit = [](j_common_ptr common) {
    auto* errors = reinterpret_cast<JpegErrors*>(common->err);
    errors->error = errors->manager.msg_code;
    std::longjmp(errors->jump, 1);
  };
  reading.errors.manager.emit_message = [](j_common_ptr common, int level) {
    auto* errors = reinterpret_cast<JpegErrors*>(common->err);
    if (level < 0 && LostPixels(errors->manager)) {
      errors->lostPixels = true;
      std::longjmp(errors->jump, 1);
    }
  };
  // The sides, where libjpeg read the frame's header, come first: a picture too large or empty is
  // named so whatever follows.
  Picture picture;
  const bool started = StartJpeg(reading, source, enough);
  const int code = reading.errors.error;
  const bool framed = started || reading.jpeg.image_width > 0 || code == JERR_EMPTY_IMAGE;
  if (framed) Fits(reading.jpeg.image_width, reading.jpeg.image_height, error);
  if (!error && !started) {
    error = reading.errors.lostPixels      ? PictureError::kDamaged
            : code == JERR_BAD_PRECISION   ? PictureError::kDeepJpeg
            : code == JERR_SOF_UNSUPPORTED ? PictureError::kLosslessJpeg
            : code == JERR_IMAGE_TOO_BIG   ? PictureError::kWideJpeg
                                           : PictureError::kNotAPicture;
  } else if (!error) {
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
  if (reading.errors.error == JERR_OUT_OF_MEMORY) throw std::bad_alloc();
  return error ? Picture() : picture;
}

// The first frame on the logical screen, its transparent colour transparent, as viewers show a
// GIF that does not move; the rest is not read.
Picture DecodeGif(Source& source, std::error_code& error) {
  // The screen's sides, right after the signature, decide before anything else is read.
  const std::string_view head = source.head;
  if (head.size() >= 10 && !Fits(Number(head, 6, 2, false), Number(head, 8, 2, false), error))
    return {};
  int code = 0;
  GifFileType* gif = DGifOpen(
      &source,
      [](GifFileType* gif, GifByteType* into, int wanted) {
        return int(
            Read(*static_cast<Source*>(gif->UserData), into, std::size_t(std::max(wanted, 0))));
      },
      &code);
  if (code == D_GIF_ERR_NOT_ENOUGH_MEM) throw std::bad_alloc();
  if (gif == nullptr) {
    // giflib reads a side of 0, which Fits refuses, and checks no more of the signature than its
    // "GIF": what it refuses is cut short, in the signature, the screen's descriptor or its
    // colour table.
    error = PictureError::kDamaged;
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
  const bool outOfMemory = gif->Error == D_GIF_ERR_NOT_ENOUGH_MEM;
  DGifCloseFile(gif, &code);
  if (outOfMemory) throw std::bad_alloc();
  return error ? Picture() : screen;
}

// Whether each pixel of a BMP of 1, 4 or 8 bits a pixel names one of the first `colours` entries
// of its palette: stb_image takes the colour of any other from memory it never wrote, and viewers
// disagree on it (Pillow a grey, browsers black), so such a file is damaged. Reads the rows from
// `offset`, which the caller knows lie within the file, and leaves `source` at its start.
bool InPalette(Source& source, std::uint64_t offset, std::uint32_t width, std::uint64_t height,
               unsigned bits, std::int64_t colours) {
  Source rows = source;
  if (rows.file != nullptr) {
    if (std::fseek(rows.file, long(offset), SEEK_SET) != 0) return false;
  } else {
    rows.rest.remove_prefix(offset);
  }
  std::vector<std::uint8_t> row((std::size_t(width) * bits + 31) / 32 * 4);
  bool inPalette = true;
  for (std::uint64_t y = 0; inPalette && y < height; ++y) {
    inPalette = Read(rows, row.data(), row.size()) == row.size();
    for (std::size_t x = 0; inPalette && x < width; ++x) {
      const unsigned shift = 8 - bits - x * bits % 8;
      inPalette = std::int64_t(row[x * bits / 8] >> shift & ((1U << bits) - 1)) < colours;
    }
  }
  if (source.file != nullptr) std::rewind(source.file);
  return inPalette;
}

// A BMP by its headers, as Microsoft's documentation gives them: BITMAPFILEHEADER (14 bytes, where
// the pixels start at 10), then BITMAPCOREHEADER (12 bytes, sides of 16 bits) or BITMAPINFOHEADER
// or one of its later versions that stb_image reads (40, 56, 108 or 124 bytes, sides of 32 bits,
// the height negative for rows stored from the top down, the compression at 30), each with the
// planes and the bits per pixel after its sides; each row takes a multiple of 4 bytes. stb_image
// reads what is missing as black, so a file shorter than its pixels is refused before it is
// decoded.
Picture DecodeBmp(Source& source, std::error_code& error) {
  const std::string_view head = source.head;
  const std::uint32_t headerSize = head.size() >= 18 ? Number(head, 14, 4, false) : 0;
  const std::size_t side = headerSize == 12 ? 2 : 4;  // bytes of a side
  if (headerSize != 12 && headerSize != 40 && headerSize != 56 && headerSize != 108 &&
      headerSize != 124) {
    error =
        headerSize >= 16 && headerSize <= 64 ? PictureError::kOs2Bmp : PictureError::kNotAPicture;
    return {};
  }
  if (head.size() < 18 + 2 * side) {
    error = PictureError::kDamaged;
    return {};
  }
  const auto width = std::int32_t(Number(head, 18, side, false));
  const auto stored = std::int32_t(Number(head, 18 + side, side, false));
  const std::uint64_t height = stored < 0 ? 0 - std::int64_t(stored) : stored;
  if (width < 0) {
    error = PictureError::kDamaged;
    return {};
  }
  if (!Fits(std::uint32_t(width), height, error)) return {};
  const bool headersWhole = head.size() >= 14 + std::uint64_t(headerSize);
  const std::uint64_t bits = headersWhole ? Number(head, 20 + 2 * side, 2, false) : 0;
  const std::uint32_t compression = headersWhole && side == 4 ? Number(head, 30, 4, false) : 0;
  if (compression != 0 && compression != 3) {  // BI_RGB and BI_BITFIELDS only
    error = PictureError::kCompressedBmp;
    return {};
  }
  const std::uint64_t pixelsEnd =
      Number(head, 10, 4, false) + (std::uint64_t(width) * bits + 31) / 32 * 4 * height;
  if (!headersWhole || pixelsEnd > source.size) {
    error = PictureError::kDamaged;
    return {};
  }
  // The palette holds the colours the header names (all that the bits can index where it names 0)
  // as far as stb_image reads it: the entries before the pixels, of 3 bytes after a core header,
  // where it counts 4 fewer, and of 4 after the others.
  if (bits == 1 || bits == 4 || bits == 8) {
    const std::int64_t pixelsAt = Number(head, 10, 4, false);
    const std::uint32_t named = side == 4 ? Number(head, 46, 4, false) : 0;
    const std::int64_t stored =
        side == 2 ? (pixelsAt - 38) / 3 : (pixelsAt - 14 - std::int64_t(headerSize)) / 4;
    const std::uint32_t all = 1U << bits;
    const std::int64_t colours =
        std::min<std::int64_t>(named == 0 || named > all ? all : named, stored);
    if (!InPalette(source, pixelsAt, std::uint32_t(width), height, unsigned(bits), colours)) {
      error = PictureError::kDamaged;
      return {};
    }
  }
  const stbi_io_callbacks reading = {
      [](void* source, char* into, int wanted) {
        return int(Read(*static_cast<Source*>(source), into, std::size_t(std::max(wanted, 0))));
      },
      [](void* from, int bytes) {
        auto* source = static_cast<Source*>(from);
        if (source->file != nullptr) std::fseek(source->file, bytes, SEEK_CUR);
        source->rest.remove_prefix(std::min(source->rest.size(), std::size_t(std::max(bytes, 0))));
      },
      [](void* from) {
        auto* source = static_cast<Source*>(from);
        return int(source->file != nullptr ? std::feof(source->file) != 0 : source->rest.empty());
      }};
  int decodedWidth = 0, decodedHeight = 0, channels = 0;
  stbi_uc* pixels =
      stbi_load_from_callbacks(&reading, &source, &decodedWidth, &decodedHeight, &channels, 4);
  if (pixels == nullptr && std::string_view(stbi_failure_reason()) == "outofmem")
    throw std::bad_alloc();
  if (pixels == nullptr) {
    error = PictureError::kDamaged;
    return {};
  }
  Picture picture{std::uint32_t(decodedWidth), std::uint32_t(decodedHeight), {}};
  picture.rgba.assign(pixels, pixels + std::size_t(decodedWidth) * decodedHeight * 4);
  stbi_image_free(pixels);
  return picture;
}

// The picture that `source` holds, its format known by its first bytes.
Picture Decode(Source& source, std::error_code& error, std::uint64_t largest,
               std::uint32_t enough) {
  t_largest = largest;
  const std::string_view head = source.head;
  if (head.substr(0, 8) == "\x89PNG\r\n\x1a\n") return DecodePng(source, error);
  if (head.substr(0, 3) == "\xFF\xD8\xFF") return DecodeJpeg(source, error, enough);
  if (head.substr(0, 4) == "GIF8") return DecodeGif(source, error);
  if (head.substr(0, 2) == "BM") return DecodeBmp(source, error);
  error = PictureError::kNotAPicture;
  return {};
}

}  // namespace

std::error_code make_error_code(PictureError error) {
  static const PictureCategory category;
  return {static_cast<int>(error), category};
}

Picture DecodePicture(std::string_view file, std::error_code& error, std::uint64_t largest,
                      std::uint32_t enough) {
  Source source{nullptr, file, file, file.size()};
  return Decode(source, error, largest, enough);
}

std::optional<Picture> ReadPictureFile(const std::filesystem::path& file, std::string& why) {
  std::error_code error;
  const bool regular = std::filesystem::is_regular_file(file, error);
  const std::uint64_t size = regular ? std::filesystem::file_size(file, error) : 0;
  if (!regular || error) {
    why = error ? error.message() : "not a file";
    return std::nullopt;
  }
  // Opened once; its first bytes are the headers, and for a JPEG the EXIF data, which the Exif
  // standard puts right after the start, behind at most JFIF's segment.
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> stream(std::fopen(file.c_str(), "rb"),
                                                               &std::fclose);
  if (stream == nullptr) {
    why = std::generic_category().message(errno);
    return std::nullopt;
  }
  std::string head(std::min<std::uint64_t>(size, 2 + 2 * (2 + 0xFFFF)), '\0');
  head.resize(std::fread(head.data(), 1, head.size(), stream.get()));
  std::rewind(stream.get());
  Source source{stream.get(), {}, head, size};
  const Picture picture = Decode(source, error, kLargestPicture, 2 * kIconSide);
  if (std::ferror(stream.get())) error = std::make_error_code(std::errc::io_error);
  if (error) {
    why = error.message();
    return std::nullopt;
  }
  return Upright(picture, ExifOrientation(head));
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
