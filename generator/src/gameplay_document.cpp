// The gameplay data document: the database update that defines the wonder. Only the 27 numeric
// fields vary; the whitespace of the constant lines is part of the format.
#include <string>

#include "document_lines.h"
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
    "\t\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" TerrainType=\"TERRAIN_COAST\"/>\n",
    "\t\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" TerrainType=\"TERRAIN_PLAINS\"/>\n",
    "\t\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" TerrainType=\"TERRAIN_GRASS\"/>\n",
    "\t\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" TerrainType=\"TERRAIN_DESERT\"/>\n",
    "\t\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" TerrainType=\"TERRAIN_SNOW\"/>\n",
    "\t\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" TerrainType=\"TERRAIN_TUNDRA\"/>\n",
    "\t\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" TerrainType=\"TERRAIN_GRASS_HILLS\"/>\n",
    "\t\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" TerrainType=\"TERRAIN_PLAINS_HILLS\"/>\n",
    "\t\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" TerrainType=\"TERRAIN_DESERT_HILLS\"/>\n",
    "\t\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" TerrainType=\"TERRAIN_TUNDRA_HILLS\"/>\n",
    "\t\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" TerrainType=\"TERRAIN_SNOW_HILLS\"/>\n",
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
    "Atlas=\"ICON_ATLAS_BUILDINGS_FOW\" "
    "Index=\"99\"/>\n",
    " \t</IconDefinitions>\n",
    "</GameInfo>\n",
};

constexpr const char* kBuildingRowHead =
    "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" Name=\"LOC_BUILDING2PD_SOGMONUMENT_NAME\" "
    "PrereqDistrict=\"DISTRICT_CITY_CENTER\" PurchaseYield=\"YIELD_GOLD\" Cost=\"1\" "
    "AdvisorType=\"ADVISOR_GENERIC\" MaxWorldInstances=\"1\" IsWonder=\"true\"";
constexpr const char* kBuildingRowTail = " RegionalRange=\"10000000\"/>\n";

// Slots of the building properties in the order their attributes stand in the building row:
// housing, citizen slots, amenity, wall hit points, wall defence.
constexpr std::array<int, 5> kBuildingAttributeSlots = {24, 23, 22, 25, 26};

// The rows of one field group. A field's row stands on line `slot + lineOffset`; the type value
// is the prefix's end followed by the field's suffix.
struct RowGroup {
  FieldGroup group;
  int lineOffset;
  const char* prefix;
  const char* middle;
};

constexpr std::array<RowGroup, 3> kRowGroups = {{
    {FieldGroup::kYield, 10, "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" YieldType=\"YIELD",
     "\" YieldChange=\""},
    {FieldGroup::kGreatPersonPoints, 12,
     "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" GreatPersonClassType=\"GREAT_PERSON_CLASS",
     "\" PointsPerTurn=\""},
    {FieldGroup::kGreatWorkSlots, 14,
     "\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" GreatWorkSlotType=\"GREATWORKSLOT",
     "\" NumSlots=\""},
}};

}  // namespace

void ComposeGameplayDocument(FieldStore& store, LineBuffer& lines) {
  for (int slot : kBuildingAttributeSlots) {
    std::string& value = store[slot];
    value = IsSet(value) ? kFieldCatalogue[slot].documentText + EscapeXmlAttribute(value) + "\""
                         : std::string();
  }
  SetConstantLines(kGameplayLines, lines);

  std::string& buildingRow = lines[6];
  buildingRow = kBuildingRowHead;
  for (int slot : kBuildingAttributeSlots)
    buildingRow += store[slot];
  buildingRow += kBuildingRowTail;

  for (const RowGroup& rows : kRowGroups) {
    for (int slot = 0; slot < kFieldCount; ++slot) {
      const FieldSpec& field = kFieldCatalogue[slot];
      if (field.group != rows.group) continue;
      const std::string& value = store[slot];
      lines[slot + rows.lineOffset] = IsSet(value)
                                          ? rows.prefix + std::string(field.documentText) +
                                                rows.middle + EscapeXmlAttribute(value) + "\"/>\n"
                                          : std::string();
    }
  }
}

}  // namespace wondergen
