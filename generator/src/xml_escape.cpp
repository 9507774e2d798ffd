#include "xml_escape.h"

#include "cp936.h"

namespace wondergen {
namespace {

// Byte by byte is safe once incomplete characters are gone: no byte replaced here can be the
// trail byte of a double-byte character.
std::string Escape(std::string_view text, bool inAttribute) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : KeepValidCharacters(text)) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += inAttribute ? "&quot;" : "\""; break;
      case '\t':
      case '\n':
      case '\r': escaped += c; break;
      default:
        if (static_cast<unsigned char>(c) >= 0x20) escaped += c;
        break;
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
