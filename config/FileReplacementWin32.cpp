// Replacing the data file in one step, with the Win32 file calls.
#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>

#include "config/FileReplacement.h"

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
};

std::error_code LastError() {
  const DWORD code = GetLastError();
  for (const auto& [win32, portable] : kPortableErrors) {
    if (code == win32) return std::make_error_code(portable);
  }
  return std::error_code(code != ERROR_SUCCESS ? static_cast<int>(code) : ERROR_GEN_FAILURE, std::system_category());
}

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

std::error_code WriteTemporary(const std::wstring& name, std::span<const std::uint8_t> bytes) {
  FileHandle file(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr));
  if (!file.IsOpen()) return LastError();
  if (!WriteAll(file.get(), bytes) || !FlushFileBuffers(file.get())) return LastError();
  if (!file.Close()) return LastError();
  return {};
}

// Replacing gives the new file the old one's attributes and security; a first
// file is moved into place and written through before the call returns.
std::error_code PutInPlace(const std::wstring& temporary, const std::filesystem::path& target) {
  const bool exists = GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES;
  const bool moved = exists ? ReplaceFileW(target.c_str(), temporary.c_str(), nullptr, 0, nullptr, nullptr) != 0
                            : MoveFileExW(temporary.c_str(), target.c_str(),
                                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  return moved ? std::error_code() : LastError();
}

}  // namespace

// Writes the bytes to a fresh file beside the target and puts it in the
// target's place, so a crash or a full disk never leaves a damaged or empty
// data file.
std::error_code ReplaceFileAtomically(const std::filesystem::path& given, std::span<const std::uint8_t> bytes) {
  // The replacing call wants full paths: handed the bare name the monitor
  // saves by, it fails once the file exists.
  std::error_code error;
  const std::filesystem::path path = std::filesystem::absolute(given, error);
  if (error) return error;
  if (!UserMayWrite(path)) return LastError();
  const std::filesystem::path directory = path.parent_path();

  std::wstring temporary;
  if ((error = MakeTemporary(directory, temporary))) return error;
  error = WriteTemporary(temporary, bytes);
  if (!error) error = PutInPlace(temporary, path);
  if (error) DeleteFileW(temporary.c_str());
  return error;
}
