// Characters of code page 936 text: one byte, or a lead byte followed by a trail byte.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

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

namespace platform {

// The conversions, which the platform layer implements with the system's converter.
// Code page 936 to UTF-8; a byte that does not start a valid character becomes U+FFFD. Fails, with
// `utf8` empty, when the system has no converter for code page 936 or the converter fails.
bool Cp936ToUtf8(std::string_view cp936Text, std::string& utf8, std::error_code& error);
// UTF-8 to code page 936, as FromUtf8 (generator.h) gives it.
std::optional<std::string> Utf8ToCp936(std::string_view utf8Text, std::error_code& error,
                                       std::vector<std::size_t>* invalidBytes);

}  // namespace platform
}  // namespace wondergen
