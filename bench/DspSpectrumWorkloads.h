#pragma once
// One frame through three ways of getting its level spectrum and peak bin,
// on the same input: our ComputeSpectrum, the step-by-step transform the
// tests keep as the reference, and an FFTW real-input plan followed by the
// same level conversion. Shared by the timing benchmark and the instruction
// counting driver.
#include <fftw3.h>

#include "dsp/Spectrum.h"

class SpectrumWorkloads {
 public:
  SpectrumWorkloads();  // a fixed pseudo-random frame, 0 to 5 V; plans FFTW once
  SpectrumWorkloads(const SpectrumWorkloads&) = delete;
  SpectrumWorkloads& operator=(const SpectrumWorkloads&) = delete;
  ~SpectrumWorkloads();

  // Each returns the frame's peak bin.
  int RunComputeSpectrum();
  int RunStepByStep();
  int RunFftw();

 private:
  SpectrumState state_;
  double* fftwInput_;
  fftw_complex* fftwOutput_;
  fftw_plan fftwPlan_;
  LevelSpectrum fftwLevels_{};
};
