#include "dsp/PublishedLevels.h"

void LevelPublication::Publish(const LevelSpectrum& levels) {
  const std::lock_guard lock(mutex_);
  levels_ = levels;
}

LevelSpectrum LevelPublication::Snapshot() const {
  const std::lock_guard lock(mutex_);
  return levels_;
}
