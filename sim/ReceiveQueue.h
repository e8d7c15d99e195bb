#pragma once
// The module's receive queue: the bytes the serial engine clocked in, each
// readable from the modelled moment its last bit was sampled, and each marked
// with the thread whose write produced it (to notice interleaved frames).
// Not thread-safe on its own: the module calls it with its lock held.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <thread>

#include "sim/ModelledTiming.h"

namespace tqxsim {

class ReceiveQueue {
 public:
  void Push(std::uint8_t value, EngineTicks readyAt, std::thread::id producer);
  void Clear() { bytes_.clear(); }

  // Bytes readable at now (the engine stamps them in order, so they are a prefix).
  std::size_t ReadyCount(EngineTicks now) const;
  std::size_t QueuedCount() const { return bytes_.size(); }
  // When the count-th byte (from 1) becomes readable, if that many are queued.
  std::optional<EngineTicks> ReadyAtFor(std::size_t count) const;
  // Moves up to into.size() of the front bytes into into; returns how many.
  std::size_t Take(std::span<std::uint8_t> into);
  bool HoldsBytesFromOtherThan(std::thread::id thread) const;

 private:
  struct QueuedByte {
    EngineTicks readyAt;
    std::thread::id producer;
    std::uint8_t value;
  };
  std::deque<QueuedByte> bytes_;
};

}  // namespace tqxsim
