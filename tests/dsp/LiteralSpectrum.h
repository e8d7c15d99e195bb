#pragma once
// The level spectrum computed step by step exactly as the transform is
// described (1-based work arrays, the counter-form bit reversal, the twiddle
// recurrence run inside every stage): the reference the fast ComputeSpectrum
// must match bit for bit.
#include <array>

#include "dsp/Spectrum.h"

struct LiteralSpectrumResult {
  std::array<double, kFrameSampleCount + 1> workReal{};  // element 0 unused
  std::array<double, kFrameSampleCount + 1> workImag{};
  LevelSpectrum levels{};
};

LiteralSpectrumResult ComputeLiteralSpectrum(const SampleFrame& samples);
