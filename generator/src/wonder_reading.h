// Reading the wonders made before, as the Mods folder's protocol also reads them.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <system_error>

#include "output_tree.h"

namespace wondergen {

// Reads back wonder `wonder` from its folder, held as `top`, at `folder` (ReadWonder).
WonderReading ReadHeldWonder(int wonder, const Held& top, const std::filesystem::path& folder,
                             const PictureDecoder& decode);

// Calls `read` with the held workplace of `shelf` and the folder in which it keeps wonders'
// folders, reached from it through folders that are not links, while the workplace is locked as a
// run locks it. A shelf that is not there is not read. Returns what kept it from being read: the
// lock another run held, or a folder that cannot be opened.
Failure ReadShelf(const WonderShelf& shelf, const WaitReport& onWait,
                  const std::function<void(Handle workplace, Handle folder)>& read);

// The building's name as the game shows it: the text, or where it was left empty, the default.
std::string BuildingName(const Form& form);

}  // namespace wondergen
