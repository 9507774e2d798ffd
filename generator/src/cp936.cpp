#include "cp936.h"

namespace wondergen {
namespace {

// The length of the character that starts at `at`; 0 for a lead byte without its trail byte.
std::size_t CharacterLength(std::string_view text, std::size_t at) {
  if (!IsCp936LeadByte(static_cast<unsigned char>(text[at]))) return 1;
  const bool hasTrail =
      at + 1 < text.size() && IsCp936TrailByte(static_cast<unsigned char>(text[at + 1]));
  return hasTrail ? 2 : 0;
}

}  // namespace

std::string DropIncompleteCharacters(std::string_view text) {
  std::string whole;
  whole.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = CharacterLength(text, at);
    whole += text.substr(at, length);
    at += length == 0 ? 1 : length;
  }
  return whole;
}

std::string_view WholeCharacterPrefix(std::string_view text, std::size_t maxBytes) {
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t length = CharacterLength(text, end);
    const std::size_t next = end + (length == 0 ? 1 : length);
    if (next > maxBytes) break;
    end = next;
  }
  return text.substr(0, end);
}

}  // namespace wondergen
