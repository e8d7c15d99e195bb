#pragma once
// Reading the simulated module's record of writes: which frames went out after
// a given one, and what a DAC frame set.
#include <cstdint>
#include <optional>
#include <vector>

#include "device/AdcFrame.h"
#include "device/DacFrame.h"
#include "sim/SimControl.h"

// The number of the last write the module has seen (0 before any).
inline std::uint64_t LastFrameNumber(const tqxsim::SimControl& sim) { return sim.WriteCount(); }

// The window thread's frames (everything but the worker's sample frames)
// written after frame `after`.
inline std::vector<tqxsim::RecordedFrame> WindowFramesAfter(const tqxsim::SimControl& sim, std::uint64_t after) {
  std::vector<tqxsim::RecordedFrame> frames;
  for (tqxsim::RecordedFrame& frame : sim.RecentFrames()) {
    if (frame.number > after && frame.bytes.size() != kAdcFrameBytes) frames.push_back(std::move(frame));
  }
  return frames;
}

// What a DAC frame set: the channel byte as sent (0x30 or 0x31) and the code.
struct DacWord {
  std::uint8_t channelByte;
  std::int32_t code;
  bool operator==(const DacWord&) const = default;
};

// The DAC frame's three data bytes follow its select and its clock command.
inline std::optional<DacWord> DecodeDacFrame(const std::vector<std::uint8_t>& bytes) {
  constexpr std::size_t kChannelAt = 6;
  if (bytes.size() != kDacFrameBytes) return std::nullopt;
  return DacWord{bytes[kChannelAt], (std::int32_t{bytes[kChannelAt + 1]} << 4) | (bytes[kChannelAt + 2] >> 4)};
}
