// The only part of the generator that knows the operating system. It implements what the portable
// code declares and calls: the code-page conversion (cp936.h), the operations on folders and files
// through which the tree code reaches the disk (SystemFileSystem, file_system.h) and the user's
// environment in which the game's folders are looked for (game_folders.h). One implementation for
// Windows, one for POSIX; the portable code never includes this header.
//
// The tree is handled through open folders, never by resolving a path again: an entry is named
// relative to the folder that holds it, a folder is entered only when it is a real folder and not
// a link to one, and a file is only ever created new. So nothing outside the tree is followed,
// opened, written or deleted, even while another process renames entries in it.
#pragma once

#include "cp936.h"
#include "file_system.h"
#include "game_folders.h"
