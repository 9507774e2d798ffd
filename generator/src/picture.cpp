// The wonder's own icon: the player's picture, as a front end decoded it, fitted into the icon's
// square, and written as the game's textures and as a kept PNG. The work is the stb libraries'
// (stb_libraries.cpp): stb_image_resize resamples, stb_dxt makes the DXT5 blocks, stb_image_write
// the PNG.
#include <stb_dxt.h>
#include <stb_image_resize.h>
#include <stb_image_write.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>

#include "documents.h"
#include "wondergen/generator.h"

namespace wondergen {
namespace {

constexpr int kChannels = 4, kAlphaChannel = 3;

// `from` resampled into `width` x `height` pixels at `into`, rows `stride` bytes apart: sRGB
// colours blended in linear light, weighted by their alpha (premultiplied), so that a transparent
// neighbour adds no colour.
void Resample(const Picture& from, std::uint8_t* into, std::uint32_t width, std::uint32_t height,
              std::uint32_t stride) {
  stbir_resize_uint8_srgb(from.rgba.data(), static_cast<int>(from.width),
                          static_cast<int>(from.height), 0, into, static_cast<int>(width),
                          static_cast<int>(height), static_cast<int>(stride), kChannels,
                          kAlphaChannel, 0);
}

// The DDS file's header as Microsoft's "DDS" programming guide gives it (DDS_HEADER after the
// magic): little-endian double words.
void PutDword(std::string& bytes, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    bytes += static_cast<char>((value >> shift) & 0xFF);
}
constexpr std::uint32_t kDdsdCaps = 0x1, kDdsdHeight = 0x2, kDdsdWidth = 0x4,
                        kDdsdPixelFormat = 0x1000, kDdsdMipMapCount = 0x20000,
                        kDdsdLinearSize = 0x80000, kDdpfFourCC = 0x4, kDdsCapsComplex = 0x8,
                        kDdsCapsTexture = 0x1000, kDdsCapsMipMap = 0x400000;
constexpr std::uint32_t kDxt5 = 'D' | 'X' << 8 | 'T' << 16 | '5' << 24;

std::uint32_t BlocksAcross(std::uint32_t side) {
  return std::max<std::uint32_t>(1, (side + 3) / 4);
}

void PutHeader(std::string& dds, std::uint32_t side, std::uint32_t levels) {
  dds = "DDS ";
  const std::array<std::uint32_t, 31> header = {
      124,
      kDdsdCaps | kDdsdHeight | kDdsdWidth | kDdsdPixelFormat | kDdsdMipMapCount | kDdsdLinearSize,
      side,
      side,
      BlocksAcross(side) * BlocksAcross(side) * 16,  // the top level's size in bytes
      0,
      levels,
      0,
      0,
      0,
      0,
      0,
      0,
      0,
      0,
      0,
      0,
      0,  // reserved
      32,
      kDdpfFourCC,
      kDxt5,
      0,
      0,
      0,
      0,
      0,  // the pixel format
      kDdsCapsComplex | kDdsCapsTexture | kDdsCapsMipMap,
      0,
      0,
      0,
      0};
  for (const std::uint32_t value : header)
    PutDword(dds, value);
}

// Gives each fully transparent texel of `level` the colour of the nearest one that is not, as a
// walk outwards from those finds it, so that a block at the icon's edge takes its DXT colours from
// the icon alone; a level that is all transparent stays as it is.
void BleedIntoTransparent(Picture& level) {
  const std::uint32_t width = level.width, height = level.height;
  std::vector<bool> coloured(std::size_t(width) * height);
  std::vector<std::size_t> reached;
  for (std::size_t texel = 0; texel < coloured.size(); ++texel) {
    coloured[texel] = level.rgba[texel * 4 + kAlphaChannel] > 0;
    if (coloured[texel]) reached.push_back(texel);
  }
  for (std::size_t next = 0; next < reached.size(); ++next) {
    const std::size_t from = reached[next];
    const std::uint32_t x = from % width, y = from / width;
    for (const std::size_t to :
         {x > 0 ? from - 1 : from, x + 1 < width ? from + 1 : from, y > 0 ? from - width : from,
          y + 1 < height ? from + width : from}) {
      if (coloured[to]) continue;
      coloured[to] = true;
      std::copy_n(&level.rgba[from * 4], 3, &level.rgba[to * 4]);
      reached.push_back(to);
    }
  }
}

// The DXT5 blocks of one level, row by row; a block past the edge repeats the edge's pixels.
void PutBlocks(std::string& dds, const Picture& level) {
  for (std::uint32_t top = 0; top < level.height; top += 4) {
    for (std::uint32_t left = 0; left < level.width; left += 4) {
      std::uint8_t pixels[16 * kChannels], block[16];
      for (std::uint32_t i = 0; i < 16; ++i) {
        const std::uint32_t x = std::min(left + i % 4, level.width - 1),
                            y = std::min(top + i / 4, level.height - 1);
        std::copy_n(&level.rgba[(y * level.width + x) * kChannels], kChannels,
                    &pixels[i * kChannels]);
      }
      stb_compress_dxt_block(block, pixels, 1, STB_DXT_HIGHQUAL);
      dds.append(reinterpret_cast<const char*>(block), sizeof block);
    }
  }
}

}  // namespace

std::array<std::uint32_t, 2> FittedSides(std::uint32_t width, std::uint32_t height) {
  const double scale = std::min(double(kIconSide) / width, double(kIconSide) / height);
  const auto fitted = [&](std::uint32_t side) {
    return std::clamp<std::uint32_t>(static_cast<std::uint32_t>(std::lround(side * scale)), 1,
                                     kIconSide);
  };
  return {fitted(width), fitted(height)};
}

Picture FitIcon(const Picture& picture) {
  if (picture.width == kIconSide && picture.height == kIconSide) return picture;
  Picture square{kIconSide, kIconSide, std::vector<std::uint8_t>(kIconSide * kIconSide * 4, 0)};
  const auto [width, height] = FittedSides(picture.width, picture.height);
  const std::uint32_t left = (kIconSide - width) / 2, top = (kIconSide - height) / 2;
  Resample(picture, &square.rgba[(top * kIconSide + left) * 4], width, height, kIconSide * 4);
  return square;
}

Picture ScaledIcon(const Picture& square, std::uint32_t side) {
  if (side == square.width) return square;
  Picture scaled{side, side, std::vector<std::uint8_t>(std::size_t(side) * side * 4)};
  Resample(square, scaled.rgba.data(), side, side, side * 4);
  return scaled;
}

Picture Upright(const Picture& picture, int orientation) {
  // Each output pixel (x, y) comes from (u, v) = (y, x) where the picture is turned a quarter,
  // else (x, y), then mirrored across and down as the orientation says.
  struct Turn {
    bool quarter, across, down;
  };
  constexpr Turn kTurns[] = {{false, false, false}, {false, true, false}, {false, true, true},
                             {false, false, true},  {true, false, false}, {true, false, true},
                             {true, true, true},    {true, true, false}};
  if (orientation < 2 || orientation > 8) return picture;
  const Turn turn = kTurns[orientation - 1];
  Picture upright{turn.quarter ? picture.height : picture.width,
                  turn.quarter ? picture.width : picture.height,
                  std::vector<std::uint8_t>(picture.rgba.size())};
  for (std::uint32_t y = 0; y < upright.height; ++y) {
    for (std::uint32_t x = 0; x < upright.width; ++x) {
      const std::uint32_t u = turn.quarter ? y : x, v = turn.quarter ? x : y;
      const std::size_t from =
          (std::size_t(turn.down ? picture.height - 1 - v : v) * picture.width +
           (turn.across ? picture.width - 1 - u : u)) *
          4;
      std::copy_n(&picture.rgba[from], 4, &upright.rgba[(std::size_t(y) * upright.width + x) * 4]);
    }
  }
  return upright;
}

std::string DdsTexture(const Picture& square, std::uint32_t side) {
  const std::uint32_t texture = TextureSide(side);
  std::uint32_t levels = 1;
  while ((texture >> (levels - 1)) > 1)
    ++levels;
  std::string dds;
  PutHeader(dds, texture, levels);
  // The top level from the square, each level below from the one above, as mips are made; the
  // colours bled into the transparent texels of each, which the scaling below weighs by nothing.
  const Picture icon = ScaledIcon(square, side);
  Picture level{texture, texture, std::vector<std::uint8_t>(std::size_t(texture) * texture * 4, 0)};
  for (std::uint32_t row = 0; row < side; ++row)
    std::copy_n(&icon.rgba[std::size_t(row) * side * 4], side * 4,
                &level.rgba[std::size_t(row) * texture * 4]);
  for (std::uint32_t at = 0; at < levels; ++at) {
    if (at > 0) level = ScaledIcon(level, std::max<std::uint32_t>(1, texture >> at));
    BleedIntoTransparent(level);
    PutBlocks(dds, level);
  }
  return dds;
}

std::string PngFile(const Picture& picture) {
  std::string png;
  stbi_write_png_to_func(
      [](void* context, void* data, int size) {
        static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                                   static_cast<std::size_t>(size));
      },
      &png, static_cast<int>(picture.width), static_cast<int>(picture.height), kChannels,
      picture.rgba.data(), static_cast<int>(picture.width) * kChannels);
  return png;
}

}  // namespace wondergen
