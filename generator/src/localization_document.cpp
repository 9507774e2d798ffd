// The localization documents: the mod's Simplified Chinese texts as four Replace entries, and the
// same texts in the game's other languages. Literals here are code page 936; their whitespace is
// part of the format.
#include <string>

#include "documents.h"
#include "wondergen/generator.h"
#include "xml_escape.h"

namespace wondergen {
namespace {

// The four lines that carry the texts are composed, each from its text's slot.
constexpr DocumentLine kLocalizationLines[] = {
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n",
    "<GameData>\n",
    "  <LocalizedText>\n",
    "\t\t\t<Replace Tag=\"RIRNewBuilding2PD_Title\" Language=\"zh_Hans_CN\">\n",
    Composed{kTitleSlot},
    "\t\t\t</Replace>\n",
    "\t\t\t<Replace Tag=\"RIRNewBuilding2PD_TEASER\" Language=\"zh_Hans_CN\">\n",
    Composed{kTeaserSlot},
    "\t\t\t </Replace>\n",
    "\t\t\t<Replace Tag=\"RIRNewBuilding2PD_DESCRIPTION\" Language=\"zh_Hans_CN\">\n",
    Composed{kDescriptionSlot},
    "\t\t\t</Replace>\n",
    "\t\t\t<Replace Tag=\"LOC_BUILDING2PD_SOGMONUMENT_NAME\" Language=\"zh_Hans_CN\">\n",
    Composed{kBuildingNameSlot},
    "    \t\t</Replace>\n",
    Composed{kQuoteSlot},
    "  </LocalizedText>\n",
    "</GameData>",
};

// The tags of the texts of slots 27..30, as wonder 1 has them, in the order above.
constexpr const char* kTextTags[] = {"RIRNewBuilding2PD_Title", "RIRNewBuilding2PD_TEASER",
                                     "RIRNewBuilding2PD_DESCRIPTION",
                                     "LOC_BUILDING2PD_SOGMONUMENT_NAME"};

// The entries of each other language are composed, in the game's order.
// clang-format off
constexpr DocumentLine kOtherLanguagesLines[] = {
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n",
    "<GameData>\n",
    "\t<LocalizedText>\n",
    Composed{0}, Composed{1}, Composed{2}, Composed{3}, Composed{4}, Composed{5}, Composed{6},
    Composed{7}, Composed{8}, Composed{9}, Composed{10},
    "\t</LocalizedText>\n",
    "</GameData>\n",
};
// clang-format on
static_assert(std::size(kOtherLanguages) == 11, "a placeholder for each other language");

constexpr const char* kTextOpen = "\t\t\t<Text>";
constexpr const char* kTextClose = "</Text>\n";
constexpr const char* kMadeBy = "\t\t------制作:《vudazu》 ";
// The user's name, where given, ends the teaser between these.
constexpr const char* kAuthorSuffixHead = "------改写：《";
constexpr const char* kAuthorSuffixTail = "》";

std::string TextLine(const FieldStore& store, int textSlot) {
  return kTextOpen + LocalizedEntryText(store, textSlot) + kTextClose;
}

// The quote, where there is one, is an entry of its own in each language, its text as typed.
constexpr const char* kQuoteTag = "LOC_BUILDING2PD_SOGMONUMENT_QUOTE";
std::string QuoteEntry(const FieldStore& store, int wonder, const char* indent,
                       const std::string& language) {
  if (store[kQuoteSlot].empty()) return std::string();
  return std::string(indent) + "<Replace Tag=\"" + Numbered(kQuoteTag, wonder) + "\" Language=\"" +
         language + "\">\n" + kTextOpen + EscapeXmlText(store[kQuoteSlot]) + kTextClose + indent +
         "</Replace>\n";
}

}  // namespace

// The teaser ends with the made-by text and the author suffix; every other text with one space,
// which the game reads as part of it.
std::string LocalizedEntryText(const FieldStore& store, int textSlot) {
  if (textSlot != kTeaserSlot) return EscapeXmlText(store[textSlot]) + " ";
  const std::string name = EscapeXmlText(store[kAuthorSlot]);
  return EscapeXmlText(store[kTeaserSlot]) + kMadeBy +
         (name.empty() ? "" : kAuthorSuffixHead + name + kAuthorSuffixTail);
}

// Each text from its line, its references undone; the teaser's made-by text and the author's
// name's suffix taken off it. A text that is its default stands for a box left empty.
bool ReadLocalizationDocument(std::string_view document, int wonder, Form& form) {
  const auto parts = ReadDocument(kLocalizationLines, wonder, document);
  if (!parts) return false;
  std::string_view quote = parts->at(kQuoteSlot);
  const std::string quoteOpen = "\t\t\t<Replace Tag=\"" + Numbered(kQuoteTag, wonder) +
                                "\" Language=\"zh_Hans_CN\">\n" + kTextOpen;
  if (!quote.empty() && !(TakePrefix(quote, quoteOpen) &&
                          TakeSuffix(quote, std::string(kTextClose) + "\t\t\t</Replace>\n")))
    return false;
  form.rules.quote = UnescapeXml(quote);
  for (int slot = kTitleSlot; slot <= kBuildingNameSlot; ++slot) {
    std::string_view entry = parts->at(slot);
    if (!TakePrefix(entry, kTextOpen) || !TakeSuffix(entry, kTextClose)) return false;
    std::string& text = form.texts[slot - kFirstTextSlot];
    if (slot == kTeaserSlot) {
      // The made-by text that ends the teaser is the last one followed by nothing or by the
      // suffix alone: a teaser may hold the same text, pasted from a wonder's.
      const std::string_view madeBy = kMadeBy;
      std::size_t at = entry.rfind(madeBy);
      std::string_view name;
      for (; at != std::string_view::npos;
           at = at == 0 ? std::string_view::npos : entry.rfind(madeBy, at - 1)) {
        name = entry.substr(at + madeBy.size());
        if (name.empty() ||
            (TakePrefix(name, kAuthorSuffixHead) && TakeSuffix(name, kAuthorSuffixTail)))
          break;
      }
      if (at == std::string_view::npos) return false;
      form.texts[kAuthorSlot - kFirstTextSlot] = UnescapeXml(name);
      entry = entry.substr(0, at);
    } else if (!TakeSuffix(entry, " ")) {
      return false;
    }
    text = UnescapeXml(entry);
    const char* defaultText = kTextCatalogue[slot - kFirstTextSlot].defaultText;
    if (defaultText != nullptr && text == defaultText) text.clear();
  }
  return true;
}

std::string ComposeLocalizationDocument(const FieldStore& store, const Composition& composition) {
  return ComposeDocument(kLocalizationLines, composition, [&](int slot) {
    return slot == kQuoteSlot ? QuoteEntry(store, composition.wonder, "\t\t\t", "zh_Hans_CN")
                              : TextLine(store, slot);
  });
}

// The same texts in each other language, the four entries in the order above: every line ending
// in LF, the last one too.
std::string ComposeOtherLanguagesDocument(const FieldStore& store, const Composition& composition) {
  const int wonder = composition.wonder;
  return ComposeDocument(kOtherLanguagesLines, composition, [&](int language) {
    std::string entries;
    for (int slot = kTitleSlot; slot <= kBuildingNameSlot; ++slot) {
      entries += "\t\t<Replace Tag=\"" + Numbered(kTextTags[slot - kTitleSlot], wonder) +
                 "\" Language=\"" + kOtherLanguages[language] + "\">\n" + TextLine(store, slot) +
                 "\t\t</Replace>\n";
    }
    return entries + QuoteEntry(store, wonder, "\t\t", kOtherLanguages[language]);
  });
}

}  // namespace wondergen
