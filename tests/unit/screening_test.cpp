// The rule that turns an entry-box text into a value-box text.
#include <gtest/gtest.h>

#include "test_support.h"

namespace wondergen::testing {
namespace {

struct ScreeningCase {
  std::string entry;
  std::optional<std::string> valueBox;  // nullopt: the value box keeps its text
};
void PrintTo(const ScreeningCase& c, std::ostream* out) {
  *out << '"' << c.entry << '"';
}

class ScreeningTest : public ::testing::TestWithParam<ScreeningCase> {};

TEST_P(ScreeningTest, GivesTheValueBoxText) {
  EXPECT_EQ(ScreenEntryText(GetParam().entry), GetParam().valueBox)
      << "entry: " << GetParam().entry;
}

INSTANTIATE_TEST_SUITE_P(
    EntryTexts, ScreeningTest,
    ::testing::Values(ScreeningCase{"", "0"}, ScreeningCase{"abc", "0"}, ScreeningCase{"0", "0"},
                      ScreeningCase{"-3", "0"}, ScreeningCase{"1", "1"},
                      ScreeningCase{"1999", "1999"}, ScreeningCase{"2000", "0"},
                      ScreeningCase{"007", "007"}, ScreeningCase{"12abc", "12abc"},
                      ScreeningCase{" 12", " 12"}, ScreeningCase{"\t\n12", "\t\n12"},
                      ScreeningCase{"+5", "+5"}, ScreeningCase{"-0", "0"}, ScreeningCase{"+", "0"},
                      ScreeningCase{"- 5", "0"}, ScreeningCase{"0001999", "0001999"},
                      ScreeningCase{"000002000", "0"},
                      ScreeningCase{"111111111", "0"},            // nine bytes, out of range
                      ScreeningCase{"1111111111", std::nullopt},  // ten bytes
                      ScreeningCase{"5         ", std::nullopt},
                      ScreeningCase{"12345678901234567890", std::nullopt}));

TEST(ScreeningCp936Test, CountsBytesNotCharacters) {
  // Four Chinese characters after a number: 1 + 8 = 9 bytes pass, one more character does not.
  EXPECT_EQ(ScreenEntryText(Cp936("5科技科技")), Cp936("5科技科技"));
  EXPECT_EQ(ScreenEntryText(Cp936("15科技科技")), std::nullopt);
  EXPECT_EQ(ScreenEntryText(Cp936("科技")), "0");
}

}  // namespace
}  // namespace wondergen::testing
