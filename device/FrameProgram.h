#pragma once
// Command frames described as tables. A frame is a list of steps; each step is
// a short byte pattern written a number of times in a row. A pattern byte is
// either fixed, or one of the frame's values (a line level derived from the
// line shadow, an address, a data byte), looked up when the frame is built.
// The builders in AdcFrame, ExpanderFrames and DacFrame are these tables plus
// the rules that derive their values; nothing here allocates.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "device/LowByteLines.h"

// A built frame and the line value its builder leaves in the line shadow.
template <std::size_t Length>
struct CommandFrame {
  std::array<std::uint8_t, Length> bytes;
  std::uint8_t shadowAfter;
};

struct PatternByte {
  bool isValue;        // false: value is the byte itself
  std::uint8_t value;  // the fixed byte, or the index of a frame value
};

struct FrameStep {
  std::array<PatternByte, 4> pattern;
  std::uint8_t length;
  std::uint8_t repeat;
};

constexpr PatternByte Fixed(std::uint8_t byte) { return {false, byte}; }
constexpr PatternByte Value(std::uint8_t index) { return {true, index}; }

// 0x80 level direction, repeated: holds the lines steady without clock pulses.
constexpr FrameStep SetLines(std::uint8_t levelIndex, std::uint8_t direction, std::uint8_t repeat = 1) {
  return {{Fixed(low_byte::kSetLines), Value(levelIndex), Fixed(direction)}, 3, repeat};
}

constexpr FrameStep SetDivisor(std::uint16_t divisor) {
  return {{Fixed(low_byte::kSetDivisor), Fixed(static_cast<std::uint8_t>(divisor & 0xFF)),
           Fixed(static_cast<std::uint8_t>(divisor >> 8))},
          3,
          1};
}

// One byte clocked out, most significant bit first.
constexpr FrameStep ClockByteOut(std::uint8_t byteIndex) {
  return {{Fixed(low_byte::kBytesOutFalling), Fixed(0x00), Fixed(0x00), Value(byteIndex)}, 4, 1};
}

// A command of fixed bytes.
constexpr FrameStep Command(std::uint8_t b0, std::uint8_t b1) { return {{Fixed(b0), Fixed(b1)}, 2, 1}; }
constexpr FrameStep Command(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2) {
  return {{Fixed(b0), Fixed(b1), Fixed(b2)}, 3, 1};
}

// Three frame values written as they are (the data of a preceding clock-out
// command).
constexpr FrameStep ValueBytes(std::uint8_t i0, std::uint8_t i1, std::uint8_t i2) {
  return {{Value(i0), Value(i1), Value(i2)}, 3, 1};
}

constexpr std::size_t FrameLength(std::span<const FrameStep> steps) {
  std::size_t length = 0;
  for (const FrameStep& step : steps) length += std::size_t{step.length} * step.repeat;
  return length;
}

// Writes the steps at out[at...] and returns the offset just past them.
template <std::size_t ValueCount>
constexpr std::size_t EmitSteps(std::span<const FrameStep> steps, const std::array<std::uint8_t, ValueCount>& values,
                                std::span<std::uint8_t> out, std::size_t at) {
  for (const FrameStep& step : steps) {
    std::array<std::uint8_t, 4> bytes{};
    for (std::size_t i = 0; i < step.length; ++i) {
      const PatternByte& byte = step.pattern[i];
      bytes[i] = byte.isValue ? values[byte.value] : byte.value;
    }
    for (std::size_t copy = 0; copy < step.repeat; ++copy) {
      for (std::size_t i = 0; i < step.length; ++i) out[at++] = bytes[i];
    }
  }
  return at;
}

// Writes the steps once at out[at...] and then copies that group until it
// stands count times in a row, doubling the copied run each time. Returns the
// offset just past the last copy.
template <std::size_t ValueCount>
constexpr std::size_t EmitRepeatedGroup(std::span<const FrameStep> group,
                                        const std::array<std::uint8_t, ValueCount>& values,
                                        std::span<std::uint8_t> out, std::size_t at, std::size_t count) {
  const std::size_t groupLength = EmitSteps(group, values, out, at) - at;
  const std::size_t total = groupLength * count;
  for (std::size_t filled = groupLength; filled < total;) {
    const std::size_t run = std::min(filled, total - filled);
    std::copy_n(out.begin() + static_cast<std::ptrdiff_t>(at), run,
                out.begin() + static_cast<std::ptrdiff_t>(at + filled));
    filled += run;
  }
  return at + total;
}
