// The wonders made before, read back from their folders through the tables that wrote their
// documents, each form checked by composing it again.
#include <algorithm>
#include <functional>
#include <set>
#include <stdexcept>

#include "wonder_reading.h"

#include "documents.h"
#include "mods_folder.h"
#include "package.h"
#include "wondergen/generator.h"

namespace wondergen {
namespace {

namespace fs = std::filesystem;

struct WonderCategory : std::error_category {
  const char* name() const noexcept override { return "wondergen wonder"; }
  std::string message(int) const override { return "changed by hand or not made by this program"; }
};

// No file this program writes comes near this size (the largest, the kept square, is under
// 300 KB): a larger one is no document of it, and is not read into memory whole.
constexpr std::size_t kLargestDocumentRead = std::size_t(16) << 20;

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

// Whether two names of ASCII letters are the same whatever their case, as Windows' file systems
// take them.
bool SameName(const fs::path& a, const std::string& b) {
  return SameIgnoringCase(a.string(), b);
}

// What a wonder's folder holds: each file of the package read, or why not (missing where it is
// not there), and every other entry, which the next run deletes with the folder.
struct FolderContents {
  std::array<std::string, kDocumentCount> files;
  std::array<std::error_code, kDocumentCount> errors;
  std::vector<fs::path> others;  // from the folder's parent
};

// Reads the held folder `top` as `tree` lays it out, each folder through one that is not a link,
// every entry listed. False, with the folder and why, where a folder of the tree is there but
// cannot be opened or listed.
bool ReadFolder(const TreeLayout& tree, const Held& top, FolderContents& contents, fs::path& where,
                std::error_code& why) {
  const FileSystem& system = SystemFileSystem();
  contents.errors.fill(std::make_error_code(std::errc::no_such_file_or_directory));
  std::vector<Held> held(tree.folders.size());
  std::vector<Handle> handles(tree.folders.size(), kNoHandle);
  std::vector<fs::path> paths(tree.folders.size());
  for (std::size_t i = 0; i < tree.folders.size(); ++i) {
    const TreeFolder& folder = tree.folders[i];
    paths[i] = i == 0 ? fs::path(folder.name) : paths[folder.parent] / folder.name;
    if (i == 0) {
      handles[i] = top.handle;
    } else if (handles[folder.parent] != kNoHandle) {
      held[i] = Held(system, system.openSubfolder(handles[folder.parent], folder.name, why));
      if (!held[i] && why != std::errc::no_such_file_or_directory) return where = paths[i], false;
      handles[i] = held[i].handle;
    }
    std::vector<FolderEntry> entries;
    if (handles[i] != kNoHandle && !system.list(handles[i], entries, why))
      return where = paths[i], false;
    for (const FolderEntry& entry : entries) {
      const auto named = [&](const auto& each) { return SameName(entry.name, each.name); };
      const auto sub = std::find_if(tree.folders.begin(), tree.folders.end(),
                                    [&](auto& each) { return each.parent == i && named(each); });
      const auto file = std::find_if(tree.files.begin(), tree.files.end(),
                                     [&](auto& each) { return each.folder == i && named(each); });
      if (sub != tree.folders.end()) continue;
      if (file == tree.files.end()) {
        contents.others.push_back(paths[i] / entry.name);
        continue;
      }
      std::error_code& error = contents.errors[Index(file->document)];
      error.clear();
      const Held opened(system, system.openFile(handles[i], entry.name, error));
      if (opened)
        system.read(opened.handle, contents.files[Index(file->document)], kLargestDocumentRead,
                    error);
    }
  }
  why.clear();
  return true;
}

// The files that the next run writes again beside the wonder's folder in AAA: the localization
// document that the package's Base folder holds, which must be the wonder's own, byte for byte.
void CheckBesideTheFolder(WonderReading& reading, Handle outputDir, const fs::path& path) {
  const FileSystem& system = SystemFileSystem();
  const TreeLayout package = PackageTree(reading.form->wonder, reading.form->icon.has_value());
  std::error_code error;
  const Held top(system, system.openSubfolder(outputDir, package.folders.front().name, error));
  std::string bytes;
  if (top && ReadInTree(package, top, Document::kLocalization, bytes, error) &&
      bytes == ComposeModPackage(*reading.form)[Index(Document::kLocalization)].bytes)
    return;
  if (IsMissing(error)) return;  // the next run writes it, and loses nothing
  reading.form.reset();
  reading.path = path / PathInTree(package, package.files.front());
  reading.reason = error ? error : make_error_code(WonderError::kChangedByHand);
}

}  // namespace

// The building's name as the game shows it: the text, or where it was left empty, the default.
std::string BuildingName(const Form& form) {
  const int text = kBuildingNameSlot - kFirstTextSlot;
  return form.texts[text].empty() ? kTextCatalogue[text].defaultText : form.texts[text];
}

std::error_code make_error_code(WonderError error) {
  static const WonderCategory category;
  return {static_cast<int>(error), category};
}

WonderReading ReadHeldWonder(int wonder, const Held& top, const fs::path& folder,
                             const PictureDecoder& decode) {
  WonderReading reading;
  reading.path = folder;
  TreeLayout tree = InstalledTree(wonder, true);
  tree.folders.front().name = folder.filename().string();  // its retired copy's name, maybe
  const auto pathOf = [&](Document document) {
    return folder.parent_path() / PathInTree(tree, FileOf(tree, document));
  };
  const auto refuseAt = [&](const fs::path& path, std::error_code reason) {
    reading.path = path;
    reading.reason = reason;
    return reading;
  };
  const auto refuse = [&](Document document, std::error_code reason) {
    return refuseAt(pathOf(document), reason);
  };
  // Every file of the folder that the package may hold: read, missing, or else refused; a texture
  // that cannot be read is made anew; anything else is told as the next run deletes it.
  FolderContents contents;
  fs::path where;
  std::error_code why;
  if (!ReadFolder(tree, top, contents, where, why))
    return refuseAt(folder.parent_path() / where, why);
  const std::array<std::string, kDocumentCount>& files = contents.files;
  std::array<bool, kDocumentCount> there{};
  for (std::size_t document = 0; document < kDocumentCount; ++document) {
    const std::error_code& error = contents.errors[document];
    there[document] = !error;
    const bool texture =
        document >= Index(Document::kTexture32) && document < Index(Document::kIconSquare);
    if (error && error != std::errc::no_such_file_or_directory && !texture)
      return refuse(static_cast<Document>(document), error);
  }
  for (const fs::path& other : contents.others)
    reading.deletedWhenMadeAgain.push_back(folder.parent_path() / other);

  // The form, from the documents that hold it.
  Form form;
  form.wonder = wonder;
  for (const Document document : {Document::kGameplayData, Document::kLocalization}) {
    if (!there[Index(document)])
      return refuse(document, std::make_error_code(std::errc::no_such_file_or_directory));
    std::error_code ignored;
    const std::optional<std::string> cp936 = FromUtf8(files[Index(document)], ignored);
    const bool read = cp936 && (document == Document::kGameplayData
                                    ? ReadGameplayDocument(*cp936, wonder, form)
                                    : ReadLocalizationDocument(*cp936, wonder, form));
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
    return refuse(Document::kIconSquare,
                  std::make_error_code(std::errc::no_such_file_or_directory));
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
    const Composition composition{wonder, square, *edition};
    if (square && *edition < Edition::kEveryLanguage) break;  // no own icon before then
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
    const Composition today{wonder, square};
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

Failure ReadShelf(const WonderShelf& shelf, const WaitReport& onWait,
                  const std::function<void(Handle workplace, Handle folder)>& read) {
  const FileSystem& system = SystemFileSystem();
  const FailureReport none;
  TreeRun run{system, none};
  run.onWait = onWait;
  Place workplace = OpenWorkplace(run, shelf.workplace, false);
  if (workplace.missing.step == FailedStep::kLock) return workplace.missing;
  std::vector<Held> below;
  fs::path path = shelf.workplace;
  Handle folder = workplace.folder.handle;
  std::error_code error = workplace.missing.reason;
  for (const fs::path& name : shelf.folder.lexically_relative(shelf.workplace)) {
    if (folder == kNoHandle || name == ".") continue;
    below.emplace_back(system, system.openSubfolder(folder, name, error));
    folder = below.back().handle;
    path /= name;
  }
  if (folder != kNoHandle) read(workplace.folder.handle, folder);
  // A shelf that is not there holds no wonder; one that cannot be opened is said so.
  if (folder != kNoHandle || IsMissing(error)) return {};
  return {FailedStep::kRead, path, error, {}};
}

std::vector<WonderShelf> WonderShelves(const std::vector<fs::path>& modsFolders,
                                       const fs::path& outputDir) {
  std::vector<WonderShelf> shelves;
  for (const fs::path& mods : modsFolders)
    shelves.push_back({mods, mods});
  // AAA's folder of the mod's folder, as the package's tree has it.
  const TreeLayout package = PackageTree(kFirstWonder, false);
  shelves.push_back(
      {outputDir,
       outputDir / PathInTree(package, package.files.back()).parent_path().parent_path()});
  return shelves;
}

WonderReading ReadWonder(int wonder, const std::vector<WonderShelf>& shelves,
                         const PictureDecoder& decode, const WaitReport& onWait) {
  const FileSystem& system = SystemFileSystem();
  const TreeLayout& tree = InstalledFamily().at(wonder - kFirstWonder);
  const auto unread = [](const fs::path& path, const std::error_code& reason) {
    WonderReading reading;
    reading.path = path;
    reading.reason = reason;
    return reading;
  };
  for (const WonderShelf& shelf : shelves) {
    std::optional<WonderReading> reading;
    const Failure failure = ReadShelf(shelf, onWait, [&](Handle workplace, Handle folder) {
      // A folder without its manifest is no wonder the game loads.
      std::error_code error;
      const std::string copy = LoadedCopy(system, folder, tree, error);
      const Held top =
          copy.empty() || error ? Held() : Held(system, system.openSubfolder(folder, copy, error));
      if (error) reading = unread(shelf.folder / copy, error);
      if (!top) return;
      reading = ReadHeldWonder(wonder, top, shelf.folder / copy, decode);
      if (reading->form && shelf.folder != shelf.workplace)
        CheckBesideTheFolder(*reading, workplace, shelf.workplace);
    });
    if (failure.reason) return unread(failure.path, failure.reason);
    if (reading) return std::move(*reading);
  }
  return {};
}

}  // namespace wondergen
