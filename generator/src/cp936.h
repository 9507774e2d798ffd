// Characters of code page 936 text: one byte, or a lead byte followed by a trail byte.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace wondergen {

// The ASCII bytes that XML treats specially are below 0x40 and so never occur as trail bytes.
constexpr bool IsCp936LeadByte(unsigned char byte) {
  return byte >= 0x81 && byte <= 0xFE;
}
constexpr bool IsCp936TrailByte(unsigned char byte) {
  return byte >= 0x40 && byte <= 0xFE && byte != 0x7F;
}

// Keeps only the characters that code page 936 maps: a lead byte without a trail byte, a pair the
// code page leaves unassigned and a single byte it does not map are dropped. What is left decodes
// character by character, so nothing next to it, in the text or in the document, can pair with it.
std::string KeepValidCharacters(std::string_view text);

}  // namespace wondergen
