// An uncompressed PNG: the image data goes into stored deflate blocks, which every reader takes.
#include "png_writer.h"

#include <algorithm>
#include <cstdio>

namespace wondergen::windows_test {
namespace {

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0) {
  crc = ~crc;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit)
      crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void PutChunk(std::vector<std::uint8_t>& file, const char* type,
              const std::vector<std::uint8_t>& data) {
  PutBigEndian(file, static_cast<std::uint32_t>(data.size()));
  std::vector<std::uint8_t> typed(type, type + 4);
  typed.insert(typed.end(), data.begin(), data.end());
  file.insert(file.end(), typed.begin(), typed.end());
  PutBigEndian(file, Crc32(typed.data(), typed.size()));
}

}  // namespace

bool WritePng(const std::wstring& path, int width, int height,
              const std::vector<std::uint8_t>& rgb) {
  std::vector<std::uint8_t> header;
  PutBigEndian(header, static_cast<std::uint32_t>(width));
  PutBigEndian(header, static_cast<std::uint32_t>(height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, no interlace

  std::vector<std::uint8_t> raw;  // each row: filter type 0, then its pixels
  const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);
    raw.insert(raw.end(), rgb.begin() + y * rowBytes, rgb.begin() + (y + 1) * rowBytes);
  }
  std::vector<std::uint8_t> zlib = {0x78, 0x01};
  std::uint32_t adlerA = 1, adlerB = 0;
  for (std::size_t at = 0; at < raw.size() || at == 0;) {
    const std::size_t block = std::min<std::size_t>(raw.size() - at, 65535);
    const bool last = at + block == raw.size();
    zlib.push_back(last ? 1 : 0);
    zlib.insert(zlib.end(),
                {static_cast<std::uint8_t>(block), static_cast<std::uint8_t>(block >> 8),
                 static_cast<std::uint8_t>(~block), static_cast<std::uint8_t>(~block >> 8)});
    for (std::size_t i = at; i < at + block; ++i) {
      adlerA = (adlerA + raw[i]) % 65521;
      adlerB = (adlerB + adlerA) % 65521;
    }
    zlib.insert(zlib.end(), raw.begin() + at, raw.begin() + at + block);
    at += block;
    if (last) break;
  }
  PutBigEndian(zlib, (adlerB << 16) | adlerA);

  std::vector<std::uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PutChunk(file, "IHDR", header);
  PutChunk(file, "IDAT", zlib);
  PutChunk(file, "IEND", {});
  FILE* out = _wfopen(path.c_str(), L"wb");
  if (out == nullptr) return false;
  const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
  return std::fclose(out) == 0 && written;
}

}  // namespace wondergen::windows_test
