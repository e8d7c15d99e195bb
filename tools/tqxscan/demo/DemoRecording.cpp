// The recording the guide's picture of `tqxscan --tones` is drawn from,
// written as a 16-bit 8 kHz WAV file: three two-tone pages (one with its A
// tone between two bins), a voice between them, a tone above 2 kHz that
// folds, and one below the bins the monitor listens to.
//   tqxscan-demo-recording FILE.wav
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <vector>

#include "sim/PcmWavHeader.h"

namespace {

constexpr int kRateHz = 8000;
constexpr double kAmplitude = 0.5;

void AddSine(std::vector<double>& samples, double hz, double seconds) {
  const auto count = static_cast<std::size_t>(seconds * kRateHz);
  for (std::size_t n = 0; n < count; ++n) {
    samples.push_back(hz == 0.0 ? 0.0 : kAmplitude * std::sin(2 * std::numbers::pi * hz * n / kRateHz));
  }
}

// Harmonics of a gliding pitch: what a voice looks like to the finder.
void AddVoice(std::vector<double>& samples, double seconds) {
  double phase = 0.0;
  for (int n = 0; n < static_cast<int>(seconds * kRateHz); ++n) {
    phase += 2 * std::numbers::pi * (140 + 30 * std::sin(2 * std::numbers::pi * 1.5 * n / kRateHz)) / kRateHz;
    double value = 0.0;
    for (int k = 1; k <= 10; ++k) value += 0.15 * std::sin(k * phase) / k;
    samples.push_back(value);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: tqxscan-demo-recording FILE.wav\n");
    return 2;
  }
  std::vector<double> samples;
  const auto page = [&samples](double a, double b) {
    AddSine(samples, a, 1.0);
    AddSine(samples, b, 3.0);
    AddSine(samples, 0.0, 1.5);
  };
  AddSine(samples, 0.0, 1.0);
  page(1122.5, 741.0);
  AddVoice(samples, 3.0);
  AddSine(samples, 0.0, 1.0);
  page(1433.0, 741.0);
  AddSine(samples, 2200.0, 1.5);
  AddSine(samples, 0.0, 1.0);
  AddVoice(samples, 2.0);
  AddSine(samples, 0.0, 1.0);
  page(1122.5, 741.0);
  AddSine(samples, 330.0, 1.5);
  AddSine(samples, 0.0, 1.0);

  std::ofstream out(argv[1], std::ios::binary);
  const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  tqxsim::WritePcm16WavHeader(out, kRateHz, 1, dataBytes);
  for (const double sample : samples) {
    tqxsim::PutLittleEndian(out, static_cast<std::uint16_t>(std::lround(sample * 32767)), 2);
  }
  return out.flush() ? 0 : 1;
}
