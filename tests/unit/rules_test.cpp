// The byte rules: screening typed numbers, reading the form, and code page 936 at its edges.
#include <gtest/gtest.h>

#include <map>

#include "cp936.h"
#include "wondergen/generator.h"

namespace wondergen {
namespace {

const std::string kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

// Test sources are UTF-8; the generator takes code page 936.
std::string Cp936(std::string_view utf8) {
  std::error_code error;
  return FromUtf8(utf8, error).value();
}

// An entry text of at most 9 bytes whose leading number (as atoi reads it) is 1..1999 is taken as
// typed, any other of at most 9 bytes gives "0", and one of 10 bytes or more changes nothing.
TEST(ScreeningTest, GivesTheValueBoxText) {
  using Texts = std::vector<std::string>;
  for (const std::string& taken : Texts{"1", "9", "1999", "007", "12abc", " 12", "\t\n12",
                                        "\r\v\f7", "+5", "0001999", "5\x01", Cp936("5科技科技")})
    EXPECT_EQ(ScreenEntryText(taken), taken);
  for (const std::string& zero : Texts{"", "abc", "0", "-3", "2000", "2009", "-0", "+", "- 5",
                                       "000002000", "111111111", Cp936("科技")})
    EXPECT_EQ(ScreenEntryText(zero), "0") << zero;
  for (const std::string& ignored : Texts{"1111111111", "5         ", Cp936("15科技科技")})
    EXPECT_EQ(ScreenEntryText(ignored), std::nullopt) << ignored;
}

TEST(ReadFormTest, ValueBoxesAreCutToWholeCharactersAndTextBoxesReadWhole) {
  const std::string tenChinese = Cp936("一二三四五六七八九十");
  const std::string longText = std::string(900, 'x') + Cp936("文");
  const std::map<int, std::string> form = {{ValueBoxId(0), std::string(25, '7')},
                                           {ValueBoxId(1), tenChinese},
                                           {ValueBoxId(2), "a" + tenChinese},
                                           {ValueBoxId(26), std::string("12\00034", 5)},
                                           {TextBoxId(2), longText},
                                           {TextBoxId(4), "a\x81"}};
  FieldStore store;
  store.fill("left over");
  ReadForm([&form](int id) { return form.count(id) ? form.at(id) : ""; }, store);
  EXPECT_EQ(store[0], std::string(19, '7'));
  EXPECT_EQ(store[1], tenChinese.substr(0, 18));
  EXPECT_EQ(store[2], "a" + tenChinese.substr(0, 18));
  EXPECT_EQ(store[26], "12");  // a control's text ends at a NUL
  EXPECT_EQ(store[kDescriptionSlot], longText);
  EXPECT_EQ(store[kAuthorSlot], "a");  // a lead byte without its trail byte is no character
  for (int slot : {3, 25, kTitleSlot, kTeaserSlot})
    EXPECT_EQ(store[slot], "") << slot;
}

TEST(EncodingTest, ToUtf8MarksWhatCodePage936DoesNotMap) {
  // clang-format off
  const std::pair<std::string, std::string> cases[] = {
      {"", ""}, {"<?xml\n", "<?xml\n"}, {"\xca\xa5\xc5\xae\xb1\xae", "圣女碑"}, {"\x80", "€"},
      {"\x81\x40", "丂"},                          // the first lead byte with the first trail byte
      {"\xff", kReplacement}, {"a\x81", "a" + kReplacement},        // a lead byte at the end
      {"\x81<b", kReplacement + "<b"}, {"\x81\x3f", kReplacement + "?"},  // no trail bytes
      {"\x81\x7f\xca\xa5", kReplacement + "\x7f圣"}};
  // clang-format on
  for (const auto& [cp936, utf8] : cases) {
    std::error_code error;
    EXPECT_EQ(ToUtf8(cp936, error), utf8);
    EXPECT_FALSE(error);
  }
}

TEST(EncodingTest, OnlyCharactersTheCodePageMapsAreKept) {
  // clang-format off
  const std::pair<std::string, std::string> cases[] = {
      {"a\x81", "a"}, {"\x81<", "<"}, {"\x80\xff", "\x80"},  // the euro sign; 0xFF is none
      {"\xff\x81\x40z", "\x81\x40z"},  // next to an invalid byte, the first and last lead bytes
      {"\xff\xfe\x40", "\xfe\x40"},    // still begin characters
      {"\xa4\x83\xc3\x65", "\xc3\x65"},  // 0xA483 is unassigned
      {"\xff\x81\x7f", "\x7f"}, {Cp936("圣女碑：《abc》"), Cp936("圣女碑：《abc》")}};
  // clang-format on
  for (const auto& [text, kept] : cases)
    EXPECT_EQ(KeepValidCharacters(text), kept) << text;
  EXPECT_EQ(WholeCharacterPrefix("\x81\x40\x81\x40", 3), "\x81\x40");
  EXPECT_EQ(WholeCharacterPrefix("\xfe\x40\xfe\xfe", 3), "\xfe\x40");
  EXPECT_EQ(WholeCharacterPrefix("ab\x81\x3f", 3), "ab\x81");  // a lone lead byte is one byte
}

}  // namespace
}  // namespace wondergen
