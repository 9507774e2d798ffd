// The rule that turns what the user types into an entry box into the text of its value box.
#include <string>

#include "wondergen/generator.h"

namespace wondergen {
namespace {

// Entry texts this long or longer leave the value box alone.
constexpr std::size_t kIgnoredEntryLength = 10;

bool IsCSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The leading number of a text as the C library's atoi reads it in the "C" locale: white space,
// an optional sign, then digits; anything after them is ignored. Texts here are at most 9 bytes,
// so the value always fits.
long LeadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsCSpace(text[i]))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long value = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i)
    value = value * 10 + (text[i] - '0');
  return negative ? -value : value;
}

}  // namespace

std::optional<std::string> ScreenEntryText(std::string_view entryText) {
  if (entryText.size() >= kIgnoredEntryLength) return std::nullopt;
  const long value = LeadingNumber(entryText);
  if (value >= kLowestAcceptedValue && value <= kHighestAcceptedValue) return std::to_string(value);
  return std::string("0");
}

}  // namespace wondergen
