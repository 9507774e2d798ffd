// The byte rules: screening typed numbers, reading the form, code page 936 at its edges, and
// escaping; runs on several threads at once; the retry of a step of the tree, and the decisions of
// the Windows layer and the window that Wine cannot show, against the values of Microsoft's
// documentation.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>

#include <unistd.h>

#include "cp936.h"
#include "documents.h"
#include "retry.h"
#include "window_rules.h"
#include "wondergen/generator.h"
#include "wondergen/windows_rules.h"
#include "xml_escape.h"

namespace wondergen {
namespace {

const std::string kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

// Test sources are UTF-8; the generator takes code page 936.
std::string Cp936(std::string_view utf8) {
  std::error_code error;
  return FromUtf8(utf8, error).value();
}

// An entry text of at most 9 bytes whose leading number (as atoi reads it) is 1..1999 gives that
// number in plain digits, any other of at most 9 bytes gives "0", and one of 10 bytes or more
// changes nothing (nullopt).
TEST(ScreeningTest, GivesTheValueBoxText) {
  const std::optional<std::string> kept;
  // clang-format off
  const std::pair<std::string, std::optional<std::string>> cases[] = {
      {"1", "1"}, {"9", "9"}, {"1999", "1999"}, {"007", "7"}, {"12abc", "12"}, {" 12", "12"},
      {"\t\n12", "12"}, {"\r\v\f7", "7"}, {"+5", "5"}, {"0001999", "1999"}, {"5\x01", "5"},
      {"1e9", "1"}, {"1.5", "1"}, {"9e99", "9"}, {Cp936("5科技科技"), "5"},
      {"", "0"}, {"abc", "0"}, {"0", "0"}, {"-3", "0"}, {"2000", "0"}, {"2009", "0"}, {"-0", "0"},
      {"+", "0"}, {"- 5", "0"}, {"000002000", "0"}, {"111111111", "0"}, {Cp936("科技"), "0"},
      {"1111111111", kept}, {"5         ", kept}, {Cp936("15科技科技"), kept}};
  // clang-format on
  for (const auto& [entry, value] : cases)
    EXPECT_EQ(ScreenEntryText(entry), value) << entry;
}

TEST(ReadFormTest, ValueBoxesAreCutToWholeCharactersAndTextBoxesReadWhole) {
  const std::string tenChinese = Cp936("一二三四五六七八九十");
  const std::string longText = std::string(900, 'x') + Cp936("文");
  Form form;
  form.valueBoxes[0] = std::string(25, '7');
  form.valueBoxes[1] = tenChinese;
  form.valueBoxes[2] = "a" + tenChinese;
  form.valueBoxes[26] = std::string("12\00034", 5);
  form.texts[2] = longText;
  form.texts[4] = "a\x81";
  const FieldStore store = ReadForm(form);
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
  EXPECT_EQ(WholeCharacterPrefix("a\x81\xff", 2), "a\x81");    // 0xFF is no trail byte
}

// Between tags a double quote is a character like any other; in an attribute value in double
// quotes it would end the value.
TEST(EscapeTest, OnlyAttributeValuesQuoteTheDoubleQuote) {
  EXPECT_EQ(EscapeXmlText("a\"<&>'"), "a\"&lt;&amp;&gt;'");
  EXPECT_EQ(EscapeXmlAttribute("a\"<&>'"), "a&quot;&lt;&amp;&gt;'");
}

// What a rule of windows-rules.txt gives for what it is given, as the table writes it.
std::string Apply(const std::string& rule, const std::vector<std::string>& given) {
  using namespace platform::windows;
  using namespace ui;
  const auto number = [&](std::size_t i) {
    return static_cast<std::uint32_t>(std::stoul(given.at(i), nullptr, 0));
  };
  const auto path = [&](std::size_t i) {
    return given.at(i) == "-" ? std::wstring() : std::wstring(given[i].begin(), given[i].end());
  };
  const auto yes = [](bool holds) { return std::string(holds ? "yes" : "no"); };
  if (rule == "link") return yes(IsLinkEntry(number(0), number(1)));
  if (rule == "within") return yes(IsWithinFolder(path(0), path(1)));
  if (rule == "entry-of") return yes(IsEntryOf(path(0), path(1), path(2)));
  if (rule == "volume-root") return yes(IsVolumeRoot(path(0)));
  if (rule == "archive") {
    std::vector<std::wstring> userFolders;
    for (std::size_t i = 2; i < given.size(); ++i)
      userFolders.push_back(path(i));
    return yes(StartedFromArchive(path(0), path(1), userFolders));
  }
  if (rule == "route") {
    const char* routes[] = {"dialog-manager", "swallow", "press-button", "dispatch"};
    return routes[static_cast<int>(RouteMessage(number(0), number(1), given.at(2) == "button"))];
  }
  if (rule == "advice") {
    std::vector<FailureFacts> failures;
    for (std::size_t i = 1; i < given.size(); ++i) {  // create|other:ERROR[:docs]
      const std::string& failure = given[i];
      failures.push_back(
          {failure.rfind("create:", 0) == 0,
           static_cast<std::uint32_t>(std::stoul(failure.substr(failure.find(':') + 1))),
           failure.find(":docs") != std::string::npos});
    }
    const char* advice[] = {"none", "close", "move", "allow-or-move", "allow"};
    return advice[static_cast<int>(ChooseAdvice(failures, number(0)))];
  }
  if (rule != "retry") return "no such rule";
  std::uint32_t tries = 0;
  std::string waits = "-";
  std::chrono::milliseconds budget(number(2));
  std::error_code error;
  const bool done = Retry(
      [&](std::error_code& failure) {
        failure = std::make_error_code(std::errc::device_or_resource_busy);
        return ++tries > number(0);
      },
      error, budget, [&](const std::error_code& e) { return given.at(1) == "yes" && e; },
      [&](std::chrono::milliseconds wait) {
        waits = (waits == "-" ? "" : waits + ",") + std::to_string(wait.count());
      });
  return yes(done) + " " + std::to_string(tries) + " " + std::to_string(budget.count()) + " " +
         waits;
}

TEST(WindowsRulesTest, EveryLineOfTheTableHolds) {
  std::ifstream table(WONDERGEN_UNIT_DATA "/windows-rules.txt");
  ASSERT_TRUE(table.is_open());
  int rules = 0;
  for (std::string line; std::getline(table, line);) {
    std::istringstream words(line.substr(0, line.find('#')));
    std::string rule, word, expected;
    std::vector<std::string> given;
    if (!(words >> rule)) continue;
    while (words >> word && word != "->")
      given.push_back(word);
    while (words >> word)
      expected += (expected.empty() ? "" : " ") + word;
    EXPECT_EQ(Apply(rule, given), expected) << line;
    ++rules;
  }
  EXPECT_GT(rules, 0);
}

// What a run says it did, which the window's status shows: AAA where all its files were written,
// the mod's folder in each Mods folder it was installed into whole, and the wonders installed.
TEST(RunOutcomeTest, NamesWhatWasWrittenWhole) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::path(testing::TempDir()) / ("outcome-" + std::to_string(getpid()));
  fs::create_directories(dir / "game");
  std::ofstream(dir / "file");
  const RunOutcome outcome = RebuildModPackage({}, dir, {dir / "game" / "Mods", dir / "file"});
  EXPECT_EQ(outcome.package, dir / "AAA");
  EXPECT_EQ(outcome.installed, std::vector<fs::path>{dir / "game" / "Mods" / "Newbuilding2PD_RIR"});
  EXPECT_EQ(outcome.written.size(), 11u);  // AAA's six files and the installed five
  EXPECT_EQ(outcome.failures.size(), 1u);  // the Mods folder that is a file
  EXPECT_TRUE(RebuildModPackage({}, dir / "file").package.empty());
  // Relative folders are the current directory's.
  const fs::path current = fs::current_path();
  fs::create_directory(dir / "Mods");
  fs::current_path(dir);
  const RunOutcome relative = RebuildModPackage({}, ".", {"Mods"});
  fs::current_path(current);
  EXPECT_TRUE(relative.failures.empty());
  EXPECT_EQ(relative.installed, std::vector<fs::path>{"Mods/Newbuilding2PD_RIR"});
  // The wonders installed: each folder that holds its manifest, each number once.
  Form third;
  third.wonder = 3;
  RebuildModPackage(third, dir, {dir / "game" / "Mods"});
  fs::create_directories(dir / "Mods" / "Newbuilding2PD_RIR_7");
  EXPECT_EQ(InstalledWonders({dir / "game" / "Mods", dir / "Mods"}), (std::vector<int>{1, 3}));
  fs::remove_all(dir);
}

// Each composes what its form gives composed alone; the test command also runs this under
// ThreadSanitizer.
TEST(ThreadsTest, RunsOnSeveralThreadsComposeWhatEachFormGivesAlone) {
  const auto compose = [](int form) {
    std::string documents;
    Form values;
    values.valueBoxes[form] = std::to_string(form + 1);
    values.texts[form] = Cp936("奇观");
    for (const DocumentBytes& document : ComposeModPackage(values))
      documents += document.utf8;
    return documents;
  };
  std::atomic<int> differing{0};
  std::vector<std::thread> threads;
  for (int form = 0; form < 4; ++form) {
    threads.emplace_back([&, form, alone = compose(form)] {
      for (int round = 0; round < 200; ++round)
        differing += compose(form) != alone;
    });
  }
  for (std::thread& thread : threads)
    thread.join();
  EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace wondergen
