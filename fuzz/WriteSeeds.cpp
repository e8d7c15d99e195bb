// Writes the seed corpora into <folder>/<target>/: data files from real
// records, field texts around the exchange rules, and the monitor's own
// command frames as device/ builds them. Run it again when a format or a
// frame changes; the regression inputs beside the seeds are kept by hand.
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/ConfigFile.h"
#include "config/ConfigRecord.h"
#include "config/FunctionFields.h"
#include "device/AdcFrame.h"
#include "device/DacFrame.h"
#include "device/ExpanderFrames.h"
#include "device/LowByteLines.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void WriteSeed(const std::filesystem::path& folder, std::string_view name, std::span<const std::uint8_t> bytes) {
  std::filesystem::create_directories(folder);
  std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void WriteSeed(const std::filesystem::path& folder, std::string_view name, std::string_view text) {
  WriteSeed(folder, name, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

// Two functions as a user sets them up; the volts and a bin hold 0x0A bytes,
// which the file stores as CR LF.
ConfigRecord UserRecord() {
  ConfigRecord record{};
  FunctionFields(record, 1).Name("Door bell").Bins({20, 10}).Count(3).Line(4, 2).Relay(1, 0);
  FunctionFields(record, 2).Name("Siren, 25 characters long").Bins({45}).Count(10).Analog(1, 2.5f).Analog(2, 4.99f);
  return record;
}

void WriteDataFileSeeds(const std::filesystem::path& folder) {
  const Bytes file = EncodeDataFile(UserRecord());
  WriteSeed(folder, "user-setup.bin", file);
  WriteSeed(folder, "empty.bin", Bytes{});
  WriteSeed(folder, "one-byte.bin", Bytes{0x0D});
  WriteSeed(folder, "one-short.bin", std::span(file).first(file.size() - 1));

  Bytes withTail = file;
  withTail.insert(withTail.end(), {0x0D, 0x0A, 0x0D, 'x'});
  WriteSeed(folder, "with-tail.bin", withTail);

  // Every record byte a line feed: the longest file a record makes.
  ConfigRecord allLineFeeds;
  std::memset(&allLineFeeds, 0x0A, sizeof allLineFeeds);
  WriteSeed(folder, "all-line-feeds.bin", EncodeDataFile(allLineFeeds));

  // Names that fill their slots without a NUL, and lone carriage returns.
  ConfigRecord noNul = UserRecord();
  for (auto& slot : noNul.functionName) slot.fill('N');
  Bytes loneReturns = EncodeDataFile(noNul);
  loneReturns.insert(loneReturns.begin() + 10, 0x0D);
  WriteSeed(folder, "names-without-nul.bin", EncodeDataFile(noNul));
  WriteSeed(folder, "lone-return.bin", loneReturns);
}

void WriteTextSeeds(const std::filesystem::path& folder) {
  const std::pair<std::string_view, std::string_view> seeds[] = {
      {"integer", "42"},        {"integer-blanks", " \t-17 \t"}, {"integer-leading-zeros", "007"},
      {"minus-zero", "-0"},     {"plus-zero", "+0"},            {"integer-too-big", "99999999999999999999"},
      {"int32-min", "-2147483648"}, {"real", "2.5"},            {"real-point-first", ".5"},
      {"real-point-zero", ".0"}, {"real-comma", "2,5"},         {"real-exponent", "1.5e-3"},
      {"real-beyond-float", "1e39"}, {"real-hex", "0x1p3"},     {"not-a-number", "nan"},
      {"infinity", "-inf"},     {"zero", "0"},                  {"empty", ""},
      {"long-field", "                              5"},
  };
  for (const auto& [name, text] : seeds) WriteSeed(folder, name, text);
}

// A seed is the write size (0: one write) and the stream.
template <std::size_t Length>
Bytes Stream(std::uint8_t writeBytes, const std::array<std::uint8_t, Length>& frame) {
  Bytes seed{writeBytes};
  seed.insert(seed.end(), frame.begin(), frame.end());
  return seed;
}

void WriteCommandSeeds(const std::filesystem::path& folder) {
  using namespace low_byte;
  const std::array<std::uint8_t, 3> setup{kSetLines, kIdleLevels, kDriveData};
  WriteSeed(folder, "setup-lines", Stream(0, setup));
  WriteSeed(folder, "adc-frame", Stream(0, BuildAdcFrame(kIdleLevels).bytes));
  WriteSeed(folder, "adc-frame-in-pieces", Stream(7, BuildAdcFrame(kIdleLevels).bytes));
  WriteSeed(folder, "expander-write", Stream(0, BuildExpanderWriteFrame(kIdleLevels, 0x06, 0x00, 0xF0).bytes));
  WriteSeed(folder, "expander-read", Stream(0, BuildExpanderReadFrame(kIdleLevels, 0x00).bytes));
  WriteSeed(folder, "dac-frame", Stream(5, BuildDacFrame(kIdleLevels, 2, 2047).bytes));
  const std::array<std::uint8_t, 9> faults{0x00, 0x13, 0x09, 0xAA, 0x2E, 0x08, 0xFF, 0x2E, 0x07};
  WriteSeed(folder, "unknown-commands-and-bit-counts", Stream(2, faults));
  // 512 bytes in at the slowest clock: 45 s of modelled time, which must not pass on the wall clock.
  const std::array<std::uint8_t, 6> slowRead{kSetDivisor, 0xFF, 0xFF, kBytesInRising, 0xFF, 0x01};
  WriteSeed(folder, "long-read-slowest-clock", Stream(0, slowRead));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
    return 2;
  }
  const std::filesystem::path corpus = argv[1];
  WriteDataFileSeeds(corpus / "data_file");
  WriteTextSeeds(corpus / "text_conversion");
  WriteCommandSeeds(corpus / "command_interpreter");
  return 0;
}
