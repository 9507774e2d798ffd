// The mod manifest: declares the mod and its one database update. It never depends on the form.
#include "documents.h"
#include "wondergen/generator.h"

namespace wondergen {
namespace {

// The spacing around "=" on the Mod and UpdateDatabase lines is part of the format.
constexpr std::array<const char*, kManifestLineCount> kManifestLines = {
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
    "\t</Properties>\n",
    "\t<Components>\n",
    "\t\t<UpdateDatabase id = \"RIRNewBuilding2PD_GAMEPLAY_DATA\">\n",
    "\t\t<Items>\n",
    "\t\t\t<File>Data/Newbuilding2PD_RIR_GameplayData.xml</File>\n",
    "\t\t</Items>\n",
    "\t\t</UpdateDatabase>\n",
    "\t</Components>\n",
    "\t<Files>\n",
    "\t\t<File>Data/Newbuilding2PD_RIR_GameplayData.xml</File>\n",
    "\t</Files>\n",
    "</Mod>\n",
};

}  // namespace

void ComposeManifestDocument(LineBuffer& lines) {
  SetConstantLines(kManifestLines, lines);
}

}  // namespace wondergen
