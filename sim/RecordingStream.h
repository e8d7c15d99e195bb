#pragma once
// A recording as volts at any moment, read ahead a block at a time and kept
// only from the moment last asked for on: memory stays the same however long
// the recording. Moments are asked for in order; a jump back (a loop) or far
// ahead seeks.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "sim/InputBias.h"
#include "sim/RecordingReader.h"

namespace tqxsim {

class RecordingStream {
 public:
  explicit RecordingStream(std::unique_ptr<RecordingReader> reader);

  double SampleRateHz() const { return reader_->SampleRateHz(); }
  std::int64_t Frames() const { return reader_->Frames(); }
  double Seconds() const { return static_cast<double>(Frames()) / SampleRateHz(); }

  // The input at position (in frames) as the module's input sees it: full
  // scale onto 0 to 5 V around 2.5 V. The module samples that voltage at an
  // instant, with no anti-alias filter before its converter, so a moment
  // between two frames lies on the straight line joining them, never a
  // low-passed reconstruction: content above half the module's rate folds into
  // the bins as it does on the module. wrapToFrame is the frame that follows the
  // last one (the first, for a loop); without it the last frame holds. Empty
  // when the file ends before the frames it announced.
  std::optional<double> VoltsAt(double position, std::optional<std::int64_t> wrapToFrame = std::nullopt);

 private:
  std::optional<float> Sample(std::int64_t frame);
  bool Refill(std::int64_t frame);

  std::unique_ptr<RecordingReader> reader_;
  std::vector<float> samples_;  // frames firstFrame_ on
  std::int64_t firstFrame_ = 0;
  std::int64_t readingAt_ = 0;  // the reader's position: the frame after samples_
};

}  // namespace tqxsim
