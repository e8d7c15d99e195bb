#pragma once
// The data file "tqxdata.bin": the record's 956 bytes with every 0x0A byte
// stored as 0x0D 0x0A (the text-file newline convention the format was born
// with), in the working directory.
#include <cstdint>
#include <filesystem>
#include <span>
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

// Fills the record from the data file. No file (or a link to a file not made
// yet) is the normal first run and says nothing; a file that exists but cannot
// be read shows kDataFileMessage and leaves the record as it was, and this
// process will not replace that file.
void ReadConfigFile(ConfigRecord& record, const std::filesystem::path& path = kDataFileName);

// Replaces the data file with the record, atomically: the file on disk is
// always either the old record or the new one. A file the user may not write,
// or one this process could not read, is refused as a failure. Any failure
// shows kDataFileMessage and leaves the old file exactly as it was. Returns
// whether the new record reached the disk.
bool WriteConfigFile(const ConfigRecord& record, const std::filesystem::path& path = kDataFileName);
