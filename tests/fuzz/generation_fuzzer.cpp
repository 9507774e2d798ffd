// libFuzzer target: arbitrary bytes become what a user could type into the form, 27 entry texts
// and 5 texts. The entry texts go through the screening rule into the value boxes, and the package
// is composed in memory. Every input must give three documents that expat reads, holding exactly
// the rows and building attributes of the set fields in their order and the texts as typed, and
// the same manifest every time. What a parser reads is modelled by XML's own rules, from what
// the user typed: characters the code page does not map and characters XML forbids are gone,
// line ends are normalized, and in attribute values TAB and LF become spaces.
#include <expat.h>
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <map>

#include "wondergen/generator.h"

namespace {

using namespace wondergen;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "wondergen fuzzer: %s\n", what.c_str());
  std::abort();
}

std::error_code g_ignored;  // a missing converter fails the documents' own check

// The text of a control in UTF-8: up to its first NUL, as a window holds it, and character by
// character without what code page 936 does not map, a lead byte with its trail byte being one
// character, kept or dropped whole.
std::string MappedCharacters(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::string utf8;
  for (std::size_t at = 0; at < text.size();) {
    const auto byte = static_cast<unsigned char>(text[at]);
    const auto next = at + 1 < text.size() ? static_cast<unsigned char>(text[at + 1]) : 0;
    const std::size_t length =
        byte >= 0x81 && byte <= 0xFE && next >= 0x40 && next != 0x7F && next != 0xFF ? 2 : 1;
    const std::string character = ToUtf8(text.substr(at, length), g_ignored);
    if (character.find("\xEF\xBF\xBD") == std::string::npos) utf8 += character;
    at += length;
  }
  return utf8;
}

// What a parser reports for text that holds `utf8`: control characters XML forbids are not there,
// CR LF and a lone CR read as LF, and in an attribute value TAB and LF read as a space.
std::string AsParsed(const std::string& utf8, bool inAttribute) {
  std::string held;
  for (const char c : utf8) {
    if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r') held += c;
  }
  std::string parsed;
  for (std::size_t i = 0; i < held.size(); ++i) {
    char c = held[i];
    if (c == '\r') {
      c = '\n';
      if (i + 1 < held.size() && held[i + 1] == '\n') ++i;
    }
    parsed += inAttribute && (c == '\t' || c == '\n') ? ' ' : c;
  }
  return parsed;
}

// The parts of a document the checks look at, as expat reads them.
struct Parsed {
  std::vector<std::string> path;  // names of the open elements
  std::vector<std::string> rows;  // the field rows and the building row's attributes, in order
  std::map<std::string, std::string> texts;  // localized text by tag
  std::string tag, text;
};

Parsed Parse(const std::string& bytes, const char* name) {
  Parsed parsed;
  XML_Parser parser = XML_ParserCreate(nullptr);
  XML_SetUserData(parser, &parsed);
  XML_SetElementHandler(
      parser,
      [](void* data, const XML_Char* element, const XML_Char** attributes) {
        auto* parsed = static_cast<Parsed*>(data);
        parsed->path.push_back(element);
        parsed->text.clear();
        if (parsed->path.size() != 3 || attributes[0] == nullptr) return;
        const std::string& table = parsed->path[1];
        if (table == "LocalizedText") parsed->tag = attributes[1];
        if (table == "Types" || table == "Building_ValidTerrains" || table == "LocalizedText")
          return;
        for (int i = table == "Buildings" ? 0 : 2; attributes[i] != nullptr; i += 2)
          parsed->rows.push_back(table + "|" + attributes[i] + "|" + attributes[i + 1]);
      },
      [](void* data, const XML_Char*) {
        auto* parsed = static_cast<Parsed*>(data);
        if (parsed->path.size() == 4 && parsed->path[3] == "Text")
          parsed->texts[parsed->tag] = parsed->text;
        parsed->path.pop_back();
      });
  XML_SetCharacterDataHandler(parser, [](void* data, const XML_Char* text, int length) {
    static_cast<Parsed*>(data)->text.append(text, static_cast<std::size_t>(length));
  });
  if (XML_Parse(parser, bytes.data(), static_cast<int>(bytes.size()), 1) != XML_STATUS_OK)
    Fail(std::string(name) + " is not well-formed: " + XML_ErrorString(XML_GetErrorCode(parser)));
  XML_ParserFree(parser);
  return parsed;
}

// clang-format off
// A field's rows as Parse lists them: its type, then its value.
const char* const kRowHeads[] = {"Building_YieldChanges|YieldType|YIELD",
    "Building_GreatPersonPoints|GreatPersonClassType|GREAT_PERSON_CLASS",
    "Building_GreatWorks|GreatWorkSlotType|GREATWORKSLOT"};
const char* const kRowValues[] = {"Building_YieldChanges|YieldChange|",
    "Building_GreatPersonPoints|PointsPerTurn|", "Building_GreatWorks|NumSlots|"};
// The building properties in the order of their attributes.
const std::pair<int, const char*> kProperties[] = {{24, "Housing"}, {23, "CitizenSlots"},
    {22, "Entertainment"}, {25, "OuterDefenseHitPoints"}, {26, "OuterDefenseStrength"}};
// clang-format on

std::vector<std::string> ExpectedRows(const std::array<std::string, kFieldCount>& values) {
  std::vector<std::string> rows;
  for (const char* fixed :
       {"BuildingType|BUILDING_SOGMONUMENT2PD", "Name|LOC_BUILDING2PD_SOGMONUMENT_NAME",
        "PrereqDistrict|DISTRICT_CITY_CENTER", "PurchaseYield|YIELD_GOLD", "Cost|1",
        "AdvisorType|ADVISOR_GENERIC", "MaxWorldInstances|1", "IsWonder|true"})
    rows.push_back(std::string("Buildings|") + fixed);
  for (const auto& [slot, attribute] : kProperties) {
    if (!IsSet(MappedCharacters(values[slot]))) continue;
    rows.push_back(std::string("Buildings|") + attribute + "|" +
                   AsParsed(MappedCharacters(values[slot]), true));
  }
  rows.push_back("Buildings|RegionalRange|10000000");
  for (int slot = 0; slot < kFieldCount; ++slot) {
    const auto group = static_cast<std::size_t>(kFieldCatalogue[slot].group);
    if (group >= std::size(kRowHeads) || !IsSet(MappedCharacters(values[slot]))) continue;
    rows.push_back(kRowHeads[group] + std::string(kFieldCatalogue[slot].documentText));
    rows.push_back(kRowValues[group] + AsParsed(MappedCharacters(values[slot]), true));
  }
  return rows;
}

// A text box that holds nothing a document can carry takes its default; a name that holds
// anything a document can carry gives the author suffix.
std::map<std::string, std::string> ExpectedTexts(const std::array<std::string, kTextCount>& typed) {
  std::array<std::string, kTextCount> texts;
  for (int text = 0; text < kTextCount; ++text) {
    const std::string held = AsParsed(MappedCharacters(typed[text]), false);
    const char* defaultText = kTextCatalogue[text].defaultText;
    texts[text] = held.empty() && defaultText ? ToUtf8(defaultText, g_ignored) : held;
    if (text == kAuthorSlot - kFirstTextSlot && !held.empty())
      texts[text] = "------改写：《" + texts[text] + "》";
  }
  return {{"RIRNewBuilding2PD_Title", texts[0] + " "},
          {"RIRNewBuilding2PD_TEASER", texts[1] + "\t\t------制作:《vudazu》 " + texts[4]},
          {"RIRNewBuilding2PD_DESCRIPTION", texts[2] + " "},
          {"LOC_BUILDING2PD_SOGMONUMENT_NAME", texts[3] + " "}};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  std::map<int, std::string> controls;
  std::array<std::string, kFieldCount> values;  // an entry text the rule ignores leaves it empty
  for (int slot = 0; slot < kFieldCount; ++slot) {
    values[slot] = ScreenEntryText(input.ConsumeRandomLengthString(24)).value_or("");
    controls[ValueBoxId(slot)] = values[slot];
  }
  std::array<std::string, kTextCount> texts;
  for (int text = 0; text < kTextCount; ++text)
    controls[TextBoxId(text)] = texts[text] = input.ConsumeRandomLengthString(600);

  const ModPackage package = ComposeModPackage([&controls](int id) { return controls[id]; });
  for (const DocumentBytes& document : package) {
    if (document.conversionError) Fail("a document could not be converted");
  }
  if (Parse(package[Index(Document::kGameplayData)].utf8, "the gameplay data").rows !=
      ExpectedRows(values))
    Fail("the rows are not those of the set fields in their order, with the values as typed");
  if (Parse(package[Index(Document::kLocalization)].utf8, "the texts").texts !=
      ExpectedTexts(texts))
    Fail("the texts are not those typed, with their defaults and the author suffix");
  static const std::string firstManifest = package[Index(Document::kManifest)].utf8;
  Parse(firstManifest, "the manifest");
  if (firstManifest.size() != 693 || package[Index(Document::kManifest)].utf8 != firstManifest)
    Fail("the manifest is not constant");
  return 0;
}
