#include "tools/tqxscan/RecordingFile.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

constexpr std::size_t kRiffHeaderBytes = 8;  // "RIFF" and the size of what follows

tqxsim::OpenedRecording Refused(std::string error) { return {nullptr, std::move(error)}; }

// The reader plays a cut-off WAV file as far as it goes, which suits a looping
// input; a scan would report a shortened recording as if it were whole, so a
// file shorter than its own RIFF header says is refused. (RF64 and W64 files
// announce their size elsewhere, and are read as the library finds them.)
std::string Truncation(const std::filesystem::path& path, std::uintmax_t fileBytes) {
  std::array<unsigned char, kRiffHeaderBytes> header{};
  std::ifstream in(path, std::ios::binary);
  if (!in.read(reinterpret_cast<char*>(header.data()), header.size()) || std::memcmp(header.data(), "RIFF", 4) != 0) {
    return "";
  }
  std::uint64_t announcedBytes = kRiffHeaderBytes;
  for (std::size_t i = 0; i < 4; ++i) announcedBytes += std::uint64_t{header[4 + i]} << (8 * i);
  if (announcedBytes <= fileBytes) return "";
  return "truncated: its header announces " + std::to_string(announcedBytes) + " bytes, the file holds " +
         std::to_string(fileBytes) + "; the recording was cut off or not finished";
}

}  // namespace

tqxsim::OpenedRecording OpenScanRecording(const std::filesystem::path& path, int channel) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return Refused("no such file");
  if (std::filesystem::is_directory(path, error)) return Refused("is a folder, not a recording");
  const std::uintmax_t fileBytes = std::filesystem::file_size(path, error);
  if (error) return Refused("cannot be read");
  if (fileBytes == 0) return Refused("the file is empty (0 bytes), not a recording");
  if (std::string truncation = Truncation(path, fileBytes); !truncation.empty()) return Refused(std::move(truncation));

  return tqxsim::OpenRecording(path, channel);
}
