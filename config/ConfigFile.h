#pragma once
// The data file "tqxdata.bin": the record's 956 bytes with every 0x0A byte
// stored as 0x0D 0x0A (the text-file newline convention the format was born
// with), in the working directory.
#include <cstdint>
#include <filesystem>
#include <span>
#include <system_error>
#include <vector>

#include "config/ConfigRecord.h"

inline constexpr const char* kDataFileName = "tqxdata.bin";
inline constexpr const char* kDataFileMessage = "The log file tqxdata.bin could not be opened.";

// The file bytes of a record.
std::vector<std::uint8_t> EncodeDataFile(const ConfigRecord& record);

// Decodes file bytes into the start of the record: a 0x0D directly followed by
// 0x0A yields 0x0A, every other byte yields itself. Stops after the record's
// last byte or at the end of the file; the rest of the record is left as it
// was. Returns the number of record bytes filled.
std::size_t DecodeDataFile(std::span<const std::uint8_t> file, ConfigRecord& record);

// The data file's own reason for refusing a save.
enum class DataFileError { UnreadableAtStart = 1 };
template <>
struct std::is_error_code_enum<DataFileError> : std::true_type {};
const std::error_category& DataFileCategory();
inline std::error_code make_error_code(DataFileError error) {
  return {static_cast<int>(error), DataFileCategory()};
}

// Neither operation shows anything: they return what went wrong, and the
// caller tells the user (the window with kDataFileMessage, a tool with the
// reason).

// Fills the record from the data file. No file (or a link to a file not made
// yet) is the normal first run and no error; a file that exists but cannot be
// read leaves the record as it was, and this process will not replace it.
std::error_code ReadConfigFile(ConfigRecord& record, const std::filesystem::path& path = kDataFileName);

// Replaces the data file with the record, atomically: the file on disk is
// always either the old record or the new one. A file the user may not write,
// or one this process could not read, is refused. On any error the old file is
// exactly as it was.
std::error_code WriteConfigFile(const ConfigRecord& record, const std::filesystem::path& path = kDataFileName);
