#include "xml_escape.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace wondergen {
namespace {

// Byte by byte is safe on code page 936 text: the bytes replaced here are below 0x40 and so are
// never the trail byte of a double-byte character.
std::string Escape(std::string_view text, bool inAttribute) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += inAttribute ? "&quot;" : "\""; break;
      default: escaped += c; break;
    }
  }
  return escaped;
}

}  // namespace

std::string EscapeXmlText(std::string_view text) {
  return Escape(text, false);
}
std::string EscapeXmlAttribute(std::string_view text) {
  return Escape(text, true);
}

std::string UnescapeXml(std::string_view escaped) {
  constexpr std::pair<std::string_view, char> kReferences[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}};
  std::string text;
  for (std::size_t at = 0; at < escaped.size();) {
    const auto reference = std::find_if(
        std::begin(kReferences), std::end(kReferences),
        [&](const auto& pair) { return escaped.substr(at, pair.first.size()) == pair.first; });
    const bool found = reference != std::end(kReferences);
    text += found ? reference->second : escaped[at];
    at += found ? reference->first.size() : 1;
  }
  return text;
}

}  // namespace wondergen
