#pragma once
// What went over the link since power-on: the most recent writes with their
// bytes and times, the most recent protocol errors, and complete counts. Not
// thread-safe on its own: the module calls it with its lock held.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "sim/SimControl.h"

namespace tqxsim {

class TrafficRecord {
 public:
  void Clear();

  void AddFrame(RecordedFrame frame);
  void AddProtocolError(ProtocolError error);
  void CountInterleavedWrite() { ++interleavedWrites_; }

  std::uint64_t NextFrameNumber() const { return writeCount_ + 1; }
  std::uint64_t WriteCount() const { return writeCount_; }
  std::uint64_t ProtocolErrorCount() const { return protocolErrorCount_; }
  std::uint64_t ChipProtocolErrorCount() const { return chipProtocolErrorCount_; }
  std::uint64_t InterleavedWriteCount() const { return interleavedWrites_; }
  std::vector<RecordedFrame> RecentFrames() const { return {frames_.begin(), frames_.end()}; }
  std::vector<ProtocolError> RecentProtocolErrors() const { return {errors_.begin(), errors_.end()}; }

 private:
  // Enough for any test's frames; a monitor running for hours keeps a few
  // seconds' worth (each ADC frame is about 2 KB).
  static constexpr std::size_t kRecentFrameLimit = 256;
  static constexpr std::size_t kRecentErrorLimit = 256;

  std::deque<RecordedFrame> frames_;
  std::deque<ProtocolError> errors_;
  std::uint64_t writeCount_ = 0;
  std::uint64_t protocolErrorCount_ = 0;
  std::uint64_t chipProtocolErrorCount_ = 0;
  std::uint64_t interleavedWrites_ = 0;
};

}  // namespace tqxsim
