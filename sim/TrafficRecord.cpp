#include "sim/TrafficRecord.h"

namespace tqxsim {

void TrafficRecord::Clear() {
  frames_.clear();
  errors_.clear();
  writeCount_ = 0;
  protocolErrorCount_ = 0;
  chipProtocolErrorCount_ = 0;
  interleavedWrites_ = 0;
}

void TrafficRecord::AddFrame(RecordedFrame frame) {
  ++writeCount_;
  if (frames_.size() == kRecentFrameLimit) frames_.pop_front();
  frames_.push_back(std::move(frame));
}

void TrafficRecord::AddProtocolError(ProtocolError error) {
  ++protocolErrorCount_;
  if (error.byChip) ++chipProtocolErrorCount_;
  if (errors_.size() == kRecentErrorLimit) errors_.pop_front();
  errors_.push_back(std::move(error));
}

}  // namespace tqxsim
