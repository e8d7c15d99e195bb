#include "config/ConfigFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>
#include <set>
#include <string>

#include "framework/MessageBox.h"

namespace {

constexpr std::uint8_t kCarriageReturn = 0x0D;
constexpr std::uint8_t kLineFeed = 0x0A;

// Every record byte takes at most two file bytes; one more lets the last pair
// be recognised.
constexpr std::size_t kLongestUsefulFileBytes = 2 * kConfigRecordBytes + 1;

std::span<std::uint8_t, kConfigRecordBytes> RecordBytes(ConfigRecord& record) {
  return std::span<std::uint8_t, kConfigRecordBytes>(reinterpret_cast<std::uint8_t*>(&record),
                                                     kConfigRecordBytes);
}

std::span<const std::uint8_t, kConfigRecordBytes> RecordBytes(const ConfigRecord& record) {
  return std::span<const std::uint8_t, kConfigRecordBytes>(reinterpret_cast<const std::uint8_t*>(&record),
                                                           kConfigRecordBytes);
}

// Writes all of data, retrying short writes and interruptions.
bool WriteAll(int fd, std::span<const std::uint8_t> data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data = data.subspan(static_cast<std::size_t>(n));
  }
  return true;
}

bool SyncDirectory(const std::filesystem::path& directory) {
  const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  ::close(fd);
  return synced;
}

// The new file keeps the permissions of the one it replaces; a first file gets
// what creating it plainly would have given.
mode_t ModeForNewFile(const std::filesystem::path& target) {
  struct stat old {};
  if (::stat(target.c_str(), &old) == 0) return old.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// The file that opening `path` for writing would write: a symbolic link is
// followed, through further links, to the file it names, which need not exist
// yet (opening would create it). Nothing for a loop of links.
std::optional<std::filesystem::path> FileBehindLinks(const std::filesystem::path& path) {
  constexpr int kMostLinksFollowed = 40;
  std::filesystem::path file = path;
  for (int followed = 0; followed < kMostLinksFollowed; ++followed) {
    std::error_code error;
    if (std::filesystem::symlink_status(file, error).type() != std::filesystem::file_type::symlink) return file;
    const std::filesystem::path next = std::filesystem::read_symlink(file, error);
    if (error) return std::nullopt;
    file = next.is_absolute() ? next : file.parent_path() / next;
  }
  return std::nullopt;
}

// Renaming over a file asks only its folder's permission, so a data file the
// user made read-only to lock the setup would be replaced all the same. Opening
// it for writing would have been refused, and so is the save (root, whom no
// mode bit stops, may write it either way).
bool UserMayWrite(const std::filesystem::path& file) {
  return ::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) == 0 || errno == ENOENT;
}

// Files this process found but could not read. Its record is then not the
// user's (every function empty for the run), and saving it would overwrite the
// functions the user never touched: only a later run that reads the file may
// replace it. Used by the window thread alone.
std::set<std::filesystem::path>& FilesFoundUnreadable() {
  static std::set<std::filesystem::path> files;
  return files;
}

std::filesystem::path Absolute(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::absolute(path, error).lexically_normal();
}

// Writes the bytes to a fresh file beside the target and renames it over the
// target, so a crash or a full disk never leaves a damaged or empty data file.
bool ReplaceFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  // A data file that is a link to one kept elsewhere stays a link.
  const std::optional<std::filesystem::path> behindLinks = FileBehindLinks(path);
  if (!behindLinks || !UserMayWrite(*behindLinks)) return false;
  const std::filesystem::path& target = *behindLinks;
  const std::filesystem::path directory = target.has_parent_path() ? target.parent_path() : ".";

  std::string temporary = (directory / (target.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) return false;

  const bool written = ::fchmod(fd, ModeForNewFile(target)) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed || ::rename(temporary.c_str(), target.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  // The rename is done: the new record is the file now, whatever the
  // directory sync says.
  SyncDirectory(directory);
  return true;
}

}  // namespace

std::vector<std::uint8_t> EncodeDataFile(const ConfigRecord& record) {
  std::vector<std::uint8_t> file;
  file.reserve(kLongestUsefulFileBytes);
  for (const std::uint8_t byte : RecordBytes(record)) {
    if (byte == kLineFeed) file.push_back(kCarriageReturn);
    file.push_back(byte);
  }
  return file;
}

std::size_t DecodeDataFile(std::span<const std::uint8_t> file, ConfigRecord& record) {
  const auto bytes = RecordBytes(record);
  std::size_t filled = 0;
  for (std::size_t i = 0; i < file.size() && filled < bytes.size(); ++i) {
    const bool crlf = file[i] == kCarriageReturn && i + 1 < file.size() && file[i + 1] == kLineFeed;
    if (crlf) ++i;
    bytes[filled++] = file[i];
  }
  return filled;
}

void ReadConfigFile(ConfigRecord& record, const std::filesystem::path& path) {
  // A link to a file not made yet is a first run too: the first save makes it.
  std::error_code error;
  if (std::filesystem::status(path, error).type() == std::filesystem::file_type::not_found) return;

  // Read what can matter before touching the record, so a file that fails
  // half-way leaves the record as it was instead of half-filled.
  std::ifstream in(path, std::ios::binary);
  std::vector<std::uint8_t> file(kLongestUsefulFileBytes);
  if (in) in.read(reinterpret_cast<char*>(file.data()), static_cast<std::streamsize>(file.size()));
  if (!in && !in.eof()) {
    FilesFoundUnreadable().insert(Absolute(path));
    AfxMessageBox(kDataFileMessage);
    return;
  }
  file.resize(static_cast<std::size_t>(in.gcount()));
  DecodeDataFile(file, record);
}

bool WriteConfigFile(const ConfigRecord& record, const std::filesystem::path& path) {
  if (!FilesFoundUnreadable().contains(Absolute(path)) && ReplaceFileAtomically(path, EncodeDataFile(record))) {
    return true;
  }
  AfxMessageBox(kDataFileMessage);
  return false;
}
