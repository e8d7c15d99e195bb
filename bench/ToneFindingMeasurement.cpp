// tqxscan --tones over long recordings: how many times faster than real time
// it finds the tones, and how much memory it needs. Each recording is written
// into a temporary 16-bit WAV file block by block (never held whole), with a
// faint hiss throughout and a two-tone page (1 s, then 3 s) every ten
// minutes, then searched as the command line searches it, and deleted.
// Goals: 2,000 times real time or better, peak memory under 64 MB, whatever
// the length. Without arguments: 24 hours at 8 kHz mono, then an hour at
// 48 kHz stereo.
//   tone_finding_measurement [HOURS RATE_HZ CHANNELS]
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "PeakMemory.h"
#include "sim/PcmWavHeader.h"
#include "ThreadCpuTime.h"
#include "tools/tqxscan/ScanTool.h"

namespace fs = std::filesystem;

namespace {

constexpr double kSecondsPerHour = 3600.0;
constexpr double kPageEverySeconds = 600.0;
constexpr double kToneAHz = 1122.5, kToneASeconds = 1.0;
constexpr double kToneBHz = 741.0, kToneBSeconds = 3.0;
constexpr double kToneAmplitude = 0.5;   // of full scale
constexpr double kHissAmplitude = 0.001;  // -60 dB of full scale

struct Workload {
  double hours;
  int rateHz;
  int channels;
};

// Hiss throughout, and a page at the start of every ten minutes.
bool WriteRecording(const fs::path& path, const Workload& work) {
  const auto frames = static_cast<std::uint64_t>(work.hours * kSecondsPerHour * work.rateHz);
  const std::uint64_t dataBytes = frames * 2 * work.channels;
  if (dataBytes + 36 > 0xFFFFFFFFu) return false;
  std::ofstream out(path, std::ios::binary);
  tqxsim::WritePcm16WavHeader(out, static_cast<std::uint32_t>(work.rateHz), static_cast<std::uint32_t>(work.channels),
                              static_cast<std::uint32_t>(dataBytes));

  // A second at a time, so that writing holds as little as the search.
  const auto pageFrames = static_cast<std::uint64_t>(kPageEverySeconds * work.rateHz);
  const auto blockFrames = static_cast<std::uint64_t>(work.rateHz);
  std::vector<std::int16_t> block;
  std::uint32_t noise = 12345;
  for (std::uint64_t first = 0; first < frames; first += blockFrames) {
    block.clear();
    for (std::uint64_t frame = first; frame < first + blockFrames && frame < frames; ++frame) {
      const double t = static_cast<double>(frame % pageFrames) / work.rateHz;
      noise = noise * 1664525u + 1013904223u;
      double value = kHissAmplitude * (static_cast<double>(noise >> 8) / (1u << 23) - 1.0);
      if (t < kToneASeconds) {
        value += kToneAmplitude * std::sin(2 * std::numbers::pi * kToneAHz * t);
      } else if (t < kToneASeconds + kToneBSeconds) {
        value += kToneAmplitude * std::sin(2 * std::numbers::pi * kToneBHz * t);
      }
      block.insert(block.end(), static_cast<std::size_t>(work.channels),
                   static_cast<std::int16_t>(std::lround(value * 32767)));
    }
    out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(block.size() * 2));
  }
  return static_cast<bool>(out.flush());
}

int Measure(const Workload& work) {
  const fs::path folder = fs::temp_directory_path() / "tone_finding_measurement";
  fs::create_directories(folder);
  const fs::path recording = folder / "long.wav";
  int status = 1;
  if (!WriteRecording(recording, work)) {
    std::fprintf(stderr, "tone_finding_measurement: cannot write %s\n", recording.string().c_str());
  } else {
    const double peakBefore = PeakResidentMebibytes();
    std::ostringstream out, err;
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ThreadCpuSeconds();
    status = RunScanTool(std::vector<std::string>{"--tones", "--json", recording.string()}, out, err);
    const double cpu = ThreadCpuSeconds() - cpuStart;
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::size_t tones = 0;
    for (const char c : out.str()) tones += c == '\n' ? 1 : 0;
    const double seconds = work.hours * kSecondsPerHour;
    // On a busy machine the wall clock runs ahead of the search; its own CPU
    // time says what it costs.
    std::printf("%.1f h at %d Hz, %d channel%s (%.2f GB), %zu tones found: in %.2f s, %.0f times real time "
                "(%.2f s of CPU, %.0f times real time)\n",
                work.hours, work.rateHz, work.channels, work.channels == 1 ? "" : "s",
                static_cast<double>(fs::file_size(recording)) / 1e9, tones, elapsed, seconds / elapsed, cpu,
                seconds / cpu);
    std::printf("peak resident memory %.1f MB (%.1f MB before the search); goal: 2000 times real time, under 64 MB\n",
                PeakResidentMebibytes(), peakBefore);
    if (status != 0) std::fprintf(stderr, "%s", err.str().c_str());
  }
  fs::remove_all(folder);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4) return Measure({std::atof(argv[1]), std::atoi(argv[2]), std::atoi(argv[3])});
  const int day = Measure({24.0, 8000, 1});
  return Measure({1.0, 48000, 2}) != 0 ? 1 : day;
}
