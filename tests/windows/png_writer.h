// Saves pixels as a PNG file, for people to look at what the window showed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wondergen::windows_test {

// `rgb` holds width * height pixels, three bytes each, row by row from the top.
bool WritePng(const std::wstring& path, int width, int height,
              const std::vector<std::uint8_t>& rgb);

}  // namespace wondergen::windows_test
