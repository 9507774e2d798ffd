// The program's texts are code page 936 bytes inside and UTF-8 in the documents.
#include <gtest/gtest.h>

#include "cp936.h"
#include "test_support.h"
#include "xml_escape.h"

namespace wondergen::testing {
namespace {

// The labels as the window shows them, in UTF-8: the same texts in the other encoding.
const std::array<const char*, kFieldCount> kFieldLabels = {
    "科技",       "生产",       "信仰",       "文化",     "食物",      "金币",     "大音乐家点",
    "大艺术家点", "大科学家点", "大工程师点", "大商人点", "大将军点",  "大海军点", "大作家点",
    "大预言家点", "宫殿槽",     "遗物槽",     "著作槽",   "艺术槽",    "文物槽",   "音乐槽",
    "宗教槽",     "宜居度",     "公民槽",     "住房",     "+围墙生命", "+围墙防御"};
const std::array<const char*, kTextCount> kTextLabels = {"DLC名", "DLC说明", "建筑名", "建筑说明",
                                                         "你的名字"};

TEST(EncodingTest, LiteralsAreCodePage936Bytes) {
  EXPECT_EQ(std::string(kFieldCatalogue[0].label), "\xbf\xc6\xbc\xbc");               // 科技
  EXPECT_EQ(std::string(kTextCatalogue[0].defaultText), "\xca\xa5\xc5\xae\xb1\xae");  // 圣女碑
  EXPECT_EQ(std::string(kTextCatalogue[1].defaultText).size(), 81u);
  EXPECT_EQ(std::string(kTextCatalogue[2].defaultText).size(), 80u);
  for (int slot = 0; slot < kFieldCount; ++slot) {
    EXPECT_EQ(ToUtf8(kFieldCatalogue[slot].label), kFieldLabels[slot]) << "field " << slot + 1;
    EXPECT_EQ(Cp936(kFieldLabels[slot]), kFieldCatalogue[slot].label) << "field " << slot + 1;
  }
  for (int text = 0; text < kTextCount; ++text) {
    EXPECT_EQ(ToUtf8(kTextCatalogue[text].label), kTextLabels[text]);
  }
}

TEST(EncodingTest, ToUtf8ConvertsCodePage936) {
  EXPECT_EQ(ToUtf8(""), "");
  EXPECT_EQ(ToUtf8("<?xml\n"), "<?xml\n");
  EXPECT_EQ(ToUtf8("\xca\xa5\xc5\xae\xb1\xae"), "圣女碑");
  EXPECT_EQ(ToUtf8("\xca\xa5\xc5\xae\xb1\xae").size(), 9u);
  EXPECT_EQ(ToUtf8("\xa3\xba"), "：");  // full-width colon
  EXPECT_EQ(ToUtf8("\x80"), "€");
  EXPECT_EQ(ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(EncodingTest, InvalidBytesBecomeReplacementCharacters) {
  const std::string replacement = "\xEF\xBF\xBD";
  EXPECT_EQ(ToUtf8("\xff"), replacement);
  EXPECT_EQ(ToUtf8("a\x81"), "a" + replacement);                  // lead byte at the end
  EXPECT_EQ(ToUtf8("\x81<b"), replacement + "<b");                // no trail byte: "<" survives
  EXPECT_EQ(ToUtf8("\x81\x7f\xca\xa5"), replacement + "\x7f圣");  // 0x7F is no trail byte
  EXPECT_EQ(ToUtf8("\x81\xca\xa5"), "伿" + replacement);          // 0x81 0xCA is a character
  std::string everyByte;
  for (int byte = 0; byte < 256; ++byte)
    everyByte += static_cast<char>(byte);
  const std::string converted = ToUtf8(everyByte);
  EXPECT_EQ(converted.substr(0, 128), everyByte.substr(0, 128));
  EXPECT_EQ(converted.substr(128, 3), "€");
  EXPECT_EQ(converted.substr(converted.size() - 3), replacement);  // 0xFF
}

TEST(EncodingTest, FromUtf8RefusesWhatCodePage936Lacks) {
  EXPECT_EQ(FromUtf8("abc"), "abc");
  EXPECT_EQ(FromUtf8("圣女碑"), "\xca\xa5\xc5\xae\xb1\xae");
  EXPECT_EQ(FromUtf8("😀"), std::nullopt);         // outside the code page
  EXPECT_EQ(FromUtf8("\xE5\x9C"), std::nullopt);  // cut UTF-8
  EXPECT_EQ(FromUtf8("\xC0\x80"), std::nullopt);  // overlong UTF-8
}

TEST(Cp936Test, WholeCharacterPrefixNeverCutsACharacter) {
  const std::string tenChinese = Cp936("一二三四五六七八九十");
  EXPECT_EQ(WholeCharacterPrefix(tenChinese, 19), tenChinese.substr(0, 18));
  EXPECT_EQ(WholeCharacterPrefix("a" + tenChinese, 19), "a" + tenChinese.substr(0, 18));
  EXPECT_EQ(WholeCharacterPrefix(std::string(25, 'x'), 19), std::string(19, 'x'));
  EXPECT_EQ(WholeCharacterPrefix("abc", 19), "abc");
  EXPECT_EQ(WholeCharacterPrefix("ab\x81", 19), "ab\x81");  // a lone lead byte is one byte
}

TEST(Cp936Test, KeepValidCharactersDropsWhatTheCodePageDoesNotMap) {
  EXPECT_EQ(KeepValidCharacters("a\x81"), "a");                      // lead byte at the end
  EXPECT_EQ(KeepValidCharacters("\x81<"), "<");                      // lead byte before ASCII
  EXPECT_EQ(KeepValidCharacters("\x81\x40z"), "\x81\x40z");          // 0x8140 is a character
  EXPECT_EQ(KeepValidCharacters("\x80\xff"), "\x80");                // the euro sign; 0xFF is none
  EXPECT_EQ(KeepValidCharacters("\xa4\x83\xc3\x65"), "\xc3\x65");     // 0xA483 is unassigned
  const std::string chinese = Cp936("圣女碑：《abc》");
  EXPECT_EQ(KeepValidCharacters(chinese), chinese);
}

TEST(XmlEscapeTest, EscapesWhatXmlReservesAndKeepsTheRest) {
  EXPECT_EQ(EscapeXmlText("a&b<c>d\"e'"), "a&amp;b&lt;c&gt;d\"e'");
  EXPECT_EQ(EscapeXmlAttribute("a&b<c>d\"e'"), "a&amp;b&lt;c&gt;d&quot;e'");
  EXPECT_EQ(EscapeXmlText(std::string("\0\x01\x08\t\n\v\f\r\x1f ", 11)), "\t\n\r ");
  const std::string chinese = Cp936("圣女碑：《》");
  EXPECT_EQ(EscapeXmlAttribute(chinese), chinese);
  EXPECT_EQ(EscapeXmlText("x\x81"), "x");
}

}  // namespace
}  // namespace wondergen::testing
