#include "dsp/PublishedLevels.h"

namespace {
LevelPublication workerPublication;
}  // namespace

void LevelPublication::Publish(const LevelSpectrum& levels) {
  const std::lock_guard lock(mutex_);
  levels_ = levels;
}

LevelSpectrum LevelPublication::Snapshot() const {
  const std::lock_guard lock(mutex_);
  return levels_;
}

void PublishLevels(const LevelSpectrum& levels) { workerPublication.Publish(levels); }

LevelSpectrum PublishedLevels() { return workerPublication.Snapshot(); }
