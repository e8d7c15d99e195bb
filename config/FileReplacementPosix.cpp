// Replacing the data file in one step, with the POSIX file calls.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>

#include "config/FileReplacement.h"

namespace {

// errno as an error code; `otherwise` when a call failed without saying why.
std::error_code LastError(int otherwise) {
  return std::error_code(errno != 0 ? errno : otherwise, std::generic_category());
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
  errno = 0;
  return ::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) == 0 || errno == ENOENT;
}

}  // namespace

// Writes the bytes to a fresh file beside the target and renames it over the
// target, so a crash or a full disk never leaves a damaged or empty data file.
std::error_code ReplaceFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  // A data file that is a link to one kept elsewhere stays a link.
  errno = 0;
  const std::optional<std::filesystem::path> behindLinks = FileBehindLinks(path);
  if (!behindLinks) return std::make_error_code(std::errc::too_many_symbolic_link_levels);
  const std::filesystem::path& target = *behindLinks;
  if (!UserMayWrite(target)) return LastError(EACCES);
  const std::filesystem::path directory = target.has_parent_path() ? target.parent_path() : ".";

  std::string temporary = (directory / (target.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) return LastError(EIO);

  const bool written = ::fchmod(fd, ModeForNewFile(target)) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
  std::error_code error = written ? std::error_code() : LastError(EIO);
  if (::close(fd) != 0 && !error) error = LastError(EIO);
  if (!error && ::rename(temporary.c_str(), target.c_str()) != 0) error = LastError(EIO);
  if (error) {
    ::unlink(temporary.c_str());
    return error;
  }
  // The rename is done: the new record is the file now, whatever the
  // directory sync says.
  SyncDirectory(directory);
  return {};
}

