// tqxscan over a long recording: how many times faster than real time it
// scans, and how much memory it needs. The recording is written into a
// temporary file block by block (never held whole), scanned as the command
// line scans it with --summary, and deleted. Goals: 5,000 times real time or
// better, peak memory under 32 MB, whatever the length.
//   recording_scan_measurement [HOURS, default 24] [RATE_HZ, default 8000] [CHANNELS, default 1]
// 24 hours at 8 kHz mono take 1.4 GB of disk in the temporary folder.
#include <sndfile.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "PeakMemory.h"
#include "config/ConfigFile.h"
#include "sim/ModelledTiming.h"
#include "tools/tqxscan/ScanTool.h"

namespace fs = std::filesystem;

namespace {

constexpr double kSecondsPerHour = 3600.0;
// The tones of the demo's bins, 2 s each, then 4 s of silence: one pattern,
// repeated for the whole recording.
constexpr int kPatternBins[] = {20, 30, 45};
constexpr double kToneSeconds = 2.0;
constexpr double kPatternSilenceSeconds = 4.0;
constexpr double kToneAmplitude = 0.5;  // of full scale
constexpr int kFunctionRequiredCount = 5;

std::vector<short> Pattern(int rateHz, int channels) {
  std::vector<short> samples;
  const auto toneFrames = static_cast<int>(kToneSeconds * rateHz);
  for (const int bin : kPatternBins) {
    for (int n = 0; n < toneFrames; ++n) {
      const double value = kToneAmplitude * std::sin(2 * std::numbers::pi * tqxsim::BinFrequencyHz(bin) * n / rateHz);
      samples.insert(samples.end(), static_cast<std::size_t>(channels), static_cast<short>(std::lround(value * 32767)));
    }
  }
  samples.resize(samples.size() + static_cast<std::size_t>(kPatternSilenceSeconds * rateHz * channels), 0);
  return samples;
}

bool WriteRecording(const fs::path& path, double seconds, int rateHz, int channels) {
  SF_INFO info{};
  info.samplerate = rateHz;
  info.channels = channels;
  info.format = SF_FORMAT_RF64 | SF_FORMAT_PCM_16;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file == nullptr) return false;
  // A file under 4 GB is written as plain WAV.
  sf_command(file, SFC_RF64_AUTO_DOWNGRADE, nullptr, SF_TRUE);
  const std::vector<short> pattern = Pattern(rateHz, channels);
  const auto patternFrames = static_cast<sf_count_t>(pattern.size()) / channels;
  for (auto left = static_cast<sf_count_t>(seconds * rateHz); left > 0; left -= patternFrames) {
    sf_writef_short(file, pattern.data(), std::min(left, patternFrames));
  }
  return sf_close(file) == 0;
}

ConfigRecord PatternFunctions() {
  ConfigRecord record{};
  for (int function = 1; function <= static_cast<int>(std::size(kPatternBins)); ++function) {
    record.triggerBin1[function] = kPatternBins[function - 1];
    record.requiredCount[function] = kFunctionRequiredCount;
    StoreFunctionName(record, function, "pattern tone");
  }
  return record;
}


}  // namespace

int main(int argc, char** argv) {
  const double hours = argc > 1 ? std::atof(argv[1]) : 24.0;
  const int rateHz = argc > 2 ? std::atoi(argv[2]) : 8000;
  const int channels = argc > 3 ? std::atoi(argv[3]) : 1;
  const double seconds = hours * kSecondsPerHour;
  const fs::path folder = fs::temp_directory_path() / ("recording_scan_measurement_" + std::to_string(::getpid()));
  fs::create_directories(folder);
  const fs::path recording = folder / "long.wav";
  const fs::path dataFile = folder / "tqxdata.bin";

  int status = 1;
  if (!WriteRecording(recording, seconds, rateHz, channels) || WriteConfigFile(PatternFunctions(), dataFile)) {
    std::fprintf(stderr, "recording_scan_measurement: cannot write %s\n", folder.c_str());
  } else {
    const double peakBeforeScanMebibytes = PeakResidentMebibytes();
    std::ostringstream out, err;
    const auto start = std::chrono::steady_clock::now();
    status = RunScanTool(std::vector<std::string>{"--summary", recording.string(), dataFile.string()}, out, err);
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%.1f h at %d Hz, %d channel%s (%.2f GB): scanned in %.2f s, %.0f times real time\n", hours, rateHz,
                channels, channels == 1 ? "" : "s", static_cast<double>(fs::file_size(recording)) / 1e9, elapsed,
                seconds / elapsed);
    std::printf("peak resident memory %.1f MB (%.1f MB before the scan); goal: 5000 times real time, under 32 MB\n",
                PeakResidentMebibytes(), peakBeforeScanMebibytes);
    if (status != 0) std::fprintf(stderr, "%s", err.str().c_str());
  }
  fs::remove_all(folder);
  return status;
}
