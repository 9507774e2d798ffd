// Linux and macOS: iconv for the code page, and the *at calls on folder descriptors for the tree.
#include <dirent.h>
#include <fcntl.h>
#include <iconv.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <utility>

#include "platform.h"
#include "wondergen/generator.h"

namespace wondergen::platform {
namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

std::error_code LastError() {
  return std::error_code(errno, std::generic_category());
}

bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// A converter holds its shift state, so each conversion opens its own, and any thread may convert
// at once (the C library caches what opening one loads: it costs a fraction of a microsecond).
// One that cannot be opened is false: the C library lacks the code page, as where its conversion
// modules are not installed.
struct Converter {
  iconv_t handle;
  Converter(const char* to, const char* from) : handle(iconv_open(to, from)) {}
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  ~Converter() {
    if (*this) iconv_close(handle);
  }
  explicit operator bool() const { return handle != reinterpret_cast<iconv_t>(-1); }
};

// Runs `converter` over `text`. At a byte that starts no valid character (or one the target
// lacks), `onInvalid(offset)` decides: it returns false to give up, or true to go on after that
// byte.
template <typename OnInvalid>
bool Convert(const Converter& converter, std::string_view text, std::string& out,
             OnInvalid onInvalid) {
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  char chunk[1024];
  while (inLeft > 0) {
    char* next = chunk;
    std::size_t chunkLeft = sizeof chunk;
    const std::size_t result = iconv(converter.handle, &in, &inLeft, &next, &chunkLeft);
    out.append(chunk, static_cast<std::size_t>(next - chunk));
    if (result != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
    if (!onInvalid(static_cast<std::size_t>(in - text.data()))) return false;
    ++in;
    --inLeft;
  }
  return true;
}

}  // namespace

bool Cp936ToUtf8(std::string_view cp936Text, std::string& utf8, std::error_code& error) {
  utf8.clear();
  if (IsAscii(cp936Text)) {
    utf8 = cp936Text;
    return true;
  }
  const Converter decoder("UTF-8", "CP936");
  if (!decoder) {
    error = std::make_error_code(std::errc::not_supported);
    return false;
  }
  Convert(decoder, cp936Text, utf8, [&utf8](std::size_t) {
    utf8 += kReplacementCharacter;
    return true;
  });
  return true;
}

// Two passes of the one conversion loop: into UCS-4, which holds every character, to find the bytes
// that are no UTF-8; then into code page 936, which stops at a character it lacks. UCS-4 is built
// into the C library: a second conversion module would have the library unload and load its
// modules again as conversions come and go, on several threads at once.
std::optional<std::string> Utf8ToCp936(std::string_view utf8Text, std::error_code& error,
                                       std::vector<std::size_t>* invalidBytes) {
  error.clear();
  if (IsAscii(utf8Text)) return std::string(utf8Text);
  const Converter decoder("UCS-4LE", "UTF-8"), encoder("CP936", "UTF-8");
  if (!decoder || !encoder) {
    error = std::make_error_code(std::errc::not_supported);
    return std::nullopt;
  }
  std::string decoded, cp936;
  Convert(decoder, utf8Text, decoded, [&](std::size_t offset) {
    error = std::make_error_code(std::errc::illegal_byte_sequence);
    if (invalidBytes != nullptr) invalidBytes->push_back(offset);
    return true;
  });
  if (error || !Convert(encoder, utf8Text, cp936, [](std::size_t) { return false; }))
    return std::nullopt;
  return cp936;
}

namespace {

int Descriptor(Handle handle) {
  return static_cast<int>(handle);
}

// The result of a call that gives a descriptor, or -1 and the reason.
Handle Opened(int descriptor, std::error_code& error) {
  if (descriptor < 0) error = LastError();
  return descriptor < 0 ? kNoHandle : descriptor;
}
bool Done(int result, std::error_code& error) {
  if (result != 0) error = LastError();
  return result == 0;
}

Handle OpenFolder(Handle base, const std::filesystem::path& path, std::error_code& error) {
  return Opened(openat(base == kNoHandle ? AT_FDCWD : Descriptor(base), path.c_str(),
                       O_RDONLY | O_DIRECTORY | O_CLOEXEC),
                error);
}

Handle OpenSubfolder(Handle parent, const std::filesystem::path& name, std::error_code& error) {
  const int folder =
      openat(Descriptor(parent), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (folder >= 0) return folder;
  error = LastError();
  // O_NOFOLLOW makes a link fail, with ELOOP or, as it is no folder, ENOTDIR.
  struct stat status;
  if ((errno == ELOOP || errno == ENOTDIR) &&
      fstatat(Descriptor(parent), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0)
    error = S_ISLNK(status.st_mode) ? make_error_code(TreeError::kIsALink)
                                    : std::make_error_code(std::errc::not_a_directory);
  return kNoHandle;
}

// Which folder or file the descriptor holds, by its device and inode.
bool Identify(Handle held, FileIdentity& identity, std::error_code& error) {
  struct stat status;
  if (!Done(fstat(Descriptor(held), &status), error)) return false;
  identity = {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
  return true;
}

// Through "..", which is the folder that holds the child now: checked against the one it was.
Handle OpenParent(Handle child, const std::filesystem::path&, const FileIdentity& expected,
                  std::error_code& error) {
  Handle parent = Opened(
      openat(Descriptor(child), "..", O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC), error);
  FileIdentity identity;
  if (parent != kNoHandle && (!Identify(parent, identity, error) || !(identity == expected))) {
    if (!error) error = make_error_code(TreeError::kMoved);
    close(Descriptor(parent));
    parent = kNoHandle;
  }
  return parent;
}

bool ListFolder(Handle folder, std::vector<FolderEntry>& entries, std::error_code& error) {
  // The listing takes a descriptor of its own, so that the folder stays open once it is read, and
  // starts from the beginning, which the two descriptors share: every listing reads it whole.
  const int listed = dup(Descriptor(folder));
  DIR* listing = listed < 0 ? nullptr : fdopendir(listed);
  if (listing == nullptr) {
    error = LastError();
    if (listed >= 0) close(listed);
    return false;
  }
  rewinddir(listing);
  errno = 0;
  while (const dirent* entry = readdir(listing)) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    const EntryKind kind = entry->d_type == DT_DIR       ? EntryKind::kFolder
                           : entry->d_type == DT_UNKNOWN ? EntryKind::kUnknown
                                                         : EntryKind::kOther;
    entries.push_back({entry->d_name, kind});
    errno = 0;
  }
  const bool complete = errno == 0;
  if (!complete) error = LastError();
  closedir(listing);
  return complete;
}

// POSIX deletes at once, however it is asked to.
bool DeleteEntry(Handle parent, const std::filesystem::path& name, bool isFolder, Deletion,
                 std::error_code& error) {
  return Done(unlinkat(Descriptor(parent), name.c_str(), isFolder ? AT_REMOVEDIR : 0), error);
}

bool MakeFolder(Handle parent, const std::filesystem::path& name, std::error_code& error) {
  return Done(mkdirat(Descriptor(parent), name.c_str(), 0777), error);
}

Handle CreateFile(Handle parent, const std::filesystem::path& name, std::error_code& error) {
  return Opened(openat(Descriptor(parent), name.c_str(),
                       O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666),
                error);
}

Handle OpenFile(Handle parent, const std::filesystem::path& name, std::error_code& error) {
  // Without waiting, as for a FIFO; a link fails, with ELOOP.
  const int file =
      openat(Descriptor(parent), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  struct stat status;
  const bool stated = file >= 0 && fstat(file, &status) == 0;
  if (stated && S_ISREG(status.st_mode)) return file;
  error = file < 0  ? (errno == ELOOP ? make_error_code(TreeError::kIsALink) : LastError())
          : !stated ? LastError()
          : S_ISDIR(status.st_mode) ? std::make_error_code(std::errc::is_a_directory)
                                    : make_error_code(TreeError::kNotAFile);
  if (file >= 0) close(file);
  return kNoHandle;
}

bool ReadFile(Handle file, std::string& bytes, std::size_t most, std::error_code& error) {
  char chunk[65536];
  for (ssize_t got; (got = read(Descriptor(file), chunk, sizeof chunk)) != 0;) {
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return Done(-1, error);
    bytes.append(chunk, static_cast<std::size_t>(got));
    if (bytes.size() > most) {
      error = std::make_error_code(std::errc::file_too_large);
      return false;
    }
  }
  return true;
}

bool WriteToFile(Handle file, std::string_view bytes, std::error_code& error) {
  while (!bytes.empty()) {
    const ssize_t written = write(Descriptor(file), bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      error = written < 0 ? LastError() : std::make_error_code(std::errc::io_error);
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

bool Sync(Handle file, std::error_code& error) {
  return Done(fsync(Descriptor(file)), error);
}

// Never over an entry that is there: Linux's renameat2 and macOS's renameatx_np say so in the one
// step; a file system without that (some network ones) has the entry looked for first.
bool Rename(Handle parent, const std::filesystem::path& name, Handle newParent,
            const std::filesystem::path& newName, std::error_code& error) {
#ifdef __APPLE__
  return Done(renameatx_np(Descriptor(parent), name.c_str(), Descriptor(newParent), newName.c_str(),
                           RENAME_EXCL),
              error);
#else
  if (renameat2(Descriptor(parent), name.c_str(), Descriptor(newParent), newName.c_str(),
                RENAME_NOREPLACE) == 0)
    return true;
  if (errno != EINVAL && errno != ENOSYS) return Done(-1, error);
  struct stat status;
  if (fstatat(Descriptor(newParent), newName.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0) {
    error = std::make_error_code(std::errc::file_exists);
    return false;
  }
  return Done(renameat(Descriptor(parent), name.c_str(), Descriptor(newParent), newName.c_str()),
              error);
#endif
}

bool Close(Handle handle, std::error_code& error) {
  return Done(close(Descriptor(handle)), error);
}

// flock on the folder's opening: it holds between the openings of threads and processes alike,
// and goes with the opening, as when a process ends.
Handle TryLock(Handle folder, std::error_code& error) {
  const Handle lock = Opened(fcntl(Descriptor(folder), F_DUPFD_CLOEXEC, 0), error);
  if (lock == kNoHandle || flock(Descriptor(lock), LOCK_EX | LOCK_NB) == 0) return lock;
  error = errno == EWOULDBLOCK ? std::make_error_code(std::errc::resource_unavailable_try_again)
                               : LastError();
  close(Descriptor(lock));
  return kNoHandle;
}

void Unlock(Handle lock) {
  flock(Descriptor(lock), LOCK_UN);
  close(Descriptor(lock));
}

// Nothing holds a name on POSIX.
bool MayPassSoon(const std::error_code&) {
  return false;
}

void Pause(std::chrono::milliseconds time) {
  std::this_thread::sleep_for(time);
}

}  // namespace

// The home and data home as the environment gives them; the rule judges them.
GameHome UserGameHome() {
  const auto variable = [](const char* name) {
    const char* value = std::getenv(name);
    return std::string(value != nullptr ? value : "");
  };
  GameHome home;
#ifdef __APPLE__
  home.system = HostSystem::kMacOS;
#endif
  home.home = variable("HOME");
  home.dataHome = variable("XDG_DATA_HOME");
  return home;
}

}  // namespace wondergen::platform

namespace wondergen {

const FileSystem& SystemFileSystem() {
  using namespace platform;
  static constexpr FileSystem kPosix = {
      OpenFolder, OpenSubfolder, OpenParent, Identify, ListFolder,  DeleteEntry,
      MakeFolder, CreateFile,    OpenFile,   ReadFile, WriteToFile, Sync,
      Rename,     Close,         TryLock,    Unlock,   MayPassSoon, Pause};
  return kPosix;
}

}  // namespace wondergen
