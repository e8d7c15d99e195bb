#include "sim/WavFile.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

namespace tqxsim {

namespace {

constexpr double kBiasVolts = 2.5;
constexpr double kFullScaleSwingVolts = 2.5;
constexpr std::uint16_t kIntegerFormat = 1;
constexpr std::uint16_t kFloatFormat = 3;
constexpr std::size_t kRiffHeaderBytes = 12;
constexpr std::size_t kChunkHeaderBytes = 8;
constexpr std::size_t kFormatChunkBytes = 16;

std::uint32_t Little(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t count) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < count; ++i) value |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
  return value;
}

// One sample scaled to -1 .. +1.
double SampleValue(std::span<const std::uint8_t> at, std::uint16_t format, int bits) {
  if (format == kFloatFormat) {
    const std::uint32_t raw = Little(at, 0, 4);
    float value = 0.0f;
    std::memcpy(&value, &raw, sizeof value);
    return value;
  }
  if (bits == 8) return (static_cast<int>(at[0]) - 128) / 128.0;  // 8-bit samples are unsigned
  const std::uint32_t raw = Little(at, 0, static_cast<std::size_t>(bits / 8));
  const int unusedBits = 32 - bits;
  const auto value = static_cast<std::int32_t>(raw << unusedBits) >> unusedBits;
  return value / static_cast<double>(1u << (bits - 1));
}

WavRecording Failed(std::string error) {
  WavRecording recording;
  recording.error = std::move(error);
  return recording;
}

}  // namespace

WavRecording ParseWav(std::span<const std::uint8_t> file) {
  if (file.size() < kRiffHeaderBytes || std::memcmp(file.data(), "RIFF", 4) != 0 ||
      std::memcmp(file.data() + 8, "WAVE", 4) != 0) {
    return Failed("not a WAV file");
  }
  std::uint16_t format = 0;
  std::uint16_t channels = 0;
  std::uint32_t sampleRate = 0;
  std::uint16_t bits = 0;
  bool formatSeen = false;
  std::size_t at = kRiffHeaderBytes;
  while (at + kChunkHeaderBytes <= file.size()) {
    const std::uint32_t chunkBytes = Little(file, at + 4, 4);
    const std::size_t body = at + kChunkHeaderBytes;
    const std::size_t available = file.size() - body;
    if (std::memcmp(file.data() + at, "fmt ", 4) == 0) {
      if (chunkBytes < kFormatChunkBytes || available < kFormatChunkBytes) return Failed("short format chunk");
      format = static_cast<std::uint16_t>(Little(file, body, 2));
      channels = static_cast<std::uint16_t>(Little(file, body + 2, 2));
      sampleRate = Little(file, body + 4, 4);
      bits = static_cast<std::uint16_t>(Little(file, body + 14, 2));
      formatSeen = true;
    } else if (std::memcmp(file.data() + at, "data", 4) == 0) {
      if (!formatSeen) return Failed("data before the format chunk");
      if (channels != 1) return Failed("not mono (" + std::to_string(channels) + " channels)");
      if (sampleRate == 0) return Failed("sample rate 0");
      const bool integer = format == kIntegerFormat && (bits == 8 || bits == 16 || bits == 24 || bits == 32);
      const bool floating = format == kFloatFormat && bits == 32;
      if (!integer && !floating) {
        return Failed("unsupported sample format " + std::to_string(format) + ", " + std::to_string(bits) + " bits");
      }
      const std::size_t sampleBytes = bits / 8u;
      // A data chunk that claims more than the file holds is read as far as it goes.
      const std::size_t dataBytes = std::min<std::size_t>(chunkBytes, available);
      WavRecording recording;
      recording.sampleRateHz = sampleRate;
      recording.volts.reserve(dataBytes / sampleBytes);
      for (std::size_t sample = body; sample + sampleBytes <= body + dataBytes; sample += sampleBytes) {
        const double value = SampleValue(file.subspan(sample, sampleBytes), format, bits);
        recording.volts.push_back(kBiasVolts + kFullScaleSwingVolts * value);
      }
      if (recording.volts.empty()) return Failed("no samples");
      return recording;
    }
    // Chunks are padded to an even length.
    const std::size_t next = body + chunkBytes + (chunkBytes & 1u);
    if (next <= at) break;
    at = next;
  }
  return Failed("no data chunk");
}

WavRecording ReadWav(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return Failed("cannot open " + path);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  return ParseWav(bytes);
}

}  // namespace tqxsim
