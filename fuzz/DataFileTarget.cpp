// Fuzz target: the data file reader. Any bytes of any length, as a file on
// disk and as a buffer, must decode without reading or writing out of bounds,
// fill at most the record's 956 bytes, leave the rest of the record alone, and
// yield names that never run past their 30-byte slot.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

#include "config/ConfigFile.h"
#include "config/ConfigRecord.h"
#include "fuzz/FuzzCheck.h"

namespace {

// Fills a record before a decode, so that bytes the decode did not reach can be told apart.
constexpr std::uint8_t kUntouched = 0xA5;
// The longest name a test stores: longer than the slot, to cut it.
constexpr std::size_t kLongestStoredNameBytes = 2 * kNameSlotBytes;

// A folder of our own for the file the reader reads, in memory where the
// machine offers it (a file per run on a disk would set the pace), removed at exit.
struct ScratchFolder {
  ScratchFolder() {
    const std::filesystem::path parent =
        std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    std::string name = (parent / "tqx-fuzz-data-file.XXXXXX").string();
    FUZZ_CHECK(::mkdtemp(name.data()) != nullptr);
    path = name;
  }
  ~ScratchFolder() { std::filesystem::remove_all(path); }
  std::filesystem::path path;
};

ConfigRecord UntouchedRecord() {
  ConfigRecord record;
  std::memset(&record, kUntouched, sizeof record);
  return record;
}

const std::uint8_t* BytesOf(const ConfigRecord& record) { return reinterpret_cast<const std::uint8_t*>(&record); }

// The record bytes a file stands for, worked out apart from the decoder: the
// whole file with the CR of every CR LF pair dropped, then cut to the record's
// length.
std::vector<std::uint8_t> ExpectedRecordBytes(std::span<const std::uint8_t> file) {
  std::vector<std::uint8_t> text;
  text.reserve(file.size());
  for (std::size_t i = 0; i < file.size(); ++i) {
    const bool returnBeforeLineFeed = file[i] == '\r' && i + 1 < file.size() && file[i + 1] == '\n';
    if (!returnBeforeLineFeed) text.push_back(file[i]);
  }
  text.resize(std::min(text.size(), kConfigRecordBytes));
  return text;
}

void CheckNamesStayInTheirSlots(const ConfigRecord& record) {
  for (int function = 0; function <= kFunctionCount; ++function) {
    const std::string name = FunctionNameText(record, function);
    const auto& slot = record.functionName[function];
    FUZZ_CHECK(name.size() <= kNameSlotBytes);
    FUZZ_CHECK(std::equal(name.begin(), name.end(), slot.begin()));
    FUZZ_CHECK(name.size() == kNameSlotBytes || slot[name.size()] == '\0');
    FUZZ_CHECK(name.find('\0') == std::string::npos);
  }
}

ConfigRecord CheckDecode(std::span<const std::uint8_t> file) {
  ConfigRecord record = UntouchedRecord();
  const std::size_t filled = DecodeDataFile(file, record);
  const std::vector<std::uint8_t> expected = ExpectedRecordBytes(file);
  FUZZ_CHECK(filled == expected.size());
  FUZZ_CHECK(filled <= kConfigRecordBytes);
  FUZZ_CHECK(std::equal(expected.begin(), expected.end(), BytesOf(record)));
  FUZZ_CHECK(std::all_of(BytesOf(record) + filled, BytesOf(record) + kConfigRecordBytes,
                         [](std::uint8_t byte) { return byte == kUntouched; }));
  CheckNamesStayInTheirSlots(record);
  return record;
}

// The reader takes only the first bytes that can matter from the disk; what it
// makes of them must be what the whole file decodes to.
void CheckReadFromDisk(std::span<const std::uint8_t> file, const ConfigRecord& decoded) {
  static const ScratchFolder folder;
  const std::filesystem::path path = folder.path / kDataFileName;
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    FUZZ_CHECK(out.good());
  }
  ConfigRecord record = UntouchedRecord();
  FUZZ_CHECK(!ReadConfigFile(record, path));
  FUZZ_CHECK(std::memcmp(&record, &decoded, sizeof record) == 0);
}

// Any record survives the file: what is written reads back byte for byte.
void CheckRecordRoundTrip(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kConfigRecordBytes) return;
  ConfigRecord record;
  std::memcpy(&record, bytes.data(), sizeof record);
  const std::vector<std::uint8_t> file = EncodeDataFile(record);
  const auto lineFeeds = std::count(BytesOf(record), BytesOf(record) + kConfigRecordBytes, 0x0A);
  FUZZ_CHECK(file.size() == kConfigRecordBytes + static_cast<std::size_t>(lineFeeds));
  ConfigRecord decoded = UntouchedRecord();
  FUZZ_CHECK(DecodeDataFile(file, decoded) == kConfigRecordBytes);
  FUZZ_CHECK(std::memcmp(&record, &decoded, sizeof record) == 0);
}

// A stored name reads back cut to fit its NUL, and no byte outside its slot changes.
void CheckStoredName(std::span<const std::uint8_t> bytes, const ConfigRecord& before) {
  if (bytes.empty()) return;
  const int function = 1 + bytes[0] % kFunctionCount;
  const std::string typed(bytes.begin() + 1, bytes.begin() + 1 + std::min(bytes.size() - 1, kLongestStoredNameBytes));
  ConfigRecord record = before;
  StoreFunctionName(record, function, typed);

  const std::string expected = typed.substr(0, std::min(typed.find('\0'), std::size_t{kNameSlotBytes - 1}));
  FUZZ_CHECK(FunctionNameText(record, function) == expected);
  const std::size_t slotStart = offsetof(ConfigRecord, functionName) + function * kNameSlotBytes;
  FUZZ_CHECK(std::memcmp(&record, &before, slotStart) == 0);
  FUZZ_CHECK(std::memcmp(BytesOf(record) + slotStart + kNameSlotBytes, BytesOf(before) + slotStart + kNameSlotBytes,
                         kConfigRecordBytes - slotStart - kNameSlotBytes) == 0);
  CheckNamesStayInTheirSlots(record);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const ConfigRecord decoded = CheckDecode(bytes);
  CheckReadFromDisk(bytes, decoded);
  CheckRecordRoundTrip(bytes);
  CheckStoredName(bytes, decoded);
  return 0;
}
