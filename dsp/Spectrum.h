#pragma once
// The level spectrum: one frame of 128 converter samples (volts) becomes 65
// levels in decibels relative to 1 V RMS, one per transform frequency index
// 0 to 64, never below kLevelFloorDb.
//
// Bin numbering, used everywhere in the system: bin n (1 to 64) is levels[n-1],
// that is frequency index n-1, at (n-1)·fs/128 Hz. Bin 1 (the DC term) shows
// bin 2's level; levels[64] (half the sampling rate) belongs to no bin.
#include <array>

inline constexpr int kFrameSampleCount = 128;
inline constexpr int kLevelCount = kFrameSampleCount / 2 + 1;  // frequency indices 0..64
inline constexpr double kLevelFloorDb = -69.9;

using SampleFrame = std::array<double, kFrameSampleCount>;
using LevelSpectrum = std::array<double, kLevelCount>;

// Every level at the floor: what a silent input gives, and what the levels
// hold before the first transform (never 0.0, which would read as a loud tone).
inline constexpr LevelSpectrum SilentLevels() {
  LevelSpectrum silence{};
  silence.fill(kLevelFloorDb);
  return silence;
}

struct SpectrumState {
  SampleFrame samples{};  // volts, in acquisition order
  // The transform's working data. Element k holds frequency index k after a
  // transform (0-based storage of what the algorithm numbers 1 to 128).
  std::array<double, kFrameSampleCount> workReal{};
  std::array<double, kFrameSampleCount> workImag{};
  LevelSpectrum levels = SilentLevels();
};

// The acquisition worker's own state; the window thread never reads it, it
// reads PublishedLevels() (dsp/AcquisitionWorker.h) instead.
extern SpectrumState Spectrum;

// Transforms state.samples into state.levels (128-point radix-2 FFT with the
// twiddles of a per-stage complex recurrence, power / 8192, bin 1 takes bin
// 2's power, 20·log10 of the RMS amplitude clamped at 1e-14, floored at
// kLevelFloorDb). Overwrites workReal, workImag and levels. No allocation.
void ComputeSpectrum(SpectrumState& state);

// The same on the worker's Spectrum.
void ComputeSpectrum();
