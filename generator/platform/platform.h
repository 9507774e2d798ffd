// The only part of the generator that knows the operating system: code-page conversion, and the
// operations on folders and files through which the tree code reaches the disk (SystemFileSystem,
// file_system.h). One implementation for Windows, one for POSIX.
//
// The tree is handled through open folders, never by resolving a path again: an entry is named
// relative to the folder that holds it, a folder is entered only when it is a real folder and not
// a link to one, and a file is only ever created new. So nothing outside the tree is followed,
// opened, written or deleted, even while another process renames entries in it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "file_system.h"
#include "game_folders.h"

namespace wondergen::platform {

// Code page 936 to UTF-8; a byte that does not start a valid character becomes U+FFFD. Fails, with
// `utf8` empty, when the system has no converter for code page 936 or the converter fails.
bool Cp936ToUtf8(std::string_view cp936Text, std::string& utf8, std::error_code& error);
// UTF-8 to code page 936, as FromUtf8 (generator.h) gives it.
std::optional<std::string> Utf8ToCp936(std::string_view utf8Text, std::error_code& error,
                                       std::vector<std::size_t>* invalidBytes);

// The user's environment in which the game's folders are looked for (game_folders.h).
GameHome UserGameHome();

}  // namespace wondergen::platform
