#include "tools/tqxscan/RecordingFile.h"

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>

#include "sim/WavFile.h"

namespace {

constexpr std::size_t kRiffHeaderBytes = 8;  // "RIFF" and the size of what follows

ScanRecording Refused(std::string error) {
  ScanRecording recording;
  recording.error = std::move(error);
  return recording;
}

std::uint32_t LittleEndian32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
  return value;
}

// The WAV reader plays a cut-off file as far as it goes, which suits a looping
// input; a scan would report a shortened recording as if it were whole, so a
// file shorter than its own header says is refused.
bool CutShort(const std::vector<std::uint8_t>& file, std::uint64_t& announcedBytes) {
  if (file.size() < kRiffHeaderBytes || std::memcmp(file.data(), "RIFF", 4) != 0) return false;
  announcedBytes = std::uint64_t{LittleEndian32(file, 4)} + kRiffHeaderBytes;
  return announcedBytes > file.size();
}

std::string Explained(const std::string& reason) {
  if (reason.starts_with("not mono")) {
    return reason + "; tqxscan reads one channel: mix the recording down to mono, or save the channel you need";
  }
  if (reason == "no samples") return "the recording holds no samples";
  return reason;
}

}  // namespace

ScanRecording LoadRecording(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return Refused("no such file");
  if (std::filesystem::is_directory(path, error)) return Refused("is a folder, not a recording");
  std::ifstream in(path, std::ios::binary);
  if (!in) return Refused("cannot be read");
  const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (file.empty()) return Refused("the file is empty (0 bytes), not a recording");

  std::uint64_t announcedBytes = 0;
  if (CutShort(file, announcedBytes)) {
    return Refused("truncated: its header announces " + std::to_string(announcedBytes) + " bytes, the file holds " +
                   std::to_string(file.size()) + "; the recording was cut off or not finished");
  }
  tqxsim::WavRecording wav = tqxsim::ParseWav(file);
  if (!wav.error.empty()) return Refused(Explained(wav.error));
  ScanRecording recording;
  recording.volts = std::move(wav.volts);
  recording.sampleRateHz = wav.sampleRateHz;
  return recording;
}
