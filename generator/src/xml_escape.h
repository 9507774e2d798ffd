// Escaping of texts that are inserted into the documents.
#pragma once

#include <string>
#include <string_view>

namespace wondergen {

// For code page 936 text between tags: "&", "<" and ">" become references; control characters
// that XML 1.0 forbids (all below 0x20 but TAB, LF and CR) and incomplete double-byte characters
// are dropped. Every other byte is kept.
std::string EscapeXmlText(std::string_view text);
// As EscapeXmlText, and a double quote becomes "&quot;", for attribute values in double quotes.
std::string EscapeXmlAttribute(std::string_view text);

}  // namespace wondergen
