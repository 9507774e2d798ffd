// The gameplay data document: the database update that defines the wonder. Only the 27 numeric
// fields vary; the whitespace of the constant lines is part of the format.
#include <string>

#include "documents.h"
#include "wondergen/generator.h"
#include "xml_escape.h"

namespace wondergen {
namespace {

// The constant lines; the building row and the rows of the three field groups are composed.
constexpr std::array<const char*, kGameplayLineCount> kGameplayLines = {
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n",
    "<GameInfo>\n",
    "\t<Types>\n",
    "\t\t<Row Type=\"BUILDING_SOGMONUMENT2PD\" Kind=\"KIND_BUILDING\"/>\n",
    "\t</Types>\n",
    "\t<Buildings>\n",
    kComposedLine,  // 6: the building row
    "\t</Buildings>\n",
    "\t<Building_YieldChanges>\n",
    "",  // 9: always empty
    kComposedLine,
    kComposedLine,
    kComposedLine,
    kComposedLine,
    kComposedLine,
    kComposedLine,  // 10..15: yields
    "</Building_YieldChanges>\n",
    "<Building_GreatPersonPoints>\n",
    kComposedLine,
    kComposedLine,
    kComposedLine,
    kComposedLine,
    kComposedLine,
    kComposedLine,
    kComposedLine,
    kComposedLine,
    kComposedLine,  // 18..26: great-person points
    "</Building_GreatPersonPoints>\n",
    "<Building_GreatWorks>\n",
    kComposedLine,
    kComposedLine,
    kComposedLine,
    kComposedLine,
    kComposedLine,
    kComposedLine,
    kComposedLine,  // 29..35: great-work slots
    "\t</Building_GreatWorks>\n",
    "\t<Building_ValidTerrains>\n",
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" TerrainType=\"TERRAIN_COAST\"/>\n",
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" TerrainType=\"TERRAIN_PLAINS\"/>\n",
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" TerrainType=\"TERRAIN_GRASS\"/>\n",
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" TerrainType=\"TERRAIN_DESERT\"/>\n",
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" TerrainType=\"TERRAIN_SNOW\"/>\n",
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" TerrainType=\"TERRAIN_TUNDRA\"/>\n",
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" TerrainType=\"TERRAIN_GRASS_HILLS\"/>\n",
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" TerrainType=\"TERRAIN_PLAINS_HILLS\"/>\n",
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" TerrainType=\"TERRAIN_DESERT_HILLS\"/>\n",
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" TerrainType=\"TERRAIN_TUNDRA_HILLS\"/>\n",
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" TerrainType=\"TERRAIN_SNOW_HILLS\"/>\n",
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
    "</GameInfo>\n",
};

constexpr int kBuildingRowLine = 6;
static_assert(LineIs(kGameplayLines, kBuildingRowLine - 1, "\t<Buildings>\n") &&
                  LineIs(kGameplayLines, kBuildingRowLine, kComposedLine) &&
                  LineIs(kGameplayLines, kBuildingRowLine + 1, "\t</Buildings>\n"),
              "the building row stands alone in its table");

constexpr const char* kBuildingRowHead =
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" Name=\"LOC_BUILDING2PD_SOGMONUMENT_NAME\" "
    "PrereqDistrict=\"DISTRICT_CITY_CENTER\" PurchaseYield=\"YIELD_GOLD\" Cost=\"1\" "
    "AdvisorType=\"ADVISOR_GENERIC\" MaxWorldInstances=\"1\" IsWonder=\"true\"";
constexpr const char* kBuildingRowTail = " RegionalRange=\"10000000\"/>\n";

// The building properties, whose values become attributes of the building row, in the order the
// attributes stand there, which is not the order of the catalogue.
constexpr int kAmenitySlot = 22, kCitizenSlotsSlot = 23, kHousingSlot = 24, kWallHitPointsSlot = 25,
              kWallDefenceSlot = 26;
constexpr std::array<int, 5> kBuildingAttributeSlots = {
    kHousingSlot, kCitizenSlotsSlot, kAmenitySlot, kWallHitPointsSlot, kWallDefenceSlot};

// The rows of one field group: the group's fields, in catalogue order, each on its own line from
// `firstLine` on, the line left empty where the field is not set. A row's type value is the
// prefix's end followed by the field's suffix.
struct RowGroup {
  FieldGroup group;
  int firstLine;
  int fieldCount;
  const char* prefix;
  const char* middle;
};

constexpr RowGroup kYieldRows = {
    FieldGroup::kYield, 10, 6, "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" YieldType=\"YIELD",
    "\" YieldChange=\""};
constexpr RowGroup kGreatPersonRows = {
    FieldGroup::kGreatPersonPoints, 18, 9,
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" GreatPersonClassType=\"GREAT_PERSON_CLASS",
    "\" PointsPerTurn=\""};
constexpr RowGroup kGreatWorkRows = {
    FieldGroup::kGreatWorkSlots, 29, 7,
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" GreatWorkSlotType=\"GREATWORKSLOT",
    "\" NumSlots=\""};
constexpr std::array<RowGroup, 3> kRowGroups = {kYieldRows, kGreatPersonRows, kGreatWorkRows};

// Whether a group's rows fill exactly the composed lines between its table's opening and closing
// lines; the yield table keeps one always-empty line after its opening line.
constexpr bool RowsFitTheirTable(const RowGroup& rows, int linesAfterOpening, const char* opening,
                                 const char* closing) {
  for (int i = 0; i < rows.fieldCount; ++i) {
    if (!LineIs(kGameplayLines, rows.firstLine + i, kComposedLine)) return false;
  }
  return LineIs(kGameplayLines, rows.firstLine - 1 - linesAfterOpening, opening) &&
         LineIs(kGameplayLines, rows.firstLine + rows.fieldCount, closing);
}
static_assert(LineIs(kGameplayLines, kYieldRows.firstLine - 1, ""), "line 9 is always empty");
static_assert(LineIs(kGameplayLines, kGameplayLineCount - 1, "</GameInfo>\n"),
              "every line is given");
static_assert(RowsFitTheirTable(kYieldRows, 1, "\t<Building_YieldChanges>\n",
                                "</Building_YieldChanges>\n"));
static_assert(RowsFitTheirTable(kGreatPersonRows, 0, "<Building_GreatPersonPoints>\n",
                                "</Building_GreatPersonPoints>\n"));
static_assert(RowsFitTheirTable(kGreatWorkRows, 0, "<Building_GreatWorks>\n",
                                "\t</Building_GreatWorks>\n"));
static_assert(kYieldRows.fieldCount + kGreatPersonRows.fieldCount + kGreatWorkRows.fieldCount +
                      static_cast<int>(kBuildingAttributeSlots.size()) ==
                  kFieldCount,
              "every field has its place in the document");

}  // namespace

void ComposeGameplayDocument(const FieldStore& store, LineBuffer& lines) {
  SetConstantLines(kGameplayLines, lines);

  std::string& buildingRow = lines[kBuildingRowLine];
  buildingRow = kBuildingRowHead;
  for (int slot : kBuildingAttributeSlots) {
    const std::string& value = store[slot];
    if (IsSet(value))
      buildingRow += kFieldCatalogue[slot].documentText + EscapeXmlAttribute(value) + "\"";
  }
  buildingRow += kBuildingRowTail;

  for (const RowGroup& rows : kRowGroups) {
    int line = rows.firstLine;
    for (int slot = 0; slot < kFieldCount; ++slot) {
      const FieldSpec& field = kFieldCatalogue[slot];
      if (field.group != rows.group) continue;
      const std::string& value = store[slot];
      lines[line++] = IsSet(value) ? rows.prefix + std::string(field.documentText) + rows.middle +
                                         EscapeXmlAttribute(value) + "\"/>\n"
                                   : std::string();
    }
  }
}

}  // namespace wondergen
