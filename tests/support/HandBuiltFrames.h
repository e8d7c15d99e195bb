#pragma once
// The monitor's command frames, built by hand here from their published
// layouts, independently of the builders in device/: the ADC frame, the
// expander's write and read frames and the DAC frame; and the pieces for
// spelling out an expected frame the way the frame tables are read: groups of
// bytes, some repeated.
#include <cstdint>
#include <initializer_list>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

class FrameBytes {
 public:
  FrameBytes& Lines(std::uint8_t value, std::uint8_t direction, int repeat = 1);
  FrameBytes& Divisor(std::uint16_t divisor);
  FrameBytes& BytesOut(std::initializer_list<std::uint8_t> data);
  FrameBytes& BitsOut(int count, std::uint8_t data);
  FrameBytes& BytesInOnRisingEdge(int count);
  FrameBytes& BytesInOnFallingEdge(int count);
  FrameBytes& BitsIn(int count);
  FrameBytes& Raw(std::initializer_list<std::uint8_t> bytes);

  std::vector<std::uint8_t> bytes;
};

inline constexpr std::uint8_t kDriveAll = 0xFB;     // line 2 (data in) is the only input
inline constexpr std::uint8_t kReleaseData = 0xF9;  // lines 1 and 2 inputs

// 1923 bytes; 256 reply bytes.
std::vector<std::uint8_t> AdcFrameBytes(std::uint8_t shadow);
// 411 bytes; four acknowledge bytes. opening: the line value of the first
// four line commands (the shadow with the expander bus enabled).
std::vector<std::uint8_t> ExpanderWriteFrameBytes(std::uint8_t opening, std::uint8_t registerNumber, std::uint8_t port0,
                                                  std::uint8_t port1);
// 532 bytes; seven reply bytes, the registers at 3 and 5.
std::vector<std::uint8_t> ExpanderReadFrameBytes(std::uint8_t shadow, std::uint8_t registerNumber);
// 12 bytes; no reply.
std::vector<std::uint8_t> DacFrameBytes(std::uint8_t channelByte, std::uint16_t code);

// The code the ADC sent in one pair of reply bytes.
inline int CodeOf(std::uint8_t high, std::uint8_t low) { return (high << 5) | (low >> 3); }

inline Bytes Times(const Bytes& group, int count) {
  Bytes out;
  // Reserved up front also keeps GCC 12 at -O3 from misreading the inserts as
  // writing past the end (-Wstringop-overflow).
  out.reserve(group.size() * static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) out.insert(out.end(), group.begin(), group.end());
  return out;
}

inline Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

inline Bytes Lines(std::uint8_t value, int count = 1, std::uint8_t direction = kDriveAll) {
  return Times({0x80, value, direction}, count);
}

template <typename Array>
Bytes ToBytes(const Array& array) {
  return Bytes(array.begin(), array.end());
}

// The line shadow at rest, and the first line commands of an expander frame
// from there (the expander bus enabled).
inline constexpr std::uint8_t kIdleShadow = 0xFB;
inline constexpr std::uint8_t kOpeningFromIdle = 0xDB;
