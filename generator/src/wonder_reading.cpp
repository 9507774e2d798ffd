// The wonders made before: read back from their folders through the tables that wrote their
// documents, each form checked by composing it again; listed by their names; and removed.
#include <algorithm>
#include <stdexcept>

#include "documents.h"
#include "output_tree.h"
#include "package.h"
#include "wondergen/generator.h"

namespace wondergen {
namespace {

namespace fs = std::filesystem;

struct WonderCategory : std::error_category {
  const char* name() const noexcept override { return "wondergen wonder"; }
  std::string message(int error) const override {
    return static_cast<WonderError>(error) == WonderError::kNotAWonder
               ? "not the folder of a wonder of this program (Newbuilding2PD_RIR, or "
                 "Newbuilding2PD_RIR_N)"
               : "changed by hand or not made by this program";
  }
};

// The wonder whose folder has this name: Newbuilding2PD_RIR is 1, Newbuilding2PD_RIR_N N.
std::optional<int> WonderOfFolder(const fs::path& name) {
  const std::vector<TreeLayout>& family = InstalledFamily();
  const auto found = std::find_if(family.begin(), family.end(), [&](const TreeLayout& tree) {
    return fs::path(tree.folders.front().name) == name;
  });
  if (found == family.end()) return std::nullopt;
  return kFirstWonder + static_cast<int>(found - family.begin());
}

// No file this program writes comes near this size (the largest, the kept square, is under
// 300 KB): a larger one is no document of it, and is not read into memory whole.
constexpr std::size_t kLargestDocumentRead = std::size_t(4) << 20;

// Where the tree writes the document.
const TreeFile& FileOf(const TreeLayout& tree, Document document) {
  return *std::find_if(tree.files.begin(), tree.files.end(),
                       [&](const TreeFile& each) { return each.document == document; });
}

// A file of the wonder's held folder, read through the folders of the tree that hold it, none a
// link. False with the reason where it cannot be.
bool ReadInTree(const TreeLayout& tree, const Held& top, Document document, std::string& bytes,
                std::error_code& error) {
  const FileSystem& system = SystemFileSystem();
  const TreeFile& file = FileOf(tree, document);
  std::vector<std::size_t> chain;
  for (std::size_t folder = file.folder; folder != 0; folder = tree.folders[folder].parent)
    chain.insert(chain.begin(), folder);
  std::vector<Held> held;
  Handle folder = top.handle;
  for (const std::size_t below : chain) {
    held.emplace_back(system, system.openSubfolder(folder, tree.folders[below].name, error));
    if (!held.back()) return false;
    folder = held.back().handle;
  }
  const Held opened(system, system.openFile(folder, file.name, error));
  return opened && system.read(opened.handle, bytes, kLargestDocumentRead, error);
}

// The building's name as the game shows it: the text, or where it was left empty, the default.
std::string BuildingName(const Form& form) {
  const int text = kBuildingNameSlot - kFirstTextSlot;
  return form.texts[text].empty() ? kTextCatalogue[text].defaultText : form.texts[text];
}

}  // namespace

std::error_code make_error_code(WonderError error) {
  static const WonderCategory category;
  return {static_cast<int>(error), category};
}

WonderReading ReadWonder(const fs::path& folder, const PictureDecoder& decode) {
  WonderReading reading{std::nullopt, {}, folder, {}, {}};
  const std::optional<int> wonder = WonderOfFolder(folder.filename());
  if (!wonder) {
    reading.reason = WonderError::kNotAWonder;
    return reading;
  }
  const FileSystem& system = SystemFileSystem();
  const Held parent(
      system, system.openFolder(kNoHandle, folder.has_parent_path() ? folder.parent_path() : ".",
                                reading.reason));
  const Held top =
      parent ? Held(system, system.openSubfolder(parent.handle, folder.filename(), reading.reason))
             : Held();
  if (!top) return reading;

  const TreeLayout tree = InstalledTree(*wonder, true);
  const auto pathOf = [&](Document document) {
    return folder.parent_path() / PathInTree(tree, FileOf(tree, document));
  };
  const auto refuse = [&](Document document, std::error_code reason) {
    reading.path = pathOf(document);
    reading.reason = reason;
    return reading;
  };
  // Every file of the folder that the package may hold: read, missing, or else refused.
  std::array<std::string, kDocumentCount> files;
  std::array<bool, kDocumentCount> there{};
  for (std::size_t document = 0; document < kDocumentCount; ++document) {
    std::error_code error;
    there[document] =
        ReadInTree(tree, top, static_cast<Document>(document), files[document], error);
    const bool texture = document >= Index(Document::kTexture32) &&
                         document < Index(Document::kIconSquare);
    if (!there[document] && error != std::errc::no_such_file_or_directory && !texture)
      return refuse(static_cast<Document>(document), error);
  }

  // The form, from the documents that hold it.
  Form form;
  form.wonder = *wonder;
  for (const Document document : {Document::kGameplayData, Document::kLocalization}) {
    if (!there[Index(document)])
      return refuse(document, std::make_error_code(std::errc::no_such_file_or_directory));
    std::error_code ignored;
    const std::optional<std::string> cp936 = FromUtf8(files[Index(document)], ignored);
    const bool read = cp936 && (document == Document::kGameplayData
                                    ? ReadGameplayDocument(*cp936, *wonder, form)
                                    : ReadLocalizationDocument(*cp936, *wonder, form));
    if (!read) return refuse(document, WonderError::kChangedByHand);
  }
  FieldStore store;
  try {
    store = ReadForm(form);
  } catch (const std::invalid_argument&) {
    return refuse(Document::kGameplayData, WonderError::kChangedByHand);  // 2000, no screening's
  }
  ApplyTextDefaults(store);

  // The icon, from its square, the one source of its textures: its pixels, not its encoding, are
  // what the next run writes again.
  const bool square = there[Index(Document::kIconSquare)];
  const bool textures = std::any_of(&there[Index(Document::kTexture32)],
                                    &there[Index(Document::kIconSquare)], [](bool t) { return t; });
  if (!square && textures)
    return refuse(Document::kIconSquare, std::make_error_code(std::errc::no_such_file_or_directory));
  if (square && decode) {
    form.icon = decode(files[Index(Document::kIconSquare)]);
    if (!form.icon || form.icon->width != kIconSide || form.icon->height != kIconSide)
      return refuse(Document::kIconSquare, WonderError::kChangedByHand);
  }

  // Checked, never guessed: the folder must hold every document of an edition of the package for
  // this form, the newest first, as that edition wrote it, and no other. Where none does, the
  // first document that differs in the newest edition whose documents the folder holds is named,
  // or else the first of today's that it lacks.
  const auto xml = {Document::kLocalization, Document::kOtherLanguages, Document::kGameplayData,
                    Document::kIcons, Document::kManifest};
  std::optional<Document> differing;
  bool read = false;
  for (auto edition = std::rbegin(kEditions); edition != std::rend(kEditions) && !read; ++edition) {
    const Composition composition{*wonder, square, *edition};
    if (square && *edition < Edition::kAtlasesOfOne) break;
    if (std::any_of(xml.begin(), xml.end(), [&](Document document) {
          return Holds(composition, document) != there[Index(document)];
        }))
      continue;
    const ModPackage package = ComposeDocuments(store, composition);
    const auto differs = std::find_if(xml.begin(), xml.end(), [&](Document document) {
      return package[Index(document)].bytes != files[Index(document)];
    });
    read = differs == xml.end();
    if (!read && !differing) differing = *differs;
  }
  if (!read) {
    const Composition today{*wonder, square};
    const auto lacking = std::find_if(xml.begin(), xml.end(), [&](Document document) {
      return !there[Index(document)] && Holds(today, document);
    });
    if (!differing && lacking != xml.end())
      return refuse(*lacking, std::make_error_code(std::errc::no_such_file_or_directory));
    return refuse(differing.value_or(Document::kManifest), WonderError::kChangedByHand);
  }

  // Each texture that is not what this version makes from the square is made anew.
  if (form.icon) {
    for (std::size_t size = 0; size < kIconSizes.size(); ++size) {
      const auto texture = static_cast<Document>(Index(Document::kTexture32) + size);
      if (files[Index(texture)] != DdsTexture(*form.icon, kIconSizes[size]))
        reading.texturesMadeAgain.push_back(pathOf(texture));
    }
  }
  if (square) reading.icon = pathOf(Document::kIconSquare);
  reading.form = std::move(form);
  return reading;
}

// A folder without its manifest is no wonder the game loads, nor one AAA holds whole.
fs::path WonderFolder(int wonder, const std::vector<fs::path>& folders) {
  const TreeLayout& tree = InstalledFamily().at(wonder - kFirstWonder);
  const std::string& name = tree.folders.front().name;
  for (const fs::path& folder : folders) {
    std::error_code error;
    if (fs::is_regular_file(folder / name / tree.files.back().name, error)) return folder / name;
  }
  return {};
}

std::vector<InstalledWonder> InstalledWonders(const std::vector<fs::path>& modsFolders) {
  std::vector<InstalledWonder> installed;
  for (int wonder = kFirstWonder; wonder <= kLastWonder; ++wonder) {
    // The mod's folder comes first in the installed tree, and its manifest last.
    const TreeLayout& tree = InstalledFamily()[wonder - kFirstWonder];
    const fs::path manifest = fs::path(tree.folders.front().name) / tree.files.back().name;
    const auto holdsManifest = [&](const fs::path& mods) {
      std::error_code error;
      return fs::is_regular_file(mods / manifest, error);
    };
    const auto mods = std::find_if(modsFolders.begin(), modsFolders.end(), holdsManifest);
    if (mods == modsFolders.end()) continue;
    const fs::path folder = *mods / tree.folders.front().name;
    const WonderReading reading = ReadWonder(folder);
    installed.push_back({wonder, folder, reading.form ? BuildingName(*reading.form) : ""});
  }
  return installed;
}

std::vector<fs::path> RemoveWonder(int wonder, const std::vector<fs::path>& modsFolders,
                                   const FailureReport& onFailure, const WaitReport& onWait) {
  std::vector<fs::path> removed;
  const FailureReport report = [&](const Failure& failure) {
    if (onFailure) onFailure(failure);
  };
  const TreeLayout tree = InstalledTree(wonder, false);
  for (const fs::path& mods : modsFolders) {
    TreeRun run{SystemFileSystem(), report};
    run.onWait = onWait;
    const Place place = OpenWorkplace(run, mods, false);
    if (place.missing.step == FailedStep::kLock) report(place.missing);
    if (place.lock && UninstallTree(run, tree, place, InstalledFamily()))
      removed.push_back(mods / tree.folders.front().name);
  }
  return removed;
}

}  // namespace wondergen
