// The fields and texts of the form. This file's narrow literals are compiled as code page 936.
#include "wondergen/generator.h"

namespace wondergen {

// label, command-line option, group, row-type suffix or attribute literal
const std::array<FieldSpec, kFieldCount> kFieldCatalogue = {{
    {"科技", "science", FieldGroup::kYield, "_SCIENCE"},
    {"生产", "production", FieldGroup::kYield, "_PRODUCTION"},
    {"信仰", "faith", FieldGroup::kYield, "_FAITH"},
    {"文化", "culture", FieldGroup::kYield, "_CULTURE"},
    {"食物", "food", FieldGroup::kYield, "_FOOD"},
    {"金币", "gold", FieldGroup::kYield, "_GOLD"},
    {"大音乐家点", "great-musician", FieldGroup::kGreatPersonPoints, "_MUSICIAN"},
    {"大艺术家点", "great-artist", FieldGroup::kGreatPersonPoints, "_ARTIST"},
    {"大科学家点", "great-scientist", FieldGroup::kGreatPersonPoints, "_SCIENTIST"},
    {"大工程师点", "great-engineer", FieldGroup::kGreatPersonPoints, "_ENGINEER"},
    {"大商人点", "great-merchant", FieldGroup::kGreatPersonPoints, "_MERCHANT"},
    {"大将军点", "great-general", FieldGroup::kGreatPersonPoints, "_GENERAL"},
    {"大海军点", "great-admiral", FieldGroup::kGreatPersonPoints, "_ADMIRAL"},
    {"大作家点", "great-writer", FieldGroup::kGreatPersonPoints, "_WRITER"},
    {"大预言家点", "great-prophet", FieldGroup::kGreatPersonPoints, "_PROPHET"},
    {"宫殿槽", "palace-slots", FieldGroup::kGreatWorkSlots, "_PALACE"},
    {"遗物槽", "relic-slots", FieldGroup::kGreatWorkSlots, "_RELIC"},
    {"著作槽", "writing-slots", FieldGroup::kGreatWorkSlots, "_WRITING"},
    {"艺术槽", "art-slots", FieldGroup::kGreatWorkSlots, "_ART"},
    {"文物槽", "artifact-slots", FieldGroup::kGreatWorkSlots, "_ARTIFACT"},
    {"音乐槽", "music-slots", FieldGroup::kGreatWorkSlots, "_MUSIC"},
    {"宗教槽", "religious-slots", FieldGroup::kGreatWorkSlots, "_CATHEDRAL"},
    {"宜居度", "amenity", FieldGroup::kBuildingProperty, " Entertainment=\""},
    {"公民槽", "citizen-slots", FieldGroup::kBuildingProperty, " CitizenSlots=\""},
    {"住房", "housing", FieldGroup::kBuildingProperty, " Housing=\""},
    {"+围墙生命", "wall-hit-points", FieldGroup::kBuildingProperty, " OuterDefenseHitPoints=\""},
    {"+围墙防御", "wall-defence", FieldGroup::kBuildingProperty, " OuterDefenseStrength=\""},
}};

// The label of a text's row does not always say where the text goes: the box labelled "建筑名"
// holds the mod's description, the one labelled "建筑说明" the building's name.
const std::array<TextSpec, kTextCount> kTextCatalogue = {{
    {"DLC名", "title", "圣女碑"},
    {"DLC说明", "teaser",
     "外星文明已经在地球上建立了观察站，他们将传授建造了圣女碑的城市科学技术和宗教知识."},
    {"建筑名", "description",
     "外星文明已经在地球上建立了观察站，他们将传授建造了圣女碑的城市科学技术和宗教知识"},
    {"建筑说明", "building-name", "圣女碑"},
    {"你的名字", "author", nullptr},
}};

}  // namespace wondergen
