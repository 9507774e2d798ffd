#include "xml_escape.h"

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

}  // namespace wondergen
