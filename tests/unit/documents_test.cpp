// The three documents, byte for byte, composed in memory and as written by a whole run.
#include <gtest/gtest.h>

#include "test_support.h"

namespace wondergen::testing {
namespace {

const std::string kTeaserDefault =
    "外星文明已经在地球上建立了观察站，他们将传授建造了圣女碑的城市科学技术和宗教知识.";
const std::string kDescriptionDefault =
    "外星文明已经在地球上建立了观察站，他们将传授建造了圣女碑的城市科学技术和宗教知识";
const std::string kMadeBy = "\t\t------制作:《vudazu》 ";

// The localization document in UTF-8, for the texts as they stand after defaults and suffix.
std::string LocalizationDocument(const std::string& title, const std::string& teaserAndSuffix,
                                 const std::string& description, const std::string& building) {
  return JoinLines({
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n",
      "<GameData>\n",
      "  <LocalizedText>\n",
      "\t\t\t<Replace Tag=\"RIRNewBuilding2PD_Title\" Language=\"zh_Hans_CN\">\n",
      "\t\t\t<Text>" + title + " </Text>\n",
      "\t\t\t</Replace>\n",
      "\t\t\t<Replace Tag=\"RIRNewBuilding2PD_TEASER\" Language=\"zh_Hans_CN\">\n",
      "\t\t\t<Text>" + teaserAndSuffix + "</Text>\n",
      "\t\t\t </Replace>\n",
      "\t\t\t<Replace Tag=\"RIRNewBuilding2PD_DESCRIPTION\" Language=\"zh_Hans_CN\">\n",
      "\t\t\t<Text>" + description + " </Text>\n",
      "\t\t\t</Replace>\n",
      "\t\t\t<Replace Tag=\"LOC_BUILDING2PD_SOGMONUMENT_NAME\" Language=\"zh_Hans_CN\">\n",
      "\t\t\t<Text>" + building + " </Text>\n",
      "    \t\t</Replace>\n",
      "  </LocalizedText>\n",
      "</GameData>",
  });
}

const std::string kBuildingRowHead =
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" Name=\"LOC_BUILDING2PD_SOGMONUMENT_NAME\" "
    "PrereqDistrict=\"DISTRICT_CITY_CENTER\" PurchaseYield=\"YIELD_GOLD\" Cost=\"1\" "
    "AdvisorType=\"ADVISOR_GENERIC\" MaxWorldInstances=\"1\" IsWonder=\"true\"";
const std::string kBuildingRowTail = " RegionalRange=\"10000000\"/>\n";

// The gameplay data document with the given building row and the rows of the three tables.
std::string GameplayDocument(const std::string& buildingRow, const std::string& yieldRows,
                             const std::string& greatPersonRows, const std::string& greatWorkRows) {
  const std::string terrainRow = "\t\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" TerrainType=\"";
  return JoinLines({
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n",
      "<GameInfo>\n",
      "\t<Types>\n",
      "\t\t<Row Type=\"BUILDING_SOGMONUMENT2PD\" Kind=\"KIND_BUILDING\"/>\n",
      "\t</Types>\n",
      "\t<Buildings>\n",
      buildingRow,
      "\t</Buildings>\n",
      "\t<Building_YieldChanges>\n",
      yieldRows,
      "</Building_YieldChanges>\n",
      "<Building_GreatPersonPoints>\n",
      greatPersonRows,
      "</Building_GreatPersonPoints>\n",
      "<Building_GreatWorks>\n",
      greatWorkRows,
      "\t</Building_GreatWorks>\n",
      "\t<Building_ValidTerrains>\n",
      terrainRow + "TERRAIN_COAST\"/>\n",
      terrainRow + "TERRAIN_PLAINS\"/>\n",
      terrainRow + "TERRAIN_GRASS\"/>\n",
      terrainRow + "TERRAIN_DESERT\"/>\n",
      terrainRow + "TERRAIN_SNOW\"/>\n",
      terrainRow + "TERRAIN_TUNDRA\"/>\n",
      terrainRow + "TERRAIN_GRASS_HILLS\"/>\n",
      terrainRow + "TERRAIN_PLAINS_HILLS\"/>\n",
      terrainRow + "TERRAIN_DESERT_HILLS\"/>\n",
      terrainRow + "TERRAIN_TUNDRA_HILLS\"/>\n",
      terrainRow + "TERRAIN_SNOW_HILLS\"/>\n",
      "\t</Building_ValidTerrains>\n",
      "\t<Modifiers>\n",
      "\t\t<Row>\n",
      "\t\t\t<ModifierId>SOGMONUMENT_ADDAPPEAL</ModifierId>\n",
      "\t\t\t<ModifierType>MODIFIER_PLAYER_CITIES_ADJUST_CITY_APPEAL</ModifierType>\n",
      "\t\t</Row>\n",
      "\t</Modifiers>\n",
      "\t<ModifierArguments>\n",
      "\t\t<Row>\n",
      "\t\t\t<ModifierId>SOGMONUMENT_ADDAPPEAL</ModifierId>\n",
      "\t\t\t<Name>Amount</Name>\n",
      "\t\t\t<Value>2</Value>\n",
      "\t\t</Row>\n",
      "\t</ModifierArguments>\n",
      "\t<BuildingModifiers>\n",
      "\t\t<Row>\n",
      "\t\t\t<BuildingType>BUILDING_SOGMONUMENT2PD</BuildingType>\n",
      "\t\t\t<ModifierId>SOGMONUMENT_ADDAPPEAL</ModifierId>\n",
      "\t\t</Row>\n",
      "\t</BuildingModifiers>\n",
      "\t<IconDefinitions>\n",
      "    \t<Row Name=\"ICON_BUILDING_SOGMONUMENT\"             Atlas=\"ICON_ATLAS_BUILDINGS\" "
      "Index=\"99\"/>\n",
      "   \t<Row Name=\"ICON_BUILDING_SOGMONUMENT_FOW\"            "
      "Atlas=\"ICON_ATLAS_BUILDINGS_FOW\" Index=\"99\"/>\n",
      " \t</IconDefinitions>\n",
      "</GameInfo>\n",
  });
}

const std::string kManifest =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<Mod id =\"11223344-0000-0000-0000-ABCDEFABCDPD\" version =\"1\">\n"
    "\t<Properties>\n"
    "\t\t<Name>RIRNewBuilding2PD_Title</Name>\n"
    "\t\t<Teaser>RIRNewBuilding2PD_TEASER</Teaser>\n"
    "\t\t<Description>RIRNewBuilding2PD_DESCRIPTION</Description>\n"
    "\t\t<Authors>vudazu</Authors>\n"
    "\t\t<ShowInBrowser>AlwaysShow</ShowInBrowser>\n"
    "\t\t<EnabledByDefault>1</EnabledByDefault>\n"
    "\t\t<EnabledAtStartup>1</EnabledAtStartup>\n"
    "\t</Properties>\n"
    "\t<Components>\n"
    "\t\t<UpdateDatabase id = \"RIRNewBuilding2PD_GAMEPLAY_DATA\">\n"
    "\t\t<Items>\n"
    "\t\t\t<File>Data/Newbuilding2PD_RIR_GameplayData.xml</File>\n"
    "\t\t</Items>\n"
    "\t\t</UpdateDatabase>\n"
    "\t</Components>\n"
    "\t<Files>\n"
    "\t\t<File>Data/Newbuilding2PD_RIR_GameplayData.xml</File>\n"
    "\t</Files>\n"
    "</Mod>\n";

// Field k (1..27) set to the decimal text of k.
FormReader EveryFieldSetToItsNumber() {
  std::map<int, std::string> controls;
  for (int slot = 0; slot < kFieldCount; ++slot)
    controls[ValueBoxId(slot)] = std::to_string(slot + 1);
  return FormWith(controls);
}

const std::string kEveryYieldRow =
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" YieldType=\"YIELD_SCIENCE\" "
    "YieldChange=\"1\"/>\n"
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" YieldType=\"YIELD_PRODUCTION\" "
    "YieldChange=\"2\"/>\n"
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" YieldType=\"YIELD_FAITH\" "
    "YieldChange=\"3\"/>\n"
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" YieldType=\"YIELD_CULTURE\" "
    "YieldChange=\"4\"/>\n"
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" YieldType=\"YIELD_FOOD\" YieldChange=\"5\"/>\n"
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" YieldType=\"YIELD_GOLD\" "
    "YieldChange=\"6\"/>\n";
const std::string kEveryGreatPersonRow =
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" "
    "GreatPersonClassType=\"GREAT_PERSON_CLASS_MUSICIAN\" PointsPerTurn=\"7\"/>\n"
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" "
    "GreatPersonClassType=\"GREAT_PERSON_CLASS_ARTIST\" PointsPerTurn=\"8\"/>\n"
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" "
    "GreatPersonClassType=\"GREAT_PERSON_CLASS_SCIENTIST\" PointsPerTurn=\"9\"/>\n"
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" "
    "GreatPersonClassType=\"GREAT_PERSON_CLASS_ENGINEER\" PointsPerTurn=\"10\"/>\n"
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" "
    "GreatPersonClassType=\"GREAT_PERSON_CLASS_MERCHANT\" PointsPerTurn=\"11\"/>\n"
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" "
    "GreatPersonClassType=\"GREAT_PERSON_CLASS_GENERAL\" PointsPerTurn=\"12\"/>\n"
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" "
    "GreatPersonClassType=\"GREAT_PERSON_CLASS_ADMIRAL\" PointsPerTurn=\"13\"/>\n"
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" "
    "GreatPersonClassType=\"GREAT_PERSON_CLASS_WRITER\" PointsPerTurn=\"14\"/>\n"
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" "
    "GreatPersonClassType=\"GREAT_PERSON_CLASS_PROPHET\" PointsPerTurn=\"15\"/>\n";
const std::string kEveryGreatWorkRow =
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" GreatWorkSlotType=\"GREATWORKSLOT_PALACE\" "
    "NumSlots=\"16\"/>\n"
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" GreatWorkSlotType=\"GREATWORKSLOT_RELIC\" "
    "NumSlots=\"17\"/>\n"
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" GreatWorkSlotType=\"GREATWORKSLOT_WRITING\" "
    "NumSlots=\"18\"/>\n"
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" GreatWorkSlotType=\"GREATWORKSLOT_ART\" "
    "NumSlots=\"19\"/>\n"
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" GreatWorkSlotType=\"GREATWORKSLOT_ARTIFACT\" "
    "NumSlots=\"20\"/>\n"
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" GreatWorkSlotType=\"GREATWORKSLOT_MUSIC\" "
    "NumSlots=\"21\"/>\n"
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" GreatWorkSlotType=\"GREATWORKSLOT_CATHEDRAL\" "
    "NumSlots=\"22\"/>\n";

using DocumentsTest = TempDirTest;

TEST_F(DocumentsTest, EmptyFormGivesTheDefaultsAndNoOptionalRows) {
  const WrittenPackage package = GenerateInto(dir_, FormWith({}));
  EXPECT_TRUE(package.failures.empty());

  EXPECT_EQ(package.localization, LocalizationDocument("圣女碑", kTeaserDefault + kMadeBy,
                                                       kDescriptionDefault, "圣女碑"));
  EXPECT_EQ(package.localization.size(), 792u);

  EXPECT_EQ(package.gameplayData,
            GameplayDocument(kBuildingRowHead + kBuildingRowTail, "", "", ""));
  EXPECT_EQ(SplitLines(package.gameplayData).size(), 51u);

  EXPECT_EQ(package.manifest, kManifest);
  EXPECT_EQ(package.manifest.size(), 693u);
}

TEST_F(DocumentsTest, EveryFieldSetGivesEveryRowAndAttribute) {
  const WrittenPackage package = GenerateInto(dir_, EveryFieldSetToItsNumber());
  EXPECT_TRUE(package.failures.empty());
  const std::string buildingRow = kBuildingRowHead +
                                  " Housing=\"25\" CitizenSlots=\"24\" Entertainment=\"23\""
                                  " OuterDefenseHitPoints=\"26\" OuterDefenseStrength=\"27\"" +
                                  kBuildingRowTail;
  EXPECT_EQ(package.gameplayData, GameplayDocument(buildingRow, kEveryYieldRow,
                                                   kEveryGreatPersonRow, kEveryGreatWorkRow));
  EXPECT_EQ(SplitLines(package.gameplayData).size(), 73u);
  // The longest gameplay document came just before: none of it may reach the manifest.
  EXPECT_EQ(package.manifest, kManifest);
}

TEST_F(DocumentsTest, AuthorNameEndsTheTeaser) {
  const WrittenPackage package = GenerateInto(dir_, FormWith({{TextBoxId(4), "abc"}}));
  EXPECT_EQ(package.localization,
            LocalizationDocument("圣女碑", kTeaserDefault + kMadeBy + "------改写：《abc》",
                                 kDescriptionDefault, "圣女碑"));
  EXPECT_EQ(package.localization.size(), 816u);
}

TEST_F(DocumentsTest, EachTextBoxFeedsItsEntry) {
  const WrittenPackage package =
      GenerateInto(dir_, FormWith({{TextBoxId(0), Cp936("标题")},
                                   {TextBoxId(1), "xyz"},
                                   {TextBoxId(2), Cp936("说明")},  // the row labelled "建筑名"
                                   {TextBoxId(3), Cp936("奇观")},  // the row labelled "建筑说明"
                                   {TextBoxId(4), Cp936("玩家")}}));
  EXPECT_EQ(package.localization,
            LocalizationDocument("标题", "xyz" + kMadeBy + "------改写：《玩家》", "说明", "奇观"));
}

TEST_F(DocumentsTest, BlankTextsAreKeptAndGetNoDefault) {
  const WrittenPackage package =
      GenerateInto(dir_, FormWith({{TextBoxId(0), " "}, {TextBoxId(3), "  "}}));
  EXPECT_EQ(package.localization,
            LocalizationDocument(" ", kTeaserDefault + kMadeBy, kDescriptionDefault, "  "));
}

TEST_F(DocumentsTest, UserTextsAreEscapedAndForbiddenCharactersDropped) {
  const WrittenPackage package = GenerateInto(dir_, FormWith({{TextBoxId(0), "A&B <C> \"q\""},
                                                              {TextBoxId(1), "t\x01\x1f\tx\x7f"},
                                                              {TextBoxId(4), "<me>"},
                                                              {ValueBoxId(5), "12\""},
                                                              {ValueBoxId(24), "3<&"}}));
  EXPECT_EQ(package.localization,
            LocalizationDocument("A&amp;B &lt;C&gt; \"q\"",
                                 "t\tx\x7f" + kMadeBy + "------改写：《&lt;me&gt;》",
                                 kDescriptionDefault, "圣女碑"));
  EXPECT_EQ(package.gameplayData,
            GameplayDocument(kBuildingRowHead + " Housing=\"3&lt;&amp;\"" + kBuildingRowTail,
                             "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" "
                             "YieldType=\"YIELD_GOLD\" YieldChange=\"12&quot;\"/>\n",
                             "", ""));
}

TEST_F(DocumentsTest, LongTextsAreKeptWhole) {
  std::string longTeaser;
  for (int i = 0; i < 500; ++i)
    longTeaser += "长";
  const WrittenPackage package = GenerateInto(dir_, FormWith({{TextBoxId(1), Cp936(longTeaser)}}));
  EXPECT_EQ(package.localization,
            LocalizationDocument("圣女碑", longTeaser + kMadeBy, kDescriptionDefault, "圣女碑"));
}

struct SetTestCase {
  std::string valueBox;
  bool set;
};
void PrintTo(const SetTestCase& c, std::ostream* out) {
  *out << '"' << c.valueBox << '"';
}

class SetTest : public ::testing::TestWithParam<SetTestCase> {};

TEST_P(SetTest, OnlySetFieldsReachTheDocument) {
  FieldStore store;
  LineBuffer lines;
  store[5] = GetParam().valueBox;   // gold
  store[26] = GetParam().valueBox;  // wall defence
  ComposeGameplayDocument(store, lines);
  const bool goldRow = !lines[15].empty();
  const bool defenceAttribute = lines[6].find("OuterDefenseStrength") != std::string::npos;
  EXPECT_EQ(goldRow, GetParam().set);
  EXPECT_EQ(defenceAttribute, GetParam().set);
  EXPECT_EQ(IsSet(GetParam().valueBox), GetParam().set);
}

INSTANTIATE_TEST_SUITE_P(ValueBoxTexts, SetTest,
                         ::testing::Values(SetTestCase{"", false}, SetTestCase{"0", false},
                                           SetTestCase{"00", true}, SetTestCase{" 0", true},
                                           SetTestCase{"1", true}, SetTestCase{"25abc", true},
                                           SetTestCase{"007", true}));

TEST(GameplayDocumentTest, OnlyGoldSetGivesOneYieldRow) {
  FieldStore store;
  LineBuffer lines;
  store[5] = "10";
  ComposeGameplayDocument(store, lines);
  EXPECT_EQ(lines[15],
            "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" YieldType=\"YIELD_GOLD\" "
            "YieldChange=\"10\"/>\n");
  for (int line = 9; line <= 14; ++line)
    EXPECT_EQ(lines[line], "") << "line " << line;
}

TEST(GameplayDocumentTest, BuildingAttributesStandInTheirOwnOrder) {
  // Catalogue order is amenity, citizen slots, housing, wall hit points, wall defence.
  const std::vector<std::pair<std::map<int, std::string>, std::string>> cases = {
      {{{22, "2"}, {24, "3"}}, " Housing=\"3\" Entertainment=\"2\""},
      {{{26, "9"}, {22, "1"}}, " Entertainment=\"1\" OuterDefenseStrength=\"9\""},
      {{{25, "100"}, {23, "2"}}, " CitizenSlots=\"2\" OuterDefenseHitPoints=\"100\""},
      {{{25, ""}, {26, "0"}}, ""},
  };
  for (const auto& [slots, attributes] : cases) {
    FieldStore store;
    LineBuffer lines;
    for (const auto& [slot, value] : slots)
      store[slot] = value;
    ComposeGameplayDocument(store, lines);
    EXPECT_EQ(lines[6], kBuildingRowHead + attributes + kBuildingRowTail);
  }
}

TEST(GameplayDocumentTest, LeftoverLinesNeverReachTheDocument) {
  FieldStore store;
  LineBuffer lines;
  lines.fill("stale\n");
  ComposeGameplayDocument(store, lines);
  std::string document;
  for (int i = 0; i < kGameplayLineCount; ++i)
    document += lines[i];
  EXPECT_EQ(document, Cp936(GameplayDocument(kBuildingRowHead + kBuildingRowTail, "", "", "")));
}

TEST(ManifestTest, NamesTheGameplayFileWhereTheTreePutsIt) {
  const OutputPaths paths = MakeOutputPaths("out");
  const std::filesystem::path relative =
      paths.gameplayData.lexically_relative(paths.manifest.parent_path());
  EXPECT_NE(kManifest.find("<File>" + relative.generic_string() + "</File>"), std::string::npos);
}

}  // namespace
}  // namespace wondergen::testing
