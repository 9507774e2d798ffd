// The localization document: the mod's Simplified Chinese texts as four Replace entries.
// Literals here are code page 936; their whitespace is part of the format.
#include <string>

#include "documents.h"
#include "wondergen/generator.h"
#include "xml_escape.h"

namespace wondergen {
namespace {

// The constant lines; the four lines that carry the texts are composed.
constexpr std::array<const char*, kLocalizationLineCount> kLocalizationLines = {
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n",
    "<GameData>\n",
    "  <LocalizedText>\n",
    "\t\t\t<Replace Tag=\"RIRNewBuilding2PD_Title\" Language=\"zh_Hans_CN\">\n",
    kComposedLine,  // 4: title
    "\t\t\t</Replace>\n",
    "\t\t\t<Replace Tag=\"RIRNewBuilding2PD_TEASER\" Language=\"zh_Hans_CN\">\n",
    kComposedLine,  // 7: teaser, made-by text and author suffix
    "\t\t\t </Replace>\n",
    "\t\t\t<Replace Tag=\"RIRNewBuilding2PD_DESCRIPTION\" Language=\"zh_Hans_CN\">\n",
    kComposedLine,  // 10: description
    "\t\t\t</Replace>\n",
    "\t\t\t<Replace Tag=\"LOC_BUILDING2PD_SOGMONUMENT_NAME\" Language=\"zh_Hans_CN\">\n",
    kComposedLine,  // 13: building name
    "    \t\t</Replace>\n",
    "  </LocalizedText>\n",
    "</GameData>",
};

static_assert(LineIs(kLocalizationLines, 4, kComposedLine) &&
                  LineIs(kLocalizationLines, 7, kComposedLine) &&
                  LineIs(kLocalizationLines, 10, kComposedLine) &&
                  LineIs(kLocalizationLines, 13, kComposedLine) &&
                  LineIs(kLocalizationLines, kLocalizationLineCount - 1, "</GameData>"),
              "the texts stand where they are composed, and every line is given");

constexpr const char* kTextOpen = "\t\t\t<Text>";
constexpr const char* kMadeBy = "\t\t------制作:《vudazu》 ";
// The user's name, where given, ends the teaser between these.
constexpr const char* kAuthorSuffixHead = "------改写：《";
constexpr const char* kAuthorSuffixTail = "》";

std::string TextLine(const FieldStore& store, int textSlot) {
  return kTextOpen + LocalizedEntryText(store, textSlot) + "</Text>\n";
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

void ComposeLocalizationDocument(const FieldStore& store, LineBuffer& lines) {
  SetConstantLines(kLocalizationLines, lines);
  lines[4] = TextLine(store, kTitleSlot);
  lines[7] = TextLine(store, kTeaserSlot);
  lines[10] = TextLine(store, kDescriptionSlot);
  lines[13] = TextLine(store, kBuildingNameSlot);
}

}  // namespace wondergen
