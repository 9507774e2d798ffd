// The only part of the generator that knows the operating system: code-page conversion, document
// files and the folders of the output tree. One implementation for Windows, one for POSIX.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace wondergen::platform {

// Code page 936 to UTF-8; a byte that does not start a valid character becomes U+FFFD. Fails, with
// `utf8` empty, when the system has no converter for code page 936 or the converter fails.
bool Cp936ToUtf8(std::string_view cp936Text, std::string& utf8, std::error_code& error);
// UTF-8 to code page 936; nullopt for invalid UTF-8 or a character that code page 936 lacks, and,
// with `error` set, when the system has no converter for code page 936.
std::optional<std::string> Utf8ToCp936(std::string_view utf8Text, std::error_code& error);

using FileHandle = std::intptr_t;
inline constexpr FileHandle kNoFile = -1;

// Creates the file or empties an existing one, for reading and writing, shared with no one.
FileHandle CreateDocumentFile(const std::filesystem::path& path, std::error_code& error);
// Writes all of `bytes`, however many calls that takes.
bool WriteToFile(FileHandle file, std::string_view bytes, std::error_code& error);
bool CloseFile(FileHandle file, std::error_code& error);

enum class EntryKind {
  kMissing,
  kFolder,      // a real folder, whose entries are deleted before it
  kFolderLink,  // a link to a folder, deleted as a folder but never entered (Windows junctions)
  kFile,        // anything else, symbolic links included: deleted itself, never followed
};
EntryKind GetEntryKind(const std::filesystem::path& path, std::error_code& error);
// Appends the paths of the folder's entries, "." and ".." left out.
bool ListFolder(const std::filesystem::path& folder, std::vector<std::filesystem::path>& entries,
                std::error_code& error);
// Deletes one file or one empty folder for good, read-only or not.
bool DeleteEntry(const std::filesystem::path& path, EntryKind kind, std::error_code& error);
// Creates exactly one folder; fails when it exists already or its parent is missing.
bool CreateFolder(const std::filesystem::path& path, std::error_code& error);

}  // namespace wondergen::platform
