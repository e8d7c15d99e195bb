#include "config/ConfigFile.h"

#include <cerrno>
#include <fstream>
#include <set>
#include <string>

#include "config/FileReplacement.h"

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

// Files this process found but could not read. Its record is then not the
// user's (every function empty for the run), and saving it would overwrite the
// functions the user never touched: only a later run that reads the file may
// replace it. Used by one thread alone (the window thread, or a tool's).
std::set<std::filesystem::path>& FilesFoundUnreadable() {
  static std::set<std::filesystem::path> files;
  return files;
}

std::filesystem::path Absolute(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::absolute(path, error).lexically_normal();
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

std::error_code ReadConfigFile(ConfigRecord& record, const std::filesystem::path& path) {
  // A link to a file not made yet is a first run too: the first save makes it.
  std::error_code error;
  if (std::filesystem::status(path, error).type() == std::filesystem::file_type::not_found) return {};

  // Read what can matter before touching the record, so a file that fails
  // half-way leaves the record as it was instead of half-filled.
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  std::vector<std::uint8_t> file(kLongestUsefulFileBytes);
  if (in) in.read(reinterpret_cast<char*>(file.data()), static_cast<std::streamsize>(file.size()));
  if (!in && !in.eof()) {
    FilesFoundUnreadable().insert(Absolute(path));
    return std::error_code(errno != 0 ? errno : EIO, std::generic_category());
  }
  file.resize(static_cast<std::size_t>(in.gcount()));
  DecodeDataFile(file, record);
  return {};
}

std::error_code WriteConfigFile(const ConfigRecord& record, const std::filesystem::path& path) {
  if (FilesFoundUnreadable().contains(Absolute(path))) return make_error_code(DataFileError::UnreadableAtStart);
  return ReplaceFileAtomically(path, EncodeDataFile(record));
}

const std::error_category& DataFileCategory() {
  class Category final : public std::error_category {
   public:
    const char* name() const noexcept override { return "data file"; }
    std::string message(int) const override {
      return "it could not be read when the program started, and saving over it would lose the functions "
             "stored in it; restart once it can be read";
    }
  };
  static const Category category;
  return category;
}
