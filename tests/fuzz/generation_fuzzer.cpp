// libFuzzer target: arbitrary bytes become what a user could type into the form, 27 entry texts
// and 5 texts, and a picture file for the icon, which the command line's reading decodes and turns
// upright: it must never crash, and a tiny picture it gives becomes the wonder's icon. The entry
// texts go through the screening rule into the value boxes, and the package is composed in memory.
// Every input must give documents that expat reads, the localization document and the other
// languages' holding the texts as typed, and the manifest the mod list's title, teaser and
// description as the localization document gives them. What a parser reads of a text is modelled by
// XML's own rules, from what the user typed: characters the code page does not map and characters
// XML forbids are gone, and line ends are normalized. And the documents read back give the form
// that makes them, whatever the texts hold.
#include <expat.h>
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "documents.h"
#include "picture.h"
#include "wondergen/generator.h"

namespace {

using namespace wondergen;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "wondergen fuzzer: %s\n", what.c_str());
  std::abort();
}

std::error_code g_ignored;  // a missing converter fails the documents' own check

// What a parser reads of a text as a window holds it (up to its first NUL), in UTF-8: character by
// character, a lead byte with its trail byte being one character, what code page 936 maps, then
// without the control characters XML forbids, CR LF and a lone CR read as LF.
std::string AsParsed(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::string utf8, parsed;
  for (std::size_t at = 0; at < text.size();) {
    const auto byte = static_cast<unsigned char>(text[at]);
    const auto next = at + 1 < text.size() ? static_cast<unsigned char>(text[at + 1]) : 0;
    const std::size_t length =
        byte >= 0x81 && byte <= 0xFE && next >= 0x40 && next != 0x7F && next != 0xFF ? 2 : 1;
    const std::string character = ToUtf8(text.substr(at, length), g_ignored);
    if (character.find("\xEF\xBF\xBD") == std::string::npos) utf8 += character;
    at += length;
  }
  std::string kept;  // XML's characters only; of the controls, TAB, LF and CR
  for (char c : utf8)
    if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r') kept += c;
  for (std::size_t i = 0; i < kept.size(); ++i) {
    parsed += kept[i] == '\r' ? '\n' : kept[i];
    if (kept[i] == '\r' && i + 1 < kept.size() && kept[i + 1] == '\n') ++i;
  }
  return parsed;
}

// What the checks look at, as expat reads a document: the localized texts by tag, a Replace
// entry's Text, or the manifest's zh_Hans_CN inside its Text of that id (which closes first).
struct Parsed {
  std::map<std::string, std::string> texts;
  std::string tag, text;
};

Parsed Parse(const std::string& bytes, const char* name) {
  Parsed parsed;
  XML_Parser parser = XML_ParserCreate(nullptr);
  XML_SetUserData(parser, &parsed);
  XML_SetElementHandler(
      parser,
      [](void* data, const XML_Char* element, const XML_Char** attributes) {
        auto* parsed = static_cast<Parsed*>(data);
        parsed->text.clear();
        for (int i = 0; attributes[i] != nullptr; i += 2) {
          const std::string attribute = std::string(element) + " " + attributes[i];
          if (attribute == "Replace Tag" || attribute == "Text id") parsed->tag = attributes[i + 1];
        }
      },
      [](void* data, const XML_Char* element) {
        auto* parsed = static_cast<Parsed*>(data);
        if (std::string(element) == "Text" || std::string(element) == "zh_Hans_CN")
          parsed->texts.emplace(parsed->tag, parsed->text);
      });
  XML_SetCharacterDataHandler(parser, [](void* data, const XML_Char* text, int length) {
    static_cast<Parsed*>(data)->text.append(text, static_cast<std::size_t>(length));
  });
  if (XML_Parse(parser, bytes.data(), static_cast<int>(bytes.size()), 1) != XML_STATUS_OK)
    Fail(std::string(name) + " is not well-formed: " + XML_ErrorString(XML_GetErrorCode(parser)));
  XML_ParserFree(parser);
  return parsed;
}

// A text box that holds nothing a document can carry takes its default; a name that holds
// anything a document can carry gives the author suffix.
std::map<std::string, std::string> ExpectedTexts(const std::array<std::string, kTextCount>& typed) {
  std::array<std::string, kTextCount> texts;
  for (int text = 0; text < kTextCount; ++text) {
    const std::string held = AsParsed(typed[text]);
    const char* defaultText = kTextCatalogue[text].defaultText;
    texts[text] = held.empty() && defaultText ? ToUtf8(defaultText, g_ignored) : held;
    if (text == kTextCount - 1 && !held.empty())  // the author's name
      texts[text] = "------改写：《" + texts[text] + "》";
  }
  return {{"RIRNewBuilding2PD_Title", texts[0] + " "},
          {"RIRNewBuilding2PD_TEASER", texts[1] + "\t\t------制作:《vudazu》 " + texts[4]},
          {"RIRNewBuilding2PD_DESCRIPTION", texts[2] + " "},
          {"LOC_BUILDING2PD_SOGMONUMENT_NAME", texts[3] + " "}};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  Form form;  // an entry text the rule ignores leaves its value box empty
  for (std::string& value : form.valueBoxes)
    value = ScreenEntryText(input.ConsumeRandomLengthString(24)).value_or("");
  for (std::string& text : form.texts)
    text = input.ConsumeRandomLengthString(600);
  // The rest is a picture file, read as --icon reads one; the fuzzer keeps to small pictures,
  // which are quick to decode, and makes the icon of a tiny one.
  const std::string file = input.ConsumeRemainingBytesAsString();
  std::error_code error;
  const Picture picture =
      Upright(cli::DecodePicture(file, error, 1 << 16), cli::ExifOrientation(file));
  if (picture.rgba.size() != std::size_t(picture.width) * picture.height * 4)
    Fail("a picture's pixels are not its width times its height");
  if (!error && picture.width * picture.height <= 4) form.icon = FitIcon(picture);
  const ModPackage package = ComposeModPackage(form);
  for (const DocumentBytes& document : package)
    if (document.conversionError) Fail("a document could not be converted");
  Parse(package[Index(Document::kGameplayData)].bytes, "the gameplay data");
  Parse(package[Index(Document::kIcons)].bytes, "the icons");
  std::map<std::string, std::string> expected = ExpectedTexts(form.texts);
  if (Parse(package[Index(Document::kLocalization)].bytes, "the texts").texts != expected)
    Fail("the texts are not those typed, with their defaults and the author suffix");
  if (Parse(package[Index(Document::kOtherLanguages)].bytes, "the other languages").texts !=
      expected)
    Fail("the texts in the other languages are not those in Simplified Chinese");
  expected.erase("LOC_BUILDING2PD_SOGMONUMENT_NAME");
  if (Parse(package[Index(Document::kManifest)].bytes, "the manifest").texts != expected)
    Fail("the mod list's texts are not the localization document's");
  // Read back, the two documents give a form with the same fields set that makes the same package.
  for (std::string& value : form.valueBoxes)
    value = IsSet(value) ? value : "";
  Form read;
  read.icon = form.icon;
  const std::optional<std::string> rows =
      FromUtf8(package[Index(Document::kGameplayData)].bytes, error);
  const std::optional<std::string> texts =
      FromUtf8(package[Index(Document::kLocalization)].bytes, error);
  if (!rows || !texts || !ReadGameplayDocument(*rows, read.wonder, read) ||
      !ReadLocalizationDocument(*texts, read.wonder, read) || read.valueBoxes != form.valueBoxes)
    Fail("the documents do not read back into the form");
  const ModPackage again = ComposeModPackage(read);
  for (std::size_t document = 0; document < kDocumentCount; ++document)
    if (again[document].bytes != package[document].bytes) Fail("the form read back makes another");
  return 0;
}
