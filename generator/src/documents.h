// How the documents are composed: each from the table of its lines, in which a constant line
// stands as it is written and a placeholder names each line composed from the form, in one loop.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "wondergen/generator.h"

namespace wondergen {

// One run's values, in code page 936: slots 0..26 the value-box texts of the numeric fields, slots
// 27..31 the five texts, and from slot 32 the rules of play, each as its attribute's value in the
// building's row (empty where the row has none) and the quote's text.
inline constexpr int kFirstTextSlot = kFieldCount;
inline constexpr int kTitleSlot = 27;
inline constexpr int kTeaserSlot = 28;
inline constexpr int kDescriptionSlot = 29;
inline constexpr int kBuildingNameSlot = 30;
inline constexpr int kAuthorSlot = 31;
inline constexpr int kCostSlot = 32;           // "1" to "9999"
inline constexpr int kPrereqTechSlot = 33;     // a technology's type
inline constexpr int kPrereqCivicSlot = 34;    // a civic's type
inline constexpr int kPurchaseYieldSlot = 35;  // "YIELD_GOLD", or empty where it cannot be bought
inline constexpr int kObsoleteEraSlot = 36;    // an era's type
inline constexpr int kQuoteSlot = 37;          // the quote's text
using FieldStore = std::array<std::string, kQuoteSlot + 1>;

// The form's values: the value boxes as they are, the texts with only the characters that a
// document can carry, the rules as their attributes' values. Refuses a form that no front end
// makes (std::invalid_argument, generator.h).
FieldStore ReadForm(const Form& form);
// Gives each empty text of the store (slots 27..30) its default, before the documents are composed.
void ApplyTextDefaults(FieldStore& store);

// The text of the localization document's entry for a text slot (27..30), escaped, exactly as
// it stands between <Text> and </Text>: the mod list takes the title, teaser and description
// from the manifest, which must hold the same bytes.
std::string LocalizedEntryText(const FieldStore& store, int textSlot);

// The languages of the game besides Simplified Chinese, in the game's order. The texts are given
// in each as typed, as a language has no fallback to another.
inline constexpr const char* kOtherLanguages[] = {"en_US", "fr_FR",      "de_DE", "it_IT",
                                                  "es_ES", "ja_JP",      "ru_RU", "pl_PL",
                                                  "ko_KR", "zh_Hant_HK", "pt_BR"};

// A constant text of the package as wonder `wonder` has it: each name the package defines (its
// id, types, modifier, tags, components, folder and files) numbered where the wonder is not the
// first. Never given the player's texts.
std::string Numbered(std::string_view constant, int wonder);

// The editions of the package that this program has written, oldest first. A wonder's folder
// that an earlier edition wrote is read back as the same wonder, and made again as today's.
enum class Edition {
  kChineseTexts,   // the gameplay data, the texts in Simplified Chinese and the manifest
  kIconDocument,   // and the icon document (the Monument's), the game versions in the manifest
  kEveryLanguage,  // and the texts in the game's other languages, in their document and the mod
                   // list; then the wonder's own icon and its rules, which change no document
                   // of a wonder without them
  kCurrent = kEveryLanguage,
};
inline constexpr Edition kEditions[] = {Edition::kChineseTexts, Edition::kIconDocument,
                                        Edition::kEveryLanguage};

// What the documents are composed for, besides the form's values.
struct Composition {
  int wonder = kFirstWonder;
  bool ownIcon = false;
  Edition edition = Edition::kCurrent;
};

// Whether the package of that edition holds the document: the icon's files only with an icon of
// the wonder's own.
bool Holds(const Composition& composition, Document document);

// Each composes its document, in code page 936, from the store, which it only reads.
std::string ComposeLocalizationDocument(const FieldStore& store, const Composition& composition);
std::string ComposeOtherLanguagesDocument(const FieldStore& store, const Composition& composition);
std::string ComposeGameplayDocument(const FieldStore& store, const Composition& composition);
std::string ComposeIconDocument(const FieldStore& store, const Composition& composition);
std::string ComposeManifestDocument(const FieldStore& store, const Composition& composition);
// The XML documents of the package that the composition holds, converted to UTF-8, the others
// empty.
ModPackage ComposeDocuments(const FieldStore& store, const Composition& composition);

// The icon's files in the mod's folder Icons, as wonder 1 names them: a texture of each of
// kIconSizes, and the square itself, kept so that the wonder can be read back and made again.
inline constexpr char kIconFolderName[] = "Icons";
inline constexpr char kIconSquareFileName[] = "Newbuilding2PD_RIR_Icon.png";
std::string TextureFileName(std::uint32_t size);

// The side of the texture of an icon of `side` pixels: Direct3D 11 refuses a texture of DXT blocks
// whose top level is not a multiple of 4 on each side (Direct3D 12 too, but on the latest
// devices), so an icon of 38 or 50 stands in the top-left corner of a texture of 40 or 52.
constexpr std::uint32_t TextureSide(std::uint32_t side) {
  return (side + 3) / 4 * 4;
}

// The icon's files: a texture as the game loads it, a DDS file of DXT5 (BC3) blocks with a full
// mip chain down to 1 x 1, its top level the square scaled to `side` in the top-left corner of
// TextureSide(side), the rest transparent, and each level below scaled from the one above, the
// colour of each transparent texel that of the nearest one that is not, so that no black enters a
// block's colours; and a picture as a PNG file.
std::string DdsTexture(const Picture& square, std::uint32_t side);
std::string PngFile(const Picture& picture);

// A placeholder in a document's table: the lines that the document composes there, by what
// `part` names (a slot of the store, or a part of the document's own).
struct Composed {
  int part;
};

// A line of a document's table, carrying its own LF where it has one, and the edition that first
// wrote it.
struct DocumentLine {
  constexpr DocumentLine(const char* constant, Edition first = Edition::kChineseTexts)
      : text(constant), since(first) {}
  constexpr DocumentLine(Composed composed) : part(composed.part) {}
  const char* text = nullptr;  // null for a placeholder
  int part = 0;
  Edition since = Edition::kChineseTexts;
};

// The parts that `table` composed into `document` for wonder `wonder`, read the other way: every
// constant line must stand there as it is written, and the text between two of them is what the
// placeholders there made, under the first one's part: what stands before the first place where
// the next constant line stands, as no placeholder makes a line that follows it. nullopt where the
// document is not so. What is read is a candidate, to be checked by composing it again.
template <std::size_t N>
std::optional<std::map<int, std::string>> ReadDocument(const DocumentLine (&table)[N], int wonder,
                                                       std::string_view document) {
  std::map<int, std::string> parts;
  std::size_t at = 0;
  for (std::size_t line = 0; line < N; ++line) {
    if (table[line].text != nullptr) {
      const std::string constant = Numbered(table[line].text, wonder);
      if (document.compare(at, constant.size(), constant) != 0) return std::nullopt;
      at += constant.size();
      continue;
    }
    std::size_t next = line;
    while (next < N && (table[next].text == nullptr || *table[next].text == '\0'))
      ++next;
    const std::size_t end =
        next < N ? document.find(Numbered(table[next].text, wonder), at) : document.size();
    if (end == std::string_view::npos) return std::nullopt;
    parts[table[line].part] = std::string(document.substr(at, end - at));
    at = end;
    line = next - 1;
  }
  if (at != document.size()) return std::nullopt;
  return parts;
}

// Whether `text` begins (ends) with `part`; where it does, `part` is taken off it.
inline bool TakePrefix(std::string_view& text, std::string_view part) {
  const bool there = text.substr(0, part.size()) == part;
  if (there) text.remove_prefix(part.size());
  return there;
}
inline bool TakeSuffix(std::string_view& text, std::string_view part) {
  const bool there = text.size() >= part.size() && text.substr(text.size() - part.size()) == part;
  if (there) text.remove_suffix(part.size());
  return there;
}

// Each reads its document for wonder `wonder`, in code page 936, into the form: the fields or the
// texts it holds. False where no form gives it.
bool ReadGameplayDocument(std::string_view document, int wonder, Form& form);
bool ReadLocalizationDocument(std::string_view document, int wonder, Form& form);

// The document that `table` gives for the composition, each placeholder's lines made by
// `compose(part)`, the lines of later editions left out.
template <std::size_t N, typename Compose>
std::string ComposeDocument(const DocumentLine (&table)[N], const Composition& composition,
                            const Compose& compose) {
  std::string document;
  for (const DocumentLine& line : table) {
    if (line.since > composition.edition) continue;
    document += line.text != nullptr ? Numbered(line.text, composition.wonder) : compose(line.part);
  }
  return document;
}

}  // namespace wondergen
