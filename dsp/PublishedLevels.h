#pragma once
// Hands finished level spectra from the worker to the window thread. The
// worker computes into storage of its own and publishes the 65 finished
// levels in one step, so a reader sees either the previous cycle's spectrum or
// the new one, never a half-computed one nor a mixture of two cycles.
#include <mutex>

#include "dsp/Spectrum.h"

class LevelPublication {
 public:
  // Holds silence (every level at the floor) until the first Publish.
  LevelPublication() = default;
  LevelPublication(const LevelPublication&) = delete;
  LevelPublication& operator=(const LevelPublication&) = delete;

  void Publish(const LevelSpectrum& levels);
  LevelSpectrum Snapshot() const;

 private:
  // Held only for one 520-byte copy, so neither side waits noticeably.
  mutable std::mutex mutex_;
  LevelSpectrum levels_ = SilentLevels();
};
