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

constexpr const char* kTextOpen = "\t\t\t<Text>";
constexpr const char* kMadeBy = "\t\t------制作:《vudazu》 ";

// A text entry whose text the game reads with one trailing space.
std::string TextLine(const std::string& text) {
  return kTextOpen + EscapeXmlText(text) + " </Text>\n";
}

}  // namespace

void ComposeLocalizationDocument(const FieldStore& store, LineBuffer& lines) {
  SetConstantLines(kLocalizationLines, lines);
  lines[4] = TextLine(store[kTitleSlot]);
  lines[7] = kTextOpen + EscapeXmlText(store[kTeaserSlot]) + kMadeBy +
             EscapeXmlText(store[kAuthorSlot]) + "</Text>\n";
  lines[10] = TextLine(store[kDescriptionSlot]);
  lines[13] = TextLine(store[kBuildingNameSlot]);
}

}  // namespace wondergen
