// The icon document: the wonder's icon, which the game looks up as ICON_ followed by the building
// type, from the building atlas of its icon database. Index 0 there is the Monument's picture. It
// is loaded through the manifest's UpdateIcons, as the icon tables live in the icon database and
// an UpdateDatabase file that names them would lose the whole gameplay data.
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

}  // namespace

// Constant: it depends on nothing in the form.
std::string ComposeIconDocument(const FieldStore&, int wonder) {
  return ComposeDocument(kIconLines, wonder, [](int) { return std::string(); });
}

}  // namespace wondergen
