// The byte rules: screening typed numbers, reading the form, and code page 936 at its edges.
#include <gtest/gtest.h>

#include "cp936.h"
#include "support.h"

namespace wondergen::testing {
namespace {

const std::string kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

TEST(ScreeningTest, GivesTheValueBoxText) {
  const std::optional<std::string> kUnchanged;
  const std::vector<std::pair<std::string, std::optional<std::string>>> cases = {
      {"", "0"},
      {"abc", "0"},
      {"0", "0"},
      {"-3", "0"},
      {"1", "1"},
      {"9", "9"},
      {"1999", "1999"},
      {"2000", "0"},
      {"2009", "0"},
      {"007", "007"},
      {"12abc", "12abc"},
      {" 12", " 12"},
      {"\t\n12", "\t\n12"},
      {"\r\v\f7", "\r\v\f7"},
      {"+5", "+5"},
      {"-0", "0"},
      {"+", "0"},
      {"- 5", "0"},
      {"0001999", "0001999"},
      {"000002000", "0"},
      {"111111111", "0"},          // nine bytes, out of range
      {"1111111111", kUnchanged},  // ten bytes
      {"5         ", kUnchanged},
      {Cp936("5科技科技"), Cp936("5科技科技")},  // bytes count, not characters: 1 + 8
      {Cp936("15科技科技"), kUnchanged},
      {Cp936("科技"), "0"},
  };
  for (const auto& [entry, valueBox] : cases)
    EXPECT_EQ(ScreenEntryText(entry), valueBox) << "entry \"" << entry << "\"";
}

TEST(ReadFormTest, ValueBoxesAreCutToWholeCharactersAndTextBoxesReadWhole) {
  const std::string tenChinese = Cp936("一二三四五六七八九十");
  const std::string longText = Cp936(std::string(300 * 3, 'x') + "文");
  FieldStore store;
  store.fill("left over");
  ReadForm(FormWith({{ValueBoxId(0), std::string(25, '7')},
                     {ValueBoxId(1), tenChinese},
                     {ValueBoxId(2), "a" + tenChinese},
                     {ValueBoxId(26), std::string("12\0"
                                                  "34",
                                                  5)},
                     {TextBoxId(2), longText},
                     {TextBoxId(4), "a\x81"}}),
           store);
  EXPECT_EQ(store[0], std::string(19, '7'));
  EXPECT_EQ(store[1], tenChinese.substr(0, 18));
  EXPECT_EQ(store[2], "a" + tenChinese.substr(0, 18));
  EXPECT_EQ(store[26], "12");  // a control's text ends at a NUL
  EXPECT_EQ(store[kDescriptionSlot], longText);
  EXPECT_EQ(store[kAuthorSlot], "a");  // a lead byte without its trail byte is no character
  for (int slot : {3, 25, kTitleSlot, kTeaserSlot})
    EXPECT_EQ(store[slot], "") << slot;
}

TEST(EncodingTest, LiteralsAreCodePage936Bytes) {
  EXPECT_EQ(std::string(kFieldCatalogue[0].label), "\xbf\xc6\xbc\xbc");               // 科技
  EXPECT_EQ(std::string(kTextCatalogue[3].defaultText), "\xca\xa5\xc5\xae\xb1\xae");  // 圣女碑
}

TEST(EncodingTest, ToUtf8MarksWhatCodePage936DoesNotMap) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", ""},
      {"<?xml\n", "<?xml\n"},
      {"\xca\xa5\xc5\xae\xb1\xae", "圣女碑"},
      {"\x80", "€"},
      {"\x81\x40", "丂"},  // the first lead byte with the first trail byte
      {"\xff", kReplacement},
      {"a\x81", "a" + kReplacement},                  // a lead byte at the end
      {"\x81<b", kReplacement + "<b"},                // no trail byte: "<" survives
      {"\x81\x3f", kReplacement + "?"},               // 0x3F is no trail byte
      {"\x81\x7f\xca\xa5", kReplacement + "\x7f圣"},  // nor is 0x7F
  };
  for (const auto& [cp936, utf8] : cases) {
    std::error_code error;
    EXPECT_EQ(ToUtf8(cp936, error), utf8);
    EXPECT_FALSE(error);
  }
}

TEST(EncodingTest, KeepValidCharactersDropsWhatTheCodePageDoesNotMap) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"a\x81", "a"},
      {"\x81<", "<"},
      {"\xff\x81\x40z", "\x81\x40z"},    // next to an invalid byte, 0x81 0x40 stays a character
      {"\xff\xfe\x40", "\xfe\x40"},      // as does the last lead byte
      {"\x80\xff", "\x80"},              // the euro sign; 0xFF is none
      {"\xa4\x83\xc3\x65", "\xc3\x65"},  // 0xA483 is unassigned
      {"\xff\x81\x7f", "\x7f"},
      {Cp936("圣女碑：《abc》"), Cp936("圣女碑：《abc》")},
  };
  for (const auto& [text, kept] : cases)
    EXPECT_EQ(KeepValidCharacters(text), kept) << text;
}

TEST(EncodingTest, WholeCharacterPrefixNeverCutsACharacter) {
  EXPECT_EQ(WholeCharacterPrefix("\x81\x40\x81\x40", 3), "\x81\x40");
  EXPECT_EQ(WholeCharacterPrefix("\xfe\x40\xfe\xfe", 3), "\xfe\x40");
  EXPECT_EQ(WholeCharacterPrefix("ab\x81", 19), "ab\x81");  // a lone lead byte is one byte
  EXPECT_EQ(WholeCharacterPrefix("ab\x81\x3f", 3), "ab\x81");
}

TEST(EncodingTest, FromUtf8RefusesWhatCodePage936Lacks) {
  std::error_code error;
  EXPECT_EQ(FromUtf8("abc", error), "abc");
  EXPECT_EQ(FromUtf8("圣女碑", error), "\xca\xa5\xc5\xae\xb1\xae");
  EXPECT_EQ(FromUtf8("😀", error), std::nullopt);         // outside the code page
  EXPECT_EQ(FromUtf8("\xE5\x9C", error), std::nullopt);  // cut UTF-8
  EXPECT_FALSE(error);
}

}  // namespace
}  // namespace wondergen::testing
