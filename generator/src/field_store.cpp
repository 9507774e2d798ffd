// Filling the FieldStore from the form and preparing its texts.
#include <algorithm>
#include <stdexcept>

#include "cp936.h"
#include "documents.h"
#include "wondergen/generator.h"

namespace wondergen {
namespace {

// XML 1.0 forbids the control characters but TAB, LF and CR; no document can carry them.
bool IsForbiddenInXml(char c) {
  return static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r';
}

// A control's text as a window holds it, up to its first NUL, with only the characters a document
// can carry: whole characters that code page 936 maps, none that XML forbids. A text that holds
// nothing else is empty, and so takes its default. At most kLongestText characters of it.
std::string CarriableText(std::string_view raw) {
  std::string text = KeepValidCharacters(raw.substr(0, raw.find('\0')));
  text.erase(std::remove_if(text.begin(), text.end(), IsForbiddenInXml), text.end());
  std::size_t end = 0;  // a lead byte (0x81 and above) and its trail byte make one character
  for (std::size_t count = 0; count < kLongestText && end < text.size(); ++count)
    end += static_cast<unsigned char>(text[end]) >= 0x81 ? 2 : 1;
  text.resize(end);
  return text;
}

// The rules as their attributes' values: a prerequisite is a technology's or a civic's by its
// table's type.
void ReadRules(const Rules& rules, FieldStore& store) {
  if (rules.cost < kLowestCost || rules.cost > kHighestCost)
    throw std::invalid_argument("the cost " + std::to_string(rules.cost) + " is not from " +
                                std::to_string(kLowestCost) + " to " +
                                std::to_string(kHighestCost));
  store[kCostSlot] = std::to_string(rules.cost);
  const auto prerequisite = std::find_if(
      kPrerequisites.begin(), kPrerequisites.end(),
      [&](const PrerequisiteSpec& offered) { return rules.prerequisite == offered.type; });
  if (prerequisite == kPrerequisites.end() && !rules.prerequisite.empty())
    throw std::invalid_argument("the prerequisite " + rules.prerequisite +
                                " is no technology or civic of the base game");
  if (!rules.prerequisite.empty())
    store[rules.prerequisite.rfind("TECH_", 0) == 0 ? kPrereqTechSlot : kPrereqCivicSlot] =
        rules.prerequisite;
  if (!rules.obsoleteEra.empty() &&
      std::none_of(kEras.begin(), kEras.end(),
                   [&](const EraSpec& era) { return rules.obsoleteEra == era.type; }))
    throw std::invalid_argument("the era " + rules.obsoleteEra + " is no era of the base game");
  store[kObsoleteEraSlot] = rules.obsoleteEra;
  store[kPurchaseYieldSlot] = rules.goldPurchase ? "YIELD_GOLD" : "";
  store[kQuoteSlot] = CarriableText(rules.quote);
}

}  // namespace

FieldStore ReadForm(const Form& form) {
  if (form.wonder < kFirstWonder || form.wonder > kLastWonder)
    throw std::invalid_argument("wonder " + std::to_string(form.wonder) + " is not from " +
                                std::to_string(kFirstWonder) + " to " +
                                std::to_string(kLastWonder));
  if (form.icon && (form.icon->width != kIconSide || form.icon->height != kIconSide ||
                    form.icon->rgba.size() != std::size_t(4) * kIconSide * kIconSide))
    throw std::invalid_argument("the icon is not a square of 256 x 256 pixels (FitIcon)");
  FieldStore store;
  for (int slot = 0; slot < kFieldCount; ++slot) {
    const std::string& value = form.valueBoxes[slot];
    if (!value.empty() && ScreenEntryText(value) != value)
      throw std::invalid_argument(std::string("the value box of ") + kFieldCatalogue[slot].option +
                                  " holds \"" + value + "\", which screening never gives");
    store[slot] = value;
  }
  for (int text = 0; text < kTextCount; ++text)
    store[kFirstTextSlot + text] = CarriableText(form.texts[text]);
  ReadRules(form.rules, store);
  return store;
}

void ApplyTextDefaults(FieldStore& store) {
  for (int text = 0; text < kTextCount; ++text) {
    const char* defaultText = kTextCatalogue[text].defaultText;
    std::string& slot = store[kFirstTextSlot + text];
    if (defaultText != nullptr && slot.empty()) slot = defaultText;
  }
}

bool IsSet(std::string_view value) {
  return !value.empty() && value != "0";
}

}  // namespace wondergen
