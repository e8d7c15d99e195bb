// Replacing the data file in one step, with the Win32 file calls.
#include "config/FileReplacementWin32.h"

#include <algorithm>
#include <string>
#include <utility>

#include "config/FileReplacement.h"

ReplaceFileCall replaceFileCall = &ReplaceFileW;

namespace {

// The failures a user meets when saving, as the portable conditions, so the
// reason reads as it does on Linux; any other keeps the system's own code and
// text.
constexpr std::pair<DWORD, std::errc> kPortableErrors[] = {
    {ERROR_FILE_NOT_FOUND, std::errc::no_such_file_or_directory},
    {ERROR_PATH_NOT_FOUND, std::errc::no_such_file_or_directory},
    {ERROR_ACCESS_DENIED, std::errc::permission_denied},
    {ERROR_INVALID_NAME, std::errc::invalid_argument},
    {ERROR_FILENAME_EXCED_RANGE, std::errc::filename_too_long},
    {ERROR_DISK_FULL, std::errc::no_space_on_device},
    {ERROR_HANDLE_DISK_FULL, std::errc::no_space_on_device},
    {ERROR_SHARING_VIOLATION, std::errc::device_or_resource_busy},
    {ERROR_LOCK_VIOLATION, std::errc::device_or_resource_busy},
};

std::error_code LastError() {
  const DWORD code = GetLastError();
  for (const auto& [win32, portable] : kPortableErrors) {
    if (code == win32) return std::make_error_code(portable);
  }
  return std::error_code(code != ERROR_SUCCESS ? static_cast<int>(code) : ERROR_GEN_FAILURE, std::system_category());
}

// Another program may hold the file for a moment (a virus scanner, an
// indexer, a backup): a call refused for that alone, with both files left as
// they were, is made again a few times before the save gives up.
constexpr int kAttemptsWhileHeld = 10;
constexpr DWORD kWaitWhileHeldMs = 50;

bool HeldByAnotherProgram(DWORD code) {
  return code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION || code == ERROR_UNABLE_TO_REMOVE_REPLACED;
}

// Makes the call (true when it succeeded) until it succeeds, fails for another
// reason than a hold, or has been made kAttemptsWhileHeld times; a failure's
// reason stays in GetLastError().
template <typename Call>
bool CallWhileHeld(const Call& call) {
  for (int attempt = 1;; ++attempt) {
    if (call()) return true;
    if (attempt == kAttemptsWhileHeld || !HeldByAnotherProgram(GetLastError())) return false;
    Sleep(kWaitWhileHeldMs);
  }
}

bool Exists(const std::filesystem::path& file) { return GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES; }

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (IsOpen()) CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  // Closing can be where a deferred write fails.
  bool Close() { return CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)) != 0; }

 private:
  HANDLE handle_;
};

// Renaming over a file asks only its folder's permission, so a data file the
// user made read-only to lock the setup would be replaced all the same. Opening
// it for writing would have been refused (its attribute or its security), and
// so is the save.
bool UserMayWrite(const std::filesystem::path& file) {
  constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  const FileHandle opened(
      CreateFileW(file.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return opened.IsOpen() || GetLastError() == ERROR_FILE_NOT_FOUND;
}

// Writes all of data, in pieces a DWORD can count.
bool WriteAll(HANDLE file, std::span<const std::uint8_t> data) {
  constexpr std::size_t kLargestWrite = 1u << 30;
  while (!data.empty()) {
    DWORD written = 0;
    const auto piece = static_cast<DWORD>(std::min(data.size(), kLargestWrite));
    if (!WriteFile(file, data.data(), piece, &written, nullptr) || written == 0) return false;
    data = data.subspan(written);
  }
  return true;
}

// A fresh file beside the target, on the same volume so it can take the
// target's place in one step; the name is made by the system and unique.
std::error_code MakeTemporary(const std::filesystem::path& directory, std::wstring& name) {
  wchar_t made[MAX_PATH];
  if (GetTempFileNameW(directory.c_str(), L"tqx", 0, made) == 0) return LastError();
  name = made;
  return {};
}

// Writes the bytes to the file that `disposition` opens or creates, through to
// the disk before returning; a file opened but not filled is deleted.
std::error_code WriteWholeFile(const wchar_t* name, DWORD disposition, std::span<const std::uint8_t> bytes) {
  FileHandle file(CreateFileW(name, GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsOpen()) return LastError();
  std::error_code error;
  if (!WriteAll(file.get(), bytes) || !FlushFileBuffers(file.get())) error = LastError();
  if (!file.Close() && !error) error = LastError();
  if (error) DeleteFileW(name);
  return error;
}

// A file moved into place replaces whatever is there, and is written through
// before the call returns.
bool MoveIntoPlace(const std::wstring& moved, const std::filesystem::path& target) {
  return MoveFileExW(moved.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

// The system took the old file away but left the new one under its temporary
// name (with no backup name given, the old one is gone or under a name of the
// system's). A hold on the new file is the usual cause, so it is moved into
// place once the hold lets go, or else the bytes are written there afresh. An
// old file found still in place is the old setup, and the save has failed.
std::error_code FinishReplacement(const std::wstring& temporary, const std::filesystem::path& target,
                                  std::span<const std::uint8_t> bytes) {
  if (CallWhileHeld([&] { return MoveIntoPlace(temporary, target); })) return {};
  const std::error_code notMoved = LastError();
  if (Exists(target)) return notMoved;
  if (const std::error_code error = WriteWholeFile(target.c_str(), CREATE_NEW, bytes)) return error;
  DeleteFileW(temporary.c_str());
  return {};
}

// Replacing gives the new file the old one's attributes and security; where
// the user may write the file but not set its security (as on a network
// share), the new file is put in place with what it has.
std::error_code Replace(const std::wstring& temporary, const std::filesystem::path& target,
                        std::span<const std::uint8_t> bytes) {
  constexpr DWORD kFlags = REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS;
  if (CallWhileHeld([&] {
        return replaceFileCall(target.c_str(), temporary.c_str(), nullptr, kFlags, nullptr, nullptr) != 0;
      })) {
    return {};
  }
  const DWORD code = GetLastError();
  if (code == ERROR_UNABLE_TO_MOVE_REPLACEMENT || code == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
    return FinishReplacement(temporary, target, bytes);
  }
  return LastError();
}

}  // namespace

// Writes the bytes to a fresh file beside the target and puts it in the
// target's place, so a crash, a full disk or a program holding the file never
// leaves a damaged, empty or missing data file.
std::error_code ReplaceFileAtomically(const std::filesystem::path& given, std::span<const std::uint8_t> bytes) {
  // The replacing call wants full paths: handed the bare name the monitor
  // saves by, it fails once the file exists.
  std::error_code error;
  const std::filesystem::path path = std::filesystem::absolute(given, error);
  if (error) return error;
  if (!CallWhileHeld([&] { return UserMayWrite(path); })) return LastError();
  const std::filesystem::path directory = path.parent_path();

  std::wstring temporary;
  if ((error = MakeTemporary(directory, temporary))) return error;
  if ((error = WriteWholeFile(temporary.c_str(), TRUNCATE_EXISTING, bytes))) {
    DeleteFileW(temporary.c_str());
    return error;
  }
  const bool replacing = Exists(path);
  if (replacing) {
    error = Replace(temporary, path, bytes);
  } else if (!CallWhileHeld([&] { return MoveIntoPlace(temporary, path); })) {
    error = LastError();
  }
  // A failed save takes its temporary away, unless the system took the old
  // file away first: the temporary then holds the only copy of the setup.
  if (error && (!replacing || Exists(path))) DeleteFileW(temporary.c_str());
  return error;
}
