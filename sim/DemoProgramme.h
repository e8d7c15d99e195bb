#pragma once
// The built-in demo programme that the simulated module plays on its analog
// input unless told otherwise (TQXSIM_SIGNAL): three tones, one after the
// other, each centred on a bin the monitor can detect and loud enough for the
// Noisy mode, separated by silence, on a 2.5 V bias with a little noise. It
// starts when the module powers on (the monitor's start-up) and loops.
//
// Header only: the demo's data file names functions that listen to these bins.
#include <array>

namespace tqxsim {

struct DemoStep {
  double seconds;
  int bin;                // 0: silence
  double amplitudeVolts;  // peak
};

inline constexpr double kDemoNoiseVoltsRms = 0.002;  // about -55 dB in each bin, far below -20 dB

// 0.5 V peak is 0.354 V RMS, -9.0 dB: clearly heard in the Noisy mode, which
// needs more than 0.1 V RMS (-20 dB).
inline constexpr std::array<DemoStep, 6> kDemoProgramme{{
    {4.0, 20, 0.5},  //  0 s to  4 s: bin 20, 602.6 Hz
    {2.0, 0, 0.0},   //  4 s to  6 s: silence
    {4.0, 30, 0.5},  //  6 s to 10 s: bin 30, 919.7 Hz
    {2.0, 0, 0.0},   // 10 s to 12 s: silence
    {4.0, 45, 0.5},  // 12 s to 16 s: bin 45, 1395.5 Hz
    {2.0, 0, 0.0},   // 16 s to 18 s: silence, then from the start again
}};

constexpr double DemoProgrammeSeconds() {
  double total = 0.0;
  for (const DemoStep& step : kDemoProgramme) total += step.seconds;
  return total;
}

// The bins the demo's tones are centred on, in the order they play.
constexpr std::array<int, 3> DemoToneBins() {
  std::array<int, 3> bins{};
  std::size_t next = 0;
  for (const DemoStep& step : kDemoProgramme) {
    if (step.bin != 0) bins[next++] = step.bin;
  }
  return bins;
}

}  // namespace tqxsim
