// The names that make each wonder its own mod.
#include <algorithm>

#include "documents.h"

namespace wondergen {
namespace {

// Each name the package defines, as wonder 1 has it and as wonder N has it: "{N}" stands for N,
// "{NNNN}" for N in four digits. Together they are every key that one game's databases hold
// once for all its mods: the mod's id, its types, its modifier, its texts' tags, its icons and
// their atlases, its components, and its folder and files (its textures' among them), which the
// game's own DLCs also name apart.
struct NumberedName {
  const char* first;
  const char* numbered;
};
constexpr NumberedName kNumberedNames[] = {
    {"11223344-0000-0000-0000-ABCDEFABCDPD", "11223344-0000-0000-{NNNN}-ABCDEFABCDPD"},
    {"BUILDING_SOGMONUMENT2PD", "BUILDING_SOGMONUMENT2PD_{N}"},  // and the icons' names
    {"LOC_BUILDING2PD_SOGMONUMENT_NAME", "LOC_BUILDING2PD_SOGMONUMENT_{N}_NAME"},
    {"LOC_BUILDING2PD_SOGMONUMENT_QUOTE", "LOC_BUILDING2PD_SOGMONUMENT_{N}_QUOTE"},
    {"SOGMONUMENT_ADDAPPEAL", "SOGMONUMENT_{N}_ADDAPPEAL"},
    {"ICON_ATLAS_SOGMONUMENT2PD", "ICON_ATLAS_SOGMONUMENT2PD_{N}"},  // and its fog-of-war twin
    {"RIRNewBuilding2PD_", "RIRNewBuilding2PD_{N}_"},                // text tags and component ids
    {"Newbuilding2PD_RIR", "Newbuilding2PD_RIR_{N}"},  // the mod's folder and its files
    {"Newbuilding2PD_zh_Hans_CN", "Newbuilding2PD_{N}_zh_Hans_CN"},
    {"Newbuilding2PD_OtherLanguages", "Newbuilding2PD_{N}_OtherLanguages"},
};

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
    text.replace(at, from.size(), to);
}

}  // namespace

std::string Numbered(std::string_view constant, int wonder) {
  std::string text(constant);
  if (wonder == kFirstWonder) return text;
  const std::string number = std::to_string(wonder);
  const std::string fourDigits =
      std::string(4 - std::min<std::size_t>(4, number.size()), '0') + number;
  for (const NumberedName& name : kNumberedNames) {
    std::string numbered = name.numbered;
    ReplaceAll(numbered, "{NNNN}", fourDigits);
    ReplaceAll(numbered, "{N}", number);
    ReplaceAll(text, name.first, numbered);
  }
  return text;
}

std::optional<int> CostNumber(std::string_view text) {
  static_assert(kHighestCost == 9999, "four digits hold every cost");
  if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != text.npos)
    return std::nullopt;
  int cost = 0;
  for (const char digit : text)
    cost = cost * 10 + (digit - '0');
  if (cost < kLowestCost) return std::nullopt;
  return cost;
}

std::optional<int> WonderNumber(std::string_view text) {
  int number = 0;
  for (const char digit : text) {
    if (digit < '0' || digit > '9') return std::nullopt;
    number = number * 10 + (digit - '0');
    if (number > kLastWonder) return std::nullopt;
  }
  if (number < kFirstWonder) return std::nullopt;
  return number;
}

}  // namespace wondergen
