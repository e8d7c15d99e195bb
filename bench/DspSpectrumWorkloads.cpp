#include "DspSpectrumWorkloads.h"

#include <cmath>
#include <random>

#include "dsp/PeakSearch.h"
#include "tests/dsp/LiteralSpectrum.h"

SpectrumWorkloads::SpectrumWorkloads()
    : fftwInput_(fftw_alloc_real(kFrameSampleCount)),
      fftwOutput_(fftw_alloc_complex(kLevelCount)),
      fftwPlan_(fftw_plan_dft_r2c_1d(kFrameSampleCount, fftwInput_, fftwOutput_, FFTW_MEASURE)) {
  // Planning with FFTW_MEASURE overwrites the arrays, so the input comes after.
  std::mt19937 random(128);
  std::uniform_real_distribution<double> volts(0.0, 5.0);
  for (int n = 0; n < kFrameSampleCount; ++n) state_.samples[n] = fftwInput_[n] = volts(random);
}

SpectrumWorkloads::~SpectrumWorkloads() {
  fftw_destroy_plan(fftwPlan_);
  fftw_free(fftwOutput_);
  fftw_free(fftwInput_);
}

int SpectrumWorkloads::RunComputeSpectrum() {
  ComputeSpectrum(state_);
  return FindPeakBin(state_.levels);
}

int SpectrumWorkloads::RunStepByStep() { return FindPeakBin(ComputeLiteralSpectrum(state_.samples).levels); }

int SpectrumWorkloads::RunFftw() {
  fftw_execute(fftwPlan_);  // out of place: the input is preserved
  std::array<double, kLevelCount> power{};
  for (int k = 0; k < kLevelCount; ++k) {
    power[k] = (fftwOutput_[k][0] * fftwOutput_[k][0] + fftwOutput_[k][1] * fftwOutput_[k][1]) / 8192.0;
  }
  power[0] = power[1];
  for (int k = 0; k < kLevelCount; ++k) {
    double amplitude = std::sqrt(power[k]);
    if (amplitude < 1e-14) amplitude = 1e-14;
    const double level = 20.0 * std::log10(amplitude);
    fftwLevels_[k] = level < kLevelFloorDb ? kLevelFloorDb : level;
  }
  return FindPeakBin(fftwLevels_);
}
