// Escaping of texts that are inserted into the documents.
#pragma once

#include <string>
#include <string_view>

namespace wondergen {

// For code page 936 text between tags, as reading the form leaves it (whole characters, none that
// XML forbids): "&", "<" and ">" become references; every other byte is kept.
std::string EscapeXmlText(std::string_view text);
// As EscapeXmlText, and a double quote becomes "&quot;", for attribute values in double quotes.
std::string EscapeXmlAttribute(std::string_view text);
// The text that EscapeXmlText gives: the three references back to their characters.
std::string UnescapeXml(std::string_view escaped);

}  // namespace wondergen
