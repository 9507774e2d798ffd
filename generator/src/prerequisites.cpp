// The base game's eras, technologies and civics. This file's narrow literals are compiled as code
// page 936. The names are those of the game's own Simplified Chinese texts (LOC_ERA_*_NAME,
// LOC_TECH_*_NAME, LOC_CIVIC_*_NAME); the types, eras and order those of its gameplay data
// (Eras.xml, Technologies.xml, Civics.xml).
#include "wondergen/generator.h"

namespace wondergen {
namespace {

// Indexes in kEras.
constexpr int kAncient = 0, kClassical = 1, kMedieval = 2, kRenaissance = 3, kIndustrial = 4,
              kModern = 5, kAtomic = 6, kInformation = 7;
static_assert(kInformation + 1 == kEraCount);

}  // namespace

const std::array<EraSpec, kEraCount> kEras = {{
    {"ERA_ANCIENT", "远古时代"},
    {"ERA_CLASSICAL", "古典时期"},
    {"ERA_MEDIEVAL", "中世纪"},
    {"ERA_RENAISSANCE", "文艺复兴时期"},
    {"ERA_INDUSTRIAL", "工业时代"},
    {"ERA_MODERN", "现代"},
    {"ERA_ATOMIC", "原子能时代"},
    {"ERA_INFORMATION", "信息时代"},
}};

// type, name, era
const std::array<PrerequisiteSpec, kPrerequisiteCount> kPrerequisites = {{
    // ERA_ANCIENT: technologies
    {"TECH_POTTERY", "制陶术", kAncient},
    {"TECH_ANIMAL_HUSBANDRY", "畜牧业", kAncient},
    {"TECH_MINING", "采矿业", kAncient},
    {"TECH_SAILING", "航海术", kAncient},
    {"TECH_ASTROLOGY", "占星术", kAncient},
    {"TECH_IRRIGATION", "灌溉", kAncient},
    {"TECH_WRITING", "写作", kAncient},
    {"TECH_ARCHERY", "箭术", kAncient},
    {"TECH_MASONRY", "砌砖", kAncient},
    {"TECH_BRONZE_WORKING", "铸铜术", kAncient},
    {"TECH_THE_WHEEL", "轮子", kAncient},
    // ERA_ANCIENT: civics
    {"CIVIC_CODE_OF_LAWS", "法典", kAncient},
    {"CIVIC_CRAFTSMANSHIP", "技艺", kAncient},
    {"CIVIC_FOREIGN_TRADE", "对外贸易", kAncient},
    {"CIVIC_MILITARY_TRADITION", "军事传统", kAncient},
    {"CIVIC_MYSTICISM", "神秘主义", kAncient},
    {"CIVIC_STATE_WORKFORCE", "国家劳动力", kAncient},
    {"CIVIC_EARLY_EMPIRE", "帝国初期", kAncient},
    // ERA_CLASSICAL: technologies
    {"TECH_CELESTIAL_NAVIGATION", "天文导航", kClassical},
    {"TECH_CURRENCY", "货币", kClassical},
    {"TECH_HORSEBACK_RIDING", "骑马", kClassical},
    {"TECH_IRON_WORKING", "炼铁术", kClassical},
    {"TECH_SHIPBUILDING", "造船术", kClassical},
    {"TECH_MATHEMATICS", "数学", kClassical},
    {"TECH_CONSTRUCTION", "建造", kClassical},
    {"TECH_ENGINEERING", "工程", kClassical},
    // ERA_CLASSICAL: civics
    {"CIVIC_GAMES_RECREATION", "游戏和娱乐", kClassical},
    {"CIVIC_POLITICAL_PHILOSOPHY", "政治哲学", kClassical},
    {"CIVIC_DRAMA_POETRY", "戏剧和诗歌", kClassical},
    {"CIVIC_MILITARY_TRAINING", "军事训练", kClassical},
    {"CIVIC_THEOLOGY", "神学", kClassical},
    {"CIVIC_DEFENSIVE_TACTICS", "防御战术", kClassical},
    {"CIVIC_RECORDED_HISTORY", "历史记录", kClassical},
    // ERA_MEDIEVAL: technologies
    {"TECH_MILITARY_TACTICS", "战术", kMedieval},
    {"TECH_APPRENTICESHIP", "学徒", kMedieval},
    {"TECH_MACHINERY", "机械", kMedieval},
    {"TECH_EDUCATION", "教育", kMedieval},
    {"TECH_STIRRUPS", "马镫", kMedieval},
    {"TECH_MILITARY_ENGINEERING", "军事工程学", kMedieval},
    {"TECH_CASTLES", "城堡", kMedieval},
    // ERA_MEDIEVAL: civics
    {"CIVIC_NAVAL_TRADITION", "海军传统", kMedieval},
    {"CIVIC_FEUDALISM", "封建主义", kMedieval},
    {"CIVIC_CIVIL_SERVICE", "行政部门", kMedieval},
    {"CIVIC_MERCENARIES", "雇佣兵", kMedieval},
    {"CIVIC_DIVINE_RIGHT", "王权神授", kMedieval},
    {"CIVIC_MEDIEVAL_FAIRES", "中世纪集市", kMedieval},
    {"CIVIC_GUILDS", "公会", kMedieval},
    // ERA_RENAISSANCE: technologies
    {"TECH_CARTOGRAPHY", "制图学", kRenaissance},
    {"TECH_MASS_PRODUCTION", "批量生产", kRenaissance},
    {"TECH_BANKING", "银行业", kRenaissance},
    {"TECH_GUNPOWDER", "火药", kRenaissance},
    {"TECH_PRINTING", "印刷术", kRenaissance},
    {"TECH_SQUARE_RIGGING", "横帆装置", kRenaissance},
    {"TECH_ASTRONOMY", "天文学", kRenaissance},
    {"TECH_METAL_CASTING", "金属铸造", kRenaissance},
    {"TECH_SIEGE_TACTICS", "攻城术", kRenaissance},
    // ERA_RENAISSANCE: civics
    {"CIVIC_EXPLORATION", "探索", kRenaissance},
    {"CIVIC_REFORMED_CHURCH", "归正会", kRenaissance},
    {"CIVIC_HUMANISM", "人文主义", kRenaissance},
    {"CIVIC_DIPLOMATIC_SERVICE", "外交部门", kRenaissance},
    {"CIVIC_MERCANTILISM", "重商主义", kRenaissance},
    {"CIVIC_THE_ENLIGHTENMENT", "启蒙运动", kRenaissance},
    // ERA_INDUSTRIAL: technologies
    {"TECH_INDUSTRIALIZATION", "工业化", kIndustrial},
    {"TECH_SCIENTIFIC_THEORY", "科学理论", kIndustrial},
    {"TECH_BALLISTICS", "弹道学", kIndustrial},
    {"TECH_MILITARY_SCIENCE", "军事学", kIndustrial},
    {"TECH_STEAM_POWER", "蒸汽动力", kIndustrial},
    {"TECH_SANITATION", "卫生设备", kIndustrial},
    {"TECH_ECONOMICS", "经济", kIndustrial},
    {"TECH_RIFLING", "膛线", kIndustrial},
    // ERA_INDUSTRIAL: civics
    {"CIVIC_COLONIALISM", "殖民主义", kIndustrial},
    {"CIVIC_OPERA_BALLET", "歌剧和芭蕾", kIndustrial},
    {"CIVIC_NATURAL_HISTORY", "自然历史", kIndustrial},
    {"CIVIC_CIVIL_ENGINEERING", "土木工程", kIndustrial},
    {"CIVIC_NATIONALISM", "民族主义", kIndustrial},
    {"CIVIC_URBANIZATION", "城市化", kIndustrial},
    {"CIVIC_SCORCHED_EARTH", "焦土策略", kIndustrial},
    // ERA_MODERN: technologies
    {"TECH_FLIGHT", "飞行", kModern},
    {"TECH_REPLACEABLE_PARTS", "零件规格化", kModern},
    {"TECH_STEEL", "钢铁", kModern},
    {"TECH_ELECTRICITY", "电力", kModern},
    {"TECH_RADIO", "无线电", kModern},
    {"TECH_CHEMISTRY", "化学", kModern},
    {"TECH_COMBUSTION", "内燃机", kModern},
    // ERA_MODERN: civics
    {"CIVIC_IDEOLOGY", "意识形态", kModern},
    {"CIVIC_CONSERVATION", "保护地球", kModern},
    {"CIVIC_MASS_MEDIA", "大众媒体", kModern},
    {"CIVIC_MOBILIZATION", "动员", kModern},
    {"CIVIC_CAPITALISM", "资本主义", kModern},
    {"CIVIC_NUCLEAR_PROGRAM", "核计划", kModern},
    {"CIVIC_SUFFRAGE", "选举权", kModern},
    {"CIVIC_TOTALITARIANISM", "极权主义", kModern},
    {"CIVIC_CLASS_STRUGGLE", "阶级斗争", kModern},
    // ERA_ATOMIC: technologies
    {"TECH_ADVANCED_FLIGHT", "现代航空", kAtomic},
    {"TECH_ROCKETRY", "火箭研究", kAtomic},
    {"TECH_ADVANCED_BALLISTICS", "高级弹道学", kAtomic},
    {"TECH_COMBINED_ARMS", "联合作战", kAtomic},
    {"TECH_PLASTICS", "塑料", kAtomic},
    {"TECH_COMPUTERS", "电脑", kAtomic},
    {"TECH_NUCLEAR_FISSION", "核裂变", kAtomic},
    {"TECH_SYNTHETIC_MATERIALS", "合成材料", kAtomic},
    // ERA_ATOMIC: civics
    {"CIVIC_CULTURAL_HERITAGE", "文化遗产", kAtomic},
    {"CIVIC_COLD_WAR", "冷战", kAtomic},
    {"CIVIC_PROFESSIONAL_SPORTS", "职业体育", kAtomic},
    {"CIVIC_RAPID_DEPLOYMENT", "紧急部署", kAtomic},
    {"CIVIC_SPACE_RACE", "太空竞赛", kAtomic},
    // ERA_INFORMATION: technologies
    {"TECH_TELECOMMUNICATIONS", "远程通信", kInformation},
    {"TECH_SATELLITES", "卫星", kInformation},
    {"TECH_GUIDANCE_SYSTEMS", "制导系统", kInformation},
    {"TECH_LASERS", "激光", kInformation},
    {"TECH_COMPOSITES", "复合材料", kInformation},
    {"TECH_STEALTH_TECHNOLOGY", "隐形技术", kInformation},
    {"TECH_ROBOTICS", "机器人技术", kInformation},
    {"TECH_NUCLEAR_FUSION", "核聚变", kInformation},
    {"TECH_NANOTECHNOLOGY", "纳米技术", kInformation},
    {"TECH_FUTURE_TECH", "未来科技", kInformation},
    // ERA_INFORMATION: civics
    {"CIVIC_GLOBALIZATION", "全球化", kInformation},
    {"CIVIC_SOCIAL_MEDIA", "社交媒体", kInformation},
    {"CIVIC_FUTURE_CIVIC", "未来市政", kInformation},
}};

}  // namespace wondergen
