// Reading the form into the FieldStore and preparing its texts.
#include <gtest/gtest.h>

#include "test_support.h"

namespace wondergen::testing {
namespace {

TEST(FieldStoreTest, ReadsValueBoxesAndTextBoxesOnly) {
  std::map<int, std::string> controls;
  for (int id = 1; id <= kControlCount; ++id)
    controls[id] = "#" + std::to_string(id);
  FieldStore store;
  ReadForm(FormWith(controls), store);
  for (int slot = 0; slot < kFieldCount; ++slot) {
    EXPECT_EQ(store[slot], "#" + std::to_string(55 + slot));
  }
  for (int text = 0; text < kTextCount; ++text) {
    EXPECT_EQ(store[kFirstTextSlot + text], "#" + std::to_string(88 + text));
  }
}

TEST(FieldStoreTest, EveryReadOverwritesEverySlot) {
  FieldStore store;
  store.fill("left over");
  ReadForm(FormWith({}), store);
  for (const std::string& slot : store)
    EXPECT_EQ(slot, "");
}

TEST(FieldStoreTest, ValueBoxesAreCutToWholeCharactersWithin19Bytes) {
  const std::string tenChinese = Cp936("一二三四五六七八九十");
  FieldStore store;
  ReadForm(FormWith({{ValueBoxId(0), std::string(25, '7')},
                     {ValueBoxId(1), tenChinese},
                     {ValueBoxId(2), "25abc"},
                     {ValueBoxId(3), std::string("12\0"
                                                 "34",
                                                 5)}}),
           store);
  EXPECT_EQ(store[0], std::string(19, '7'));
  EXPECT_EQ(store[1], tenChinese.substr(0, 18));
  EXPECT_EQ(store[2], "25abc");
  EXPECT_EQ(store[3], "12");  // a control's text ends at a NUL
}

TEST(FieldStoreTest, TextBoxesAreReadWhole) {
  std::string longText;
  for (int i = 0; i < 300; ++i)
    longText += Cp936("文");
  FieldStore store;
  ReadForm(FormWith({{TextBoxId(2), longText}, {TextBoxId(4), "a\x81"}}), store);
  EXPECT_EQ(store[kDescriptionSlot], longText);
  EXPECT_EQ(store[kAuthorSlot], "a");  // a lead byte without its trail byte is no character
}

TEST(FieldStoreTest, DefaultsFillOnlyEmptyTexts) {
  FieldStore store;
  store[kDescriptionSlot] = " ";
  ApplyTextDefaults(store);
  EXPECT_EQ(ToUtf8(store[kTitleSlot]), "圣女碑");
  EXPECT_EQ(store[kTeaserSlot].size(), 81u);
  EXPECT_EQ(store[kTeaserSlot].back(), '.');
  EXPECT_EQ(store[kDescriptionSlot], " ");
  EXPECT_EQ(ToUtf8(store[kBuildingNameSlot]), "圣女碑");
  EXPECT_EQ(store[kAuthorSlot], "");
}

TEST(FieldStoreTest, AuthorSuffixWrapsANameOnce) {
  FieldStore store;
  store[kAuthorSlot] = "abc";
  FormAuthorSuffix(store);
  EXPECT_EQ(ToUtf8(store[kAuthorSlot]), "------改写：《abc》");
  EXPECT_EQ(store[kAuthorSlot].size(), 14u + 3u + 2u);

  FieldStore empty;
  FormAuthorSuffix(empty);
  EXPECT_EQ(empty[kAuthorSlot], "");
}

}  // namespace
}  // namespace wondergen::testing
