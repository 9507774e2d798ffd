// Texts no form should hold, and long ones: the run still succeeds, every document stays XML
// that a parser reads, and nothing the user typed is cut short.
#include <gtest/gtest.h>

#include "test_support.h"

namespace wondergen::testing {
namespace {

using OddTextsTest = TempDirTest;

void ExpectWellFormed(const WrittenPackage& package) {
  EXPECT_TRUE(package.failures.empty());
  EXPECT_EQ(XmlProblem(package.localization), "");
  EXPECT_EQ(XmlProblem(package.gameplayData), "");
  EXPECT_EQ(XmlProblem(package.manifest), "");
}

// A control's text ends at its first NUL, so the byte values start at 1.
TEST_F(OddTextsTest, EveryByteValueInEveryControl) {
  std::string everyByte;
  for (int byte = 1; byte < 256; ++byte)
    everyByte += static_cast<char>(byte);
  std::map<int, std::string> controls;
  for (int id = 1; id <= kControlCount; ++id)
    controls[id] = everyByte.substr(id % 40) + everyByte;
  ExpectWellFormed(GenerateInto(dir_, FormWith(controls)));
}

TEST_F(OddTextsTest, EveryPairOfBytes) {
  std::string pairs;
  for (int first = 1; first < 256; ++first) {
    for (int second = 1; second < 256; ++second) {
      pairs += static_cast<char>(first);
      pairs += static_cast<char>(second);
    }
  }
  std::map<int, std::string> controls;
  for (int text = 0; text < kTextCount; ++text)
    controls[TextBoxId(text)] = pairs.substr(text);
  const WrittenPackage package = GenerateInto(dir_, FormWith(controls));
  ExpectWellFormed(package);
  // Every character of the code page reached the document, and nothing that is none.
  EXPECT_GT(package.localization.size(), 4u * pairs.size());
  for (const char* character : {"圣", "碑", "《", "：", "€"}) {
    EXPECT_NE(package.localization.find(character), std::string::npos) << character;
  }
  EXPECT_EQ(package.localization.find("\xEF\xBF\xBD"), std::string::npos);
}

TEST_F(OddTextsTest, InvalidSequencesAtTheEdgesOfTexts) {
  // Lead bytes without trail bytes where a text ends, before markup and before the suffix.
  const std::vector<std::string> texts = {"x\x81",
                                          "abc\xfe",
                                          "\x81<",
                                          "\x81\"",
                                          "\xff\x80\x81",
                                          "\x81\x7f",
                                          std::string("x\x81\0y", 4)};
  for (const std::string& text : texts) {
    std::map<int, std::string> controls;
    for (int box = 0; box < kTextCount; ++box)
      controls[TextBoxId(box)] = text;
    controls[ValueBoxId(24)] = "3" + text;
    const WrittenPackage package = GenerateInto(dir_, FormWith(controls));
    ExpectWellFormed(package);
    // The author suffix keeps its closing bracket whatever the name ends with.
    EXPECT_NE(package.localization.find("》</Text>"), std::string::npos);
  }
}

TEST_F(OddTextsTest, ATenKilobyteTextIsWrittenWhole) {
  std::string longText;
  while (longText.size() < 10 * 1024)
    longText += "奇观Wonder-";
  const WrittenPackage package = GenerateInto(
      dir_, FormWith({{TextBoxId(2), Cp936(longText)}, {TextBoxId(4), Cp936(longText)}}));
  ExpectWellFormed(package);
  EXPECT_NE(package.localization.find("<Text>" + longText + " </Text>"), std::string::npos);
  EXPECT_NE(package.localization.find("------改写：《" + longText + "》</Text>"),
            std::string::npos);
}

}  // namespace
}  // namespace wondergen::testing
