// WAV recordings read directly, for the build that has no sound-file library
// (Windows): RIFF/WAVE, plain or extensible, integer PCM of 8 to 32 bits or
// IEEE float of 32 or 64 bits, any number of channels. Every size in the
// header is checked against the file before it is used, so a damaged or
// hostile header is refused with a reason rather than read past.
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <optional>
#include <vector>

#include "sim/RecordingReader.h"

namespace tqxsim {

namespace {

constexpr std::uint16_t kFormatPcm = 0x0001;
constexpr std::uint16_t kFormatFloat = 0x0003;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;
constexpr std::size_t kPlainFormatBytes = 16;
constexpr std::size_t kExtensibleFormatBytes = 40;
// An extensible format names its coding by a GUID whose first two bytes are
// the plain format tag and whose other fourteen are always these.
constexpr std::array<std::uint8_t, 14> kFormatGuidTail = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                                          0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
// More than any recorder writes; a larger count is a damaged header.
constexpr std::uint16_t kMostChannels = 1024;
// Whole frames are read this many bytes' worth at a time.
constexpr std::size_t kBlockBytes = 64 * 1024;

std::uint64_t LittleEndian(const std::uint8_t* bytes, std::size_t count) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < count; ++i) value |= std::uint64_t{bytes[i]} << (8 * i);
  return value;
}

// Full scale as -1 to +1, as the sound-file library normalises: integers by
// the magnitude of their most negative value.
float UnsignedByte(const std::uint8_t* bytes) { return static_cast<float>((bytes[0] - 128) / 128.0); }

template <std::size_t kBytes>
float SignedInteger(const std::uint8_t* bytes) {
  const auto topAligned = static_cast<std::uint32_t>(LittleEndian(bytes, kBytes) << (32 - 8 * kBytes));
  return static_cast<float>(static_cast<std::int32_t>(topAligned) / 2147483648.0);
}

float Float32(const std::uint8_t* bytes) {
  return std::bit_cast<float>(static_cast<std::uint32_t>(LittleEndian(bytes, 4)));
}

// A double beyond the float range has no defined float conversion: a hostile
// file's sample saturates to infinity instead.
float Float64(const std::uint8_t* bytes) {
  const double value = std::bit_cast<double>(LittleEndian(bytes, 8));
  constexpr float kInfinity = std::numeric_limits<float>::infinity();
  if (std::abs(value) > std::numeric_limits<float>::max()) return value > 0 ? kInfinity : -kInfinity;
  return static_cast<float>(value);
}

struct SampleCoding {
  std::uint16_t format;
  std::size_t bytes;
  float (*decode)(const std::uint8_t* bytes);
};

constexpr SampleCoding kCodings[] = {
    {kFormatPcm, 1, UnsignedByte},          {kFormatPcm, 2, SignedInteger<2>}, {kFormatPcm, 3, SignedInteger<3>},
    {kFormatPcm, 4, SignedInteger<4>},      {kFormatFloat, 4, Float32},        {kFormatFloat, 8, Float64},
};

// Where the samples lie and how to read them.
struct WaveLayout {
  double rateHz = 0;
  int channels = 0;
  std::size_t frameBytes = 0;
  const SampleCoding* coding = nullptr;
  std::uint64_t dataOffset = 0;
  std::int64_t frames = 0;
};

class WaveFileRecordingReader final : public RecordingReader {
 public:
  WaveFileRecordingReader(std::ifstream file, const WaveLayout& layout, int channel)
      : file_(std::move(file)),
        layout_(layout),
        channelOffset_(static_cast<std::size_t>(channel - 1) * layout.coding->bytes) {}

  double SampleRateHz() const override { return layout_.rateHz; }
  int Channels() const override { return layout_.channels; }
  std::int64_t Frames() const override { return layout_.frames; }

  std::size_t Read(std::span<float> samples) override {
    std::size_t done = 0;
    while (done < samples.size() && position_ < layout_.frames) {
      const std::size_t wanted = std::min({std::max<std::size_t>(kBlockBytes / layout_.frameBytes, 1),
                                           samples.size() - done,
                                           static_cast<std::size_t>(layout_.frames - position_)});
      block_.resize(wanted * layout_.frameBytes);
      file_.read(reinterpret_cast<char*>(block_.data()), static_cast<std::streamsize>(block_.size()));
      const std::size_t read = static_cast<std::size_t>(file_.gcount()) / layout_.frameBytes;
      for (std::size_t frame = 0; frame < read; ++frame) {
        samples[done + frame] = layout_.coding->decode(&block_[frame * layout_.frameBytes + channelOffset_]);
      }
      done += read;
      position_ += static_cast<std::int64_t>(read);
      if (read < wanted) break;  // the file shrank since it was opened
    }
    return done;
  }

  bool Seek(std::int64_t frame) override {
    if (frame < 0 || frame > layout_.frames) return false;
    file_.clear();
    const std::uint64_t offset = layout_.dataOffset + static_cast<std::uint64_t>(frame) * layout_.frameBytes;
    if (!file_.seekg(static_cast<std::streamoff>(offset))) return false;
    position_ = frame;
    return true;
  }

  bool SeeksCheaply() const override { return true; }

 private:
  std::ifstream file_;
  WaveLayout layout_;
  std::size_t channelOffset_;
  std::int64_t position_ = 0;
  std::vector<std::uint8_t> block_;
};

// The header, read and checked; an error says what is wrong with it.
class WaveHeader {
 public:
  explicit WaveHeader(std::ifstream& file) : file_(file) {}

  std::string Read(WaveLayout& layout) {
    file_.seekg(0, std::ios::end);
    fileBytes_ = static_cast<std::uint64_t>(std::max<std::streamoff>(file_.tellg(), 0));
    file_.seekg(0);
    std::array<std::uint8_t, 12> riff{};
    if (!ReadBytes(riff.data(), riff.size()) || std::memcmp(riff.data(), "RIFF", 4) != 0 ||
        std::memcmp(riff.data() + 8, "WAVE", 4) != 0) {
      return "not a RIFF WAVE file";
    }
    if (std::string error = FindChunks(); !error.empty()) return error;
    if (std::string error = ReadFormat(layout); !error.empty()) return error;
    layout.dataOffset = *dataOffset_;
    layout.frames = static_cast<std::int64_t>(dataBytes_ / layout.frameBytes);
    return "";
  }

 private:
  bool ReadBytes(std::uint8_t* bytes, std::size_t count) {
    return static_cast<bool>(file_.read(reinterpret_cast<char*>(bytes), static_cast<std::streamsize>(count)));
  }

  // Walks the chunks up to the format and the data, whichever order they
  // come in. A data chunk announced longer than the file (a recording cut
  // off, or written by a recorder that never went back to fill in its size)
  // holds what the file holds.
  std::string FindChunks() {
    std::uint64_t offset = 12;
    while ((!formatBytes_ || !dataOffset_) && offset + 8 <= fileBytes_) {
      std::array<std::uint8_t, 8> header{};
      file_.seekg(static_cast<std::streamoff>(offset));
      if (!ReadBytes(header.data(), header.size())) break;
      const std::uint64_t size = LittleEndian(header.data() + 4, 4);
      const std::uint64_t body = offset + 8;
      if (std::memcmp(header.data(), "fmt ", 4) == 0) {
        if (size < kPlainFormatBytes || body + kPlainFormatBytes > fileBytes_) return "its format chunk is cut short";
        formatBytes_ = std::min<std::uint64_t>(size, kExtensibleFormatBytes);
        formatOffset_ = body;
      } else if (std::memcmp(header.data(), "data", 4) == 0) {
        dataOffset_ = body;
        dataBytes_ = std::min(size, fileBytes_ - body);
      }
      offset = body + size + (size & 1);  // chunks are padded to an even size
    }
    if (!formatBytes_) return "no format chunk";
    if (!dataOffset_) return "no data chunk";
    return "";
  }

  std::string ReadFormat(WaveLayout& layout) {
    std::array<std::uint8_t, kExtensibleFormatBytes> format{};
    const std::size_t available = static_cast<std::size_t>(std::min(*formatBytes_, fileBytes_ - formatOffset_));
    file_.clear();
    file_.seekg(static_cast<std::streamoff>(formatOffset_));
    if (!ReadBytes(format.data(), available)) return "its format chunk cannot be read";

    auto tag = static_cast<std::uint16_t>(LittleEndian(&format[0], 2));
    const auto channels = static_cast<std::uint16_t>(LittleEndian(&format[2], 2));
    const auto rateHz = static_cast<std::uint32_t>(LittleEndian(&format[4], 4));
    const auto frameBytes = static_cast<std::uint16_t>(LittleEndian(&format[12], 2));
    const auto bits = static_cast<std::uint16_t>(LittleEndian(&format[14], 2));
    if (tag == kFormatExtensible) {
      if (available < kExtensibleFormatBytes) return "its extensible format chunk is cut short";
      if (!std::equal(kFormatGuidTail.begin(), kFormatGuidTail.end(), &format[26])) {
        return "an extensible format that is neither PCM nor IEEE float";
      }
      tag = static_cast<std::uint16_t>(LittleEndian(&format[24], 2));
    }
    if (channels == 0 || channels > kMostChannels) return std::to_string(channels) + " channels";
    if (frameBytes == 0 || frameBytes % channels != 0) {
      return "frames of " + std::to_string(frameBytes) + " bytes for " + std::to_string(channels) + " channels";
    }
    const std::size_t sampleBytes = frameBytes / channels;
    if ((bits + 7u) / 8 != sampleBytes) {
      return std::to_string(bits) + "-bit samples in " + std::to_string(sampleBytes) + "-byte places";
    }
    const auto coding = std::find_if(std::begin(kCodings), std::end(kCodings), [&](const SampleCoding& c) {
      return c.format == tag && c.bytes == sampleBytes;
    });
    if (coding == std::end(kCodings)) {
      char tagText[8];
      std::snprintf(tagText, sizeof tagText, "0x%04X", tag);
      return std::string("format ") + tagText + " in " + std::to_string(sampleBytes) +
             "-byte samples; this build reads integer PCM of 8 to 32 bits and IEEE float of 32 or 64";
    }
    layout.rateHz = rateHz;
    layout.channels = channels;
    layout.frameBytes = frameBytes;
    layout.coding = coding;
    return "";
  }

  std::ifstream& file_;
  std::uint64_t fileBytes_ = 0;
  std::optional<std::uint64_t> formatBytes_;
  std::uint64_t formatOffset_ = 0;
  std::optional<std::uint64_t> dataOffset_;
  std::uint64_t dataBytes_ = 0;
};

}  // namespace

OpenedRecording OpenRecording(const std::filesystem::path& path, int channel) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return {nullptr, "cannot be opened"};
  WaveLayout layout;
  if (std::string error = WaveHeader(file).Read(layout); !error.empty()) {
    return {nullptr, "not a recording this program reads (" + error + ")"};
  }
  file.clear();
  file.seekg(static_cast<std::streamoff>(layout.dataOffset));
  return UsableRecording(std::make_unique<WaveFileRecordingReader>(std::move(file), layout, channel), channel);
}

}  // namespace tqxsim
