#pragma once
// Spelling out expected frames the way the frame tables are read: groups of
// bytes, some repeated.
#include <cstdint>
#include <initializer_list>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

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

inline Bytes Lines(std::uint8_t value, int count = 1, std::uint8_t direction = 0xFB) {
  return Times({0x80, value, direction}, count);
}

template <typename Array>
Bytes ToBytes(const Array& array) {
  return Bytes(array.begin(), array.end());
}

// The expander frames with the line shadow at 0xFB before them: W0 0xDB, V1
// 0xD9, V2 0xD8, V3 0xD9, V4 0xDB, V5 0xFB.
inline Bytes ExpectedWriteFrameFromIdle(std::uint8_t registerNumber, std::uint8_t port0, std::uint8_t port1) {
  const Bytes acknowledge = Join({Lines(0xD8, 1, 0xF9), {0x2E, 0x00}});
  return Join({{0x86, 0x42, 0x00}, Lines(0xDB, 4), Lines(0xD9, 4), Lines(0xD8),
               {0x11, 0x00, 0x00, 0x40}, acknowledge, Lines(0xD8, 26),
               {0x11, 0x00, 0x00, registerNumber}, acknowledge, Lines(0xD8, 26),
               {0x11, 0x00, 0x00, port0}, acknowledge, Lines(0xD8, 26),
               {0x11, 0x00, 0x00, port1}, acknowledge, Lines(0xD8, 29),
               Lines(0xD9, 4), Lines(0xDB, 3), Lines(0xFB)});
}

inline Bytes ExpectedReadFrameFromIdle(std::uint8_t registerNumber) {
  const Bytes acknowledge = Join({Lines(0xD8, 1, 0xF9), {0x2E, 0x00}});
  const Bytes byteIn = Join({Lines(0xD8, 1, 0xF9), {0x24, 0x00, 0x00}});
  return Join({{0x86, 0x42, 0x00}, Lines(0xDB, 4), Lines(0xD9, 4), Lines(0xD8),
               {0x11, 0x00, 0x00, 0x40}, acknowledge, Lines(0xD8, 26),
               {0x11, 0x00, 0x00, registerNumber}, acknowledge, Lines(0xD8, 25),
               Lines(0xDB, 4), Lines(0xD9, 4), Lines(0xD8),
               {0x11, 0x00, 0x00, 0x41}, acknowledge, Lines(0xD8, 30),
               byteIn, {0x2E, 0x00}, Lines(0xD8, 25),
               byteIn, acknowledge, Lines(0xD8, 29),
               Lines(0xD9, 4), Lines(0xDB, 3), Lines(0xFB)});
}
