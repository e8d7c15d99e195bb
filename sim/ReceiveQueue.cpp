#include "sim/ReceiveQueue.h"

#include <algorithm>

namespace tqxsim {

void ReceiveQueue::Push(std::uint8_t value, EngineTicks readyAt, std::thread::id producer) {
  bytes_.push_back({readyAt, producer, value});
}

std::size_t ReceiveQueue::ReadyCount(EngineTicks now) const {
  const auto firstNotReady =
      std::partition_point(bytes_.begin(), bytes_.end(), [now](const QueuedByte& byte) { return byte.readyAt <= now; });
  return static_cast<std::size_t>(firstNotReady - bytes_.begin());
}

std::optional<EngineTicks> ReceiveQueue::ReadyAtFor(std::size_t count) const {
  if (count == 0 || count > bytes_.size()) return std::nullopt;
  return bytes_[count - 1].readyAt;
}

std::size_t ReceiveQueue::Take(std::span<std::uint8_t> into) {
  const std::size_t count = std::min(into.size(), bytes_.size());
  for (std::size_t i = 0; i < count; ++i) into[i] = bytes_[i].value;
  bytes_.erase(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(count));
  return count;
}

bool ReceiveQueue::HoldsBytesFromOtherThan(std::thread::id thread) const {
  return std::any_of(bytes_.begin(), bytes_.end(),
                     [thread](const QueuedByte& byte) { return byte.producer != thread; });
}

}  // namespace tqxsim
