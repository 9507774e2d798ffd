// The icon document: the wonder's icon, which the game looks up as ICON_ followed by the building
// type, from an atlas of its icon database: index 0 of the building atlas, the Monument's picture,
// or the wonder's own picture, in atlases of its own. It is loaded through the manifest's
// UpdateIcons, as the icon tables live in the icon database and an UpdateDatabase file that names
// them would lose the whole gameplay data.
#include "documents.h"

namespace wondergen {
namespace {

constexpr DocumentLine kIconLines[] = {
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n",
    "<GameInfo>\n",
    "\t<IconDefinitions>\n",
    "\t\t<Row Name=\"ICON_BUILDING_SOGMONUMENT2PD\" Atlas=\"ICON_ATLAS_BUILDINGS\" Index=\"0\"/>\n",
    "\t\t<Row Name=\"ICON_BUILDING_SOGMONUMENT2PD_FOW\" Atlas=\"ICON_ATLAS_BUILDINGS_FOW\" "
    "Index=\"0\"/>\n",
    "\t</IconDefinitions>\n",
    "</GameInfo>\n",
};

// With an icon of the wonder's own: an atlas of one icon at each size, each its own texture, which
// the manifest imports, and the fog-of-war atlas the 256 one, as the game's own atlases are.
constexpr int kAtlasRows = 0;
constexpr DocumentLine kOwnIconLines[] = {
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n",
    "<GameInfo>\n",
    "\t<IconTextureAtlases>\n",
    Composed{kAtlasRows},
    "\t\t<Row Name=\"ICON_ATLAS_SOGMONUMENT2PD_FOW\" IconSize=\"256\" IconsPerRow=\"1\" "
    "IconsPerColumn=\"1\" Filename=\"Newbuilding2PD_RIR_Icon_256.dds\"/>\n",
    "\t</IconTextureAtlases>\n",
    "\t<IconDefinitions>\n",
    "\t\t<Row Name=\"ICON_BUILDING_SOGMONUMENT2PD\" Atlas=\"ICON_ATLAS_SOGMONUMENT2PD\" "
    "Index=\"0\"/>\n",
    "\t\t<Row Name=\"ICON_BUILDING_SOGMONUMENT2PD_FOW\" Atlas=\"ICON_ATLAS_SOGMONUMENT2PD_FOW\" "
    "Index=\"0\"/>\n",
    "\t</IconDefinitions>\n",
    "</GameInfo>\n",
};

}  // namespace

std::string TextureFileName(std::uint32_t size) {
  return "Newbuilding2PD_RIR_Icon_" + std::to_string(size) + ".dds";
}

// Nothing in it depends on the form but whether the wonder has its own icon.
std::string ComposeIconDocument(const FieldStore&, const Composition& composition) {
  if (!composition.ownIcon)
    return ComposeDocument(kIconLines, composition, [](int) { return std::string(); });
  return ComposeDocument(kOwnIconLines, composition, [&composition](int) {
    std::string rows;
    for (const std::uint32_t size : kIconSizes)
      rows += "\t\t<Row Name=\"ICON_ATLAS_SOGMONUMENT2PD\" IconSize=\"" + std::to_string(size) +
              "\" IconsPerRow=\"1\" IconsPerColumn=\"1\" Filename=\"" + TextureFileName(size) +
              "\"/>\n";
    return Numbered(rows, composition.wonder);
  });
}

}  // namespace wondergen
