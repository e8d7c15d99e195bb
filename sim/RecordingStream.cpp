#include "sim/RecordingStream.h"

#include <algorithm>
#include <cmath>

namespace tqxsim {

namespace {

constexpr std::size_t kReadAheadFrames = 8192;
// Past this many unneeded frames, a file that seeks cheaply is not read but
// skipped: a scan needs 31.5 ms of each 100 ms.
constexpr std::int64_t kSkippedRatherThanReadFrames = 1024;

}  // namespace

RecordingStream::RecordingStream(std::unique_ptr<RecordingReader> reader) : reader_(std::move(reader)) {
  samples_.reserve(2 * kReadAheadFrames);
}

std::optional<double> RecordingStream::VoltsAt(double position, std::optional<std::int64_t> wrapToFrame) {
  const auto frame = static_cast<std::int64_t>(std::floor(position));
  const bool last = frame + 1 >= Frames();
  const std::optional<float> here = Sample(last ? Frames() - 1 : frame);
  if (!here) return std::nullopt;
  float next = *here;
  if (!last || wrapToFrame) {
    const std::optional<float> after = Sample(last ? *wrapToFrame : frame + 1);
    if (!after) return std::nullopt;
    next = *after;
  }
  const double fraction = position - static_cast<double>(frame);
  return kInputBiasVolts + kRecordingFullScaleVolts * (*here + fraction * (next - *here));
}

std::optional<float> RecordingStream::Sample(std::int64_t frame) {
  if (frame < firstFrame_ || frame >= readingAt_) {
    if (!Refill(frame)) return std::nullopt;
  }
  return samples_[static_cast<std::size_t>(frame - firstFrame_)];
}

// Keeps the frames from `frame` on that are still held, and reads the next
// block after them; a frame behind the window or further past it than is
// worth reading is read after a seek instead.
bool RecordingStream::Refill(std::int64_t frame) {
  const std::int64_t worthReading =
      reader_->SeeksCheaply() ? kSkippedRatherThanReadFrames : static_cast<std::int64_t>(kReadAheadFrames);
  if (frame < firstFrame_ || frame >= readingAt_ + worthReading) {
    if (!reader_->Seek(frame)) return false;
    samples_.clear();
    firstFrame_ = readingAt_ = frame;
  } else {
    const std::int64_t keptFrom = std::min(frame, readingAt_);
    samples_.erase(samples_.begin(), samples_.begin() + (keptFrom - firstFrame_));
    firstFrame_ = keptFrom;
  }
  while (frame >= readingAt_) {
    const std::size_t held = samples_.size();
    samples_.resize(held + kReadAheadFrames);
    const std::size_t read = reader_->Read(std::span(samples_).subspan(held));
    samples_.resize(held + read);
    readingAt_ += static_cast<std::int64_t>(read);
    if (read == 0) return false;
  }
  return true;
}

}  // namespace tqxsim
