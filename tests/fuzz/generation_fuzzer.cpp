// libFuzzer target: arbitrary bytes become what a user could type into the form, 27 entry texts
// and 5 texts. The entry texts go through the screening rule into the value boxes, and a whole
// generation run writes the package into a temporary folder. Every input must give three
// documents that a real XML parser reads, with exactly the rows and attributes of the set fields
// in their order, and the same manifest every time.
#include <expat.h>
#include <fuzzer/FuzzedDataProvider.h>
#include <stdlib.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include "wondergen/generator.h"

namespace {

using namespace wondergen;

std::filesystem::path g_outputDir;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "wondergen fuzzer: %s\n", what.c_str());
  std::fflush(stderr);
  std::abort();
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// What a parser reports for a text the document holds: forbidden control characters are gone,
// line ends are LF, and in attribute values every TAB, LF and CR is a space.
std::string AsParsed(const std::string& cp936Text, bool inAttribute) {
  const std::string utf8 = ToUtf8(cp936Text);
  std::string parsed;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    char c = utf8[i];
    if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') continue;
    if (c == '\r') {
      c = '\n';
      if (i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
    }
    if (inAttribute && (c == '\t' || c == '\n')) c = ' ';
    parsed += c;
  }
  return parsed;
}

// The parts of the documents the checks look at, as expat reads them.
struct ParsedDocument {
  std::vector<std::string> path;  // names of the open elements
  std::vector<std::pair<std::string, std::string>> buildingAttributes;
  std::vector<std::string> rows;             // "table|type|value" of the three field tables
  std::map<std::string, std::string> texts;  // localized text by tag
  std::string tag;
  std::string text;
};

void OnStart(void* data, const XML_Char* name, const XML_Char** attributes) {
  auto* document = static_cast<ParsedDocument*>(data);
  document->path.push_back(name);
  document->text.clear();
  if (document->path.size() != 3) return;
  const std::string& table = document->path[1];
  std::vector<std::pair<std::string, std::string>> pairs;
  for (int i = 0; attributes[i] != nullptr; i += 2)
    pairs.emplace_back(attributes[i], attributes[i + 1]);
  if (table == "Buildings") document->buildingAttributes = pairs;
  if (table == "LocalizedText" && !pairs.empty()) document->tag = pairs[0].second;
  if (table == "Building_YieldChanges" || table == "Building_GreatPersonPoints" ||
      table == "Building_GreatWorks") {
    if (pairs.size() != 3) Fail("a row of " + table + " without its three attributes");
    document->rows.push_back(table + "|" + pairs[1].second + "|" + pairs[2].second);
  }
}

void OnEnd(void* data, const XML_Char*) {
  auto* document = static_cast<ParsedDocument*>(data);
  if (document->path.size() == 4 && document->path[3] == "Text")
    document->texts[document->tag] = document->text;
  document->path.pop_back();
}

void OnText(void* data, const XML_Char* text, int length) {
  static_cast<ParsedDocument*>(data)->text.append(text, static_cast<std::size_t>(length));
}

ParsedDocument Parse(const std::string& bytes, const char* name) {
  ParsedDocument document;
  XML_Parser parser = XML_ParserCreate(nullptr);
  XML_SetUserData(parser, &document);
  XML_SetElementHandler(parser, OnStart, OnEnd);
  XML_SetCharacterDataHandler(parser, OnText);
  if (XML_Parse(parser, bytes.data(), static_cast<int>(bytes.size()), 1) != XML_STATUS_OK) {
    Fail(std::string(name) + " is not well-formed: " + XML_ErrorString(XML_GetErrorCode(parser)));
  }
  XML_ParserFree(parser);
  return document;
}

const char* TableOf(FieldGroup group) {
  switch (group) {
    case FieldGroup::kYield: return "Building_YieldChanges|YIELD";
    case FieldGroup::kGreatPersonPoints: return "Building_GreatPersonPoints|GREAT_PERSON_CLASS";
    case FieldGroup::kGreatWorkSlots: return "Building_GreatWorks|GREATWORKSLOT";
    case FieldGroup::kBuildingProperty: break;
  }
  return "";
}

void CheckGameplayData(const std::string& bytes, const FieldStore& store) {
  const ParsedDocument document = Parse(bytes, "the gameplay data document");
  std::vector<std::string> expectedRows;
  for (int slot = 0; slot < kFieldCount; ++slot) {
    const FieldSpec& field = kFieldCatalogue[slot];
    if (field.group == FieldGroup::kBuildingProperty || !IsSet(store[slot])) continue;
    expectedRows.push_back(std::string(TableOf(field.group)) + field.documentText + "|" +
                           AsParsed(store[slot], true));
  }
  if (document.rows != expectedRows)
    Fail("the rows are not those of the set fields in catalogue order");

  std::vector<std::pair<std::string, std::string>> expected = {
      {"BuildingType", "BUILDING_SOGMONUMENT2PD"},
      {"Name", "LOC_BUILDING2PD_SOGMONUMENT_NAME"},
      {"PrereqDistrict", "DISTRICT_CITY_CENTER"},
      {"PurchaseYield", "YIELD_GOLD"},
      {"Cost", "1"},
      {"AdvisorType", "ADVISOR_GENERIC"},
      {"MaxWorldInstances", "1"},
      {"IsWonder", "true"}};
  const std::pair<int, const char*> properties[] = {{24, "Housing"},
                                                    {23, "CitizenSlots"},
                                                    {22, "Entertainment"},
                                                    {25, "OuterDefenseHitPoints"},
                                                    {26, "OuterDefenseStrength"}};
  for (const auto& [slot, attribute] : properties) {
    if (IsSet(store[slot])) expected.emplace_back(attribute, AsParsed(store[slot], true));
  }
  expected.emplace_back("RegionalRange", "10000000");
  if (document.buildingAttributes != expected)
    Fail("the building row's attributes are not the set properties in order");
}

void CheckLocalization(const std::string& bytes, const FieldStore& store) {
  const ParsedDocument document = Parse(bytes, "the localization document");
  const std::map<std::string, std::string> expected = {
      {"RIRNewBuilding2PD_Title", AsParsed(store[kTitleSlot], false) + " "},
      {"RIRNewBuilding2PD_TEASER", AsParsed(store[kTeaserSlot], false) +
                                       "\t\t------制作:《vudazu》 " +
                                       AsParsed(store[kAuthorSlot], false)},
      {"RIRNewBuilding2PD_DESCRIPTION", AsParsed(store[kDescriptionSlot], false) + " "},
      {"LOC_BUILDING2PD_SOGMONUMENT_NAME", AsParsed(store[kBuildingNameSlot], false) + " "}};
  for (const auto& [tag, text] : expected) {
    const auto found = document.texts.find(tag);
    if (found == document.texts.end() || found->second != text) {
      Fail("the text of " + tag + " is \"" + (found == document.texts.end() ? "" : found->second) +
           "\", not \"" + text + "\"");
    }
  }
}

void CheckManifest(const std::string& bytes) {
  static const std::string first = bytes;
  Parse(bytes, "the manifest");
  if (bytes.size() != 693 || bytes != first) Fail("the manifest is not the same 693 bytes");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The program's literals must be code page 936 in this build too.
  if (ToUtf8(kTextCatalogue[0].defaultText) != "圣女碑") Fail("the literals are not code page 936");
  const bool shm = std::filesystem::is_directory("/dev/shm");
  std::string pattern =
      ((shm ? std::filesystem::path("/dev/shm") : std::filesystem::temp_directory_path()) /
       "wondergen-fuzz-XXXXXX")
          .string();
  if (mkdtemp(pattern.data()) == nullptr) Fail("no temporary folder");
  g_outputDir = pattern;
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(g_outputDir, ignored);
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  std::map<int, std::string> controls;
  for (int slot = 0; slot < kFieldCount; ++slot) {
    // An entry text the rule ignores leaves the value box as it was: empty.
    const std::optional<std::string> value = ScreenEntryText(input.ConsumeRandomLengthString(24));
    if (value) controls[ValueBoxId(slot)] = *value;
  }
  for (int text = 0; text < kTextCount; ++text)
    controls[TextBoxId(text)] = input.ConsumeRandomLengthString(600);
  const FormReader form = [&controls](int id) {
    const auto found = controls.find(id);
    return found == controls.end() ? std::string() : found->second;
  };

  Failures failures = PrepareOutputTree(g_outputDir);
  const Failures run = GenerateModPackage(form, g_outputDir);
  if (!failures.empty() || !run.empty()) Fail("a run into a good folder failed");

  FieldStore store;  // the values as the run took them
  ReadForm(form, store);
  ApplyTextDefaults(store);
  FormAuthorSuffix(store);
  const OutputPaths paths = MakeOutputPaths(g_outputDir);
  CheckLocalization(ReadFile(paths.localization), store);
  CheckGameplayData(ReadFile(paths.gameplayData), store);
  CheckManifest(ReadFile(paths.manifest));
  return 0;
}
