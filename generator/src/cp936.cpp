// Code page 936: its conversions to and from UTF-8, and its characters.
#include "cp936.h"

#include "wondergen/generator.h"

namespace wondergen {
namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

// Whether the decoder maps every byte of `text`. Without a decoder nothing can be judged, and the
// text is kept for the document's own conversion to fail on and report.
bool DecodesWhole(std::string_view text) {
  std::string utf8;
  std::error_code error;
  return !platform::Cp936ToUtf8(text, utf8, error) ||
         utf8.find(kReplacementCharacter) == std::string::npos;
}

// The length of the character that starts at `at`; a lead byte without its trail byte is one.
std::size_t CharacterLength(std::string_view text, std::size_t at) {
  if (!IsCp936LeadByte(static_cast<unsigned char>(text[at]))) return 1;
  const bool hasTrail =
      at + 1 < text.size() && IsCp936TrailByte(static_cast<unsigned char>(text[at + 1]));
  return hasTrail ? 2 : 1;
}

}  // namespace

std::string ToUtf8(std::string_view cp936Text, std::error_code& error) {
  std::string utf8;
  platform::Cp936ToUtf8(cp936Text, utf8, error);
  return utf8;
}

std::optional<std::string> FromUtf8(std::string_view utf8Text, std::error_code& error,
                                    std::vector<std::size_t>* invalidBytes) {
  return platform::Utf8ToCp936(utf8Text, error, invalidBytes);
}

std::string KeepValidCharacters(std::string_view text) {
  // Most texts are valid throughout; the decoder marks whatever is not with U+FFFD, which code
  // page 936 itself never gives.
  if (DecodesWhole(text)) return std::string(text);
  std::string valid;
  valid.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = CharacterLength(text, at);
    const std::string_view character = text.substr(at, length);
    if (DecodesWhole(character)) valid += character;
    at += length;
  }
  return valid;
}

}  // namespace wondergen
