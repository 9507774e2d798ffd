// The gameplay data document: the database update that defines the wonder. Only the 27 numeric
// fields and the rules of play vary; the whitespace of the constant lines is part of the format.
#include <string>

#include "documents.h"
#include "wondergen/generator.h"
#include "xml_escape.h"

namespace wondergen {
namespace {

// The building row and each field's row are composed: a field's row from its slot.
constexpr int kBuildingRow = kFieldCount;
constexpr Composed Row(int slot) {
  return {slot};
}

// clang-format off
constexpr DocumentLine kGameplayLines[] = {
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n",
    "<GameInfo>\n",
    "\t<Types>\n",
    "\t\t<Row Type=\"BUILDING_SOGMONUMENT2PD\" Kind=\"KIND_BUILDING\"/>\n",
    "\t</Types>\n",
    "\t<Buildings>\n",
    Composed{kBuildingRow},
    "\t</Buildings>\n",
    "\t<Building_YieldChanges>\n",
    "",  // always empty
    Row(0), Row(1), Row(2), Row(3), Row(4), Row(5),  // yields
    "</Building_YieldChanges>\n",
    "<Building_GreatPersonPoints>\n",
    Row(6), Row(7), Row(8), Row(9), Row(10), Row(11), Row(12), Row(13), Row(14),
    "</Building_GreatPersonPoints>\n",
    "<Building_GreatWorks>\n",
    Row(15), Row(16), Row(17), Row(18), Row(19), Row(20), Row(21),
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
// clang-format on

// The building's row: its constant attributes, and each attribute of a slot where the slot is
// set (a rule where it is not empty, a building property where it is neither empty nor "0"), its
// literal, the slot's value and a closing quote; the quote's attribute names its text's tag. In the
// order of the game's own rows (the Pyramids', the Oracle's, the Colosseum's), which is not that of
// the catalogue.
constexpr int kConstant = -1;
struct RowPart {
  const char* literal;  // nullptr: the building property's own, from the catalogue
  int slot = kConstant;
};
constexpr int kAmenitySlot = 22, kCitizenSlotsSlot = 23, kHousingSlot = 24, kWallHitPointsSlot = 25,
              kWallDefenceSlot = 26;
constexpr RowPart kBuildingRowParts[] = {
    {"\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" Name=\"LOC_BUILDING2PD_SOGMONUMENT_NAME\""},
    {" PrereqTech=\"", kPrereqTechSlot},
    {" PrereqCivic=\"", kPrereqCivicSlot},
    {" PrereqDistrict=\"DISTRICT_CITY_CENTER\""},
    {" PurchaseYield=\"", kPurchaseYieldSlot},
    {" Cost=\"", kCostSlot},
    {" AdvisorType=\"ADVISOR_GENERIC\" MaxWorldInstances=\"1\" IsWonder=\"true\""},
    {nullptr, kHousingSlot},
    {nullptr, kCitizenSlotsSlot},
    {nullptr, kAmenitySlot},
    {nullptr, kWallHitPointsSlot},
    {nullptr, kWallDefenceSlot},
    {" RegionalRange=\"10000000\""},
    {" ObsoleteEra=\"", kObsoleteEraSlot},
    {" Quote=\"", kQuoteSlot},
    {"/>\n"},
};
constexpr const char* kQuoteTag = "LOC_BUILDING2PD_SOGMONUMENT_QUOTE";

const char* LiteralOf(const RowPart& part) {
  return part.literal != nullptr ? part.literal : kFieldCatalogue[part.slot].documentText;
}
bool HasAttribute(const FieldStore& store, int slot) {
  return slot < kFieldCount ? IsSet(store[slot]) : !store[slot].empty();
}

std::string BuildingRow(const FieldStore& store, int wonder) {
  std::string row;
  for (const RowPart& part : kBuildingRowParts) {
    if (part.slot == kConstant) {
      row += Numbered(part.literal, wonder);
    } else if (HasAttribute(store, part.slot)) {
      const std::string value = part.slot == kQuoteSlot ? Numbered(kQuoteTag, wonder)
                                                        : EscapeXmlAttribute(store[part.slot]);
      row += LiteralOf(part) + value + "\"";
    }
  }
  return row;
}

// The rows of the three groups of fields that have rows, by FieldGroup: a row is the prefix, the
// field's suffix, the middle and the field's value.
struct RowParts {
  const char* prefix;
  const char* middle;
};
constexpr RowParts kRowParts[] = {
    {"\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" YieldType=\"YIELD", "\" YieldChange=\""},
    {"\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" GreatPersonClassType=\"GREAT_PERSON_CLASS",
     "\" PointsPerTurn=\""},
    {"\t<Row BuildingType=\"BUILDING_SOGMONUMENT2PD\" GreatWorkSlotType=\"GREATWORKSLOT",
     "\" NumSlots=\""},
};

// The line is left empty where the field is not set; `head` alone: what stands before the value.
std::string FieldRow(const FieldStore& store, int wonder, int slot, bool head = false) {
  const std::string& value = store[slot];
  if (!IsSet(value) && !head) return std::string();
  const RowParts& parts = kRowParts[static_cast<int>(kFieldCatalogue[slot].group)];
  const std::string start =
      Numbered(parts.prefix, wonder) + kFieldCatalogue[slot].documentText + parts.middle;
  return head ? start : start + EscapeXmlAttribute(value) + "\"/>\n";
}

}  // namespace

// The building row's attributes and each row's value, where the field's own literals stand; the
// rows of a group one a line. A value is taken as it stands: only plain digits make a form.
bool ReadGameplayDocument(std::string_view document, int wonder, Form& form) {
  const auto parts = ReadDocument(kGameplayLines, wonder, document);
  if (!parts) return false;
  std::string_view row = parts->at(kBuildingRow);
  form.rules.goldPurchase = false;  // unless its attribute stands there
  for (const RowPart& part : kBuildingRowParts) {
    if (part.slot == kConstant) {
      if (!TakePrefix(row, Numbered(part.literal, wonder))) return false;
      continue;
    }
    if (!TakePrefix(row, LiteralOf(part))) continue;
    const std::size_t end = row.find('"');
    if (end == std::string_view::npos) return false;
    const std::string value(row.substr(0, end));
    row.remove_prefix(end + 1);
    Rules& rules = form.rules;
    if (part.slot < kFieldCount) {
      form.valueBoxes[part.slot] = value;
    } else if (part.slot == kCostSlot) {
      const std::optional<int> cost = CostNumber(value);
      if (!cost) return false;
      rules.cost = *cost;
    } else if (part.slot == kPrereqTechSlot || part.slot == kPrereqCivicSlot) {
      rules.prerequisite = value;
    } else if (part.slot == kPurchaseYieldSlot) {
      rules.goldPurchase = true;
    } else if (part.slot == kObsoleteEraSlot) {
      rules.obsoleteEra = value;
    } else if (value != Numbered(kQuoteTag, wonder)) {
      return false;
    }
  }
  if (!row.empty()) return false;
  for (const auto& [part, lines] : *parts) {
    for (std::size_t at = 0; part != kBuildingRow && at < lines.size();) {
      const std::size_t end = lines.find('\n', at);
      if (end == std::string::npos) return false;
      std::string_view line = std::string_view(lines).substr(at, end + 1 - at);
      at = end + 1;
      int slot = 0;
      while (slot < kFieldCount && (kFieldCatalogue[slot].group == FieldGroup::kBuildingProperty ||
                                    !TakePrefix(line, FieldRow(FieldStore(), wonder, slot, true))))
        ++slot;
      if (slot == kFieldCount || !TakeSuffix(line, "\"/>\n")) return false;
      form.valueBoxes[slot] = std::string(line);
    }
  }
  return true;
}

std::string ComposeGameplayDocument(const FieldStore& store, const Composition& composition) {
  const int wonder = composition.wonder;
  return ComposeDocument(kGameplayLines, composition, [&](int part) {
    return part == kBuildingRow ? BuildingRow(store, wonder) : FieldRow(store, wonder, part);
  });
}

}  // namespace wondergen
