// The mod manifest: declares the mod, the game versions it is made for, the texts of its entry in
// the mod list, its database update, its texts and its icon. The mod list reads its title, teaser
// and description from the manifest's own LocalizedText block, which repeats the localization
// document's first three texts; UpdateText loads the mod's copy of that document into the game's
// localization database, and UpdateIcons the icon document into its icon database. Without
// CompatibleVersions the mod list marks the mod incompatible where the game warns of that.
#include "documents.h"
#include "wondergen/generator.h"

namespace wondergen {
namespace {

// The spacing around "=" on the Mod and component lines is part of the format.
// The mod list's three texts are composed, each from its text's slot; with an icon of the
// wonder's own, its textures are imported (ImportFiles) and listed.
constexpr int kTextureImport = kFieldCount + kTextCount, kTextureFiles = kTextureImport + 1;
constexpr DocumentLine kManifestLines[] = {
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n",
    "<Mod id =\"11223344-0000-0000-0000-ABCDEFABCDPD\" version =\"1\">\n",
    "\t<Properties>\n",
    "\t\t<Name>RIRNewBuilding2PD_Title</Name>\n",
    "\t\t<Teaser>RIRNewBuilding2PD_TEASER</Teaser>\n",
    "\t\t<Description>RIRNewBuilding2PD_DESCRIPTION</Description>\n",
    "\t\t<Authors>vudazu</Authors>\n",
    "\t\t<ShowInBrowser>AlwaysShow</ShowInBrowser>\n",
    "\t\t<EnabledByDefault>1</EnabledByDefault>\n",
    "\t\t<EnabledAtStartup>1</EnabledAtStartup>\n",
    {"\t\t<CompatibleVersions>1.2,2.0</CompatibleVersions>\n", Edition::kIconDocument},
    "\t</Properties>\n",
    "\t<LocalizedText>\n",
    "\t\t<Text id=\"RIRNewBuilding2PD_Title\">\n",
    Composed{kTitleSlot},
    "\t\t</Text>\n",
    "\t\t<Text id=\"RIRNewBuilding2PD_TEASER\">\n",
    Composed{kTeaserSlot},
    "\t\t</Text>\n",
    "\t\t<Text id=\"RIRNewBuilding2PD_DESCRIPTION\">\n",
    Composed{kDescriptionSlot},
    "\t\t</Text>\n",
    "\t</LocalizedText>\n",
    "\t<Components>\n",
    "\t\t<UpdateDatabase id = \"RIRNewBuilding2PD_GAMEPLAY_DATA\">\n",
    "\t\t<Items>\n",
    "\t\t\t<File>Data/Newbuilding2PD_RIR_GameplayData.xml</File>\n",
    "\t\t</Items>\n",
    "\t\t</UpdateDatabase>\n",
    "\t\t<UpdateText id = \"RIRNewBuilding2PD_TEXT\">\n",
    "\t\t<Items>\n",
    "\t\t\t<File>Text/Newbuilding2PD_zh_Hans_CN.xml</File>\n",
    {"\t\t\t<File>Text/Newbuilding2PD_OtherLanguages.xml</File>\n", Edition::kEveryLanguage},
    "\t\t</Items>\n",
    "\t\t</UpdateText>\n",
    Composed{kTextureImport},
    {"\t\t<UpdateIcons id = \"RIRNewBuilding2PD_ICONS\">\n", Edition::kIconDocument},
    {"\t\t<Items>\n", Edition::kIconDocument},
    {"\t\t\t<File>Data/Newbuilding2PD_RIR_Icons.xml</File>\n", Edition::kIconDocument},
    {"\t\t</Items>\n", Edition::kIconDocument},
    {"\t\t</UpdateIcons>\n", Edition::kIconDocument},
    "\t</Components>\n",
    "\t<Files>\n",
    "\t\t<File>Data/Newbuilding2PD_RIR_GameplayData.xml</File>\n",
    "\t\t<File>Text/Newbuilding2PD_zh_Hans_CN.xml</File>\n",
    {"\t\t<File>Text/Newbuilding2PD_OtherLanguages.xml</File>\n", Edition::kEveryLanguage},
    {"\t\t<File>Data/Newbuilding2PD_RIR_Icons.xml</File>\n", Edition::kIconDocument},
    Composed{kTextureFiles},
    "\t</Files>\n",
    "</Mod>\n",
};

// The text in Simplified Chinese, then the same in each other language of the game.
std::string ModListText(const FieldStore& store, int textSlot, Edition edition) {
  const std::string text = LocalizedEntryText(store, textSlot);
  std::string lines = "\t\t\t<zh_Hans_CN>" + text + "</zh_Hans_CN>\n";
  if (edition < Edition::kEveryLanguage) return lines;
  for (const std::string language : kOtherLanguages)
    lines += "\t\t\t<" + language + ">" + text + "</" + language + ">\n";
  return lines;
}

// Each texture as a line of the ImportFiles component or of the mod's files, its path from the
// manifest's folder.
std::string TextureLines(const char* indent) {
  std::string lines;
  for (const std::uint32_t size : kIconSizes)
    lines += std::string(indent) + "<File>" + kIconFolderName + "/" + TextureFileName(size) +
             "</File>\n";
  return lines;
}

}  // namespace

std::string ComposeManifestDocument(const FieldStore& store, const Composition& composition) {
  const int wonder = composition.wonder;
  const bool ownIcon = composition.ownIcon;
  return ComposeDocument(kManifestLines, composition, [&](int part) {
    if (part == kTextureImport && ownIcon)
      return Numbered("\t\t<ImportFiles id = \"RIRNewBuilding2PD_TEXTURES\">\n\t\t<Items>\n" +
                          TextureLines("\t\t\t") + "\t\t</Items>\n\t\t</ImportFiles>\n",
                      wonder);
    if (part == kTextureFiles && ownIcon) return Numbered(TextureLines("\t\t"), wonder);
    if (part == kTextureImport || part == kTextureFiles) return std::string();
    return ModListText(store, part, composition.edition);
  });
}

}  // namespace wondergen
