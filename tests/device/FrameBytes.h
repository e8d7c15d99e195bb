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

// The line shadow at rest, and the first line commands of an expander frame
// from there (the expander bus enabled).
inline constexpr std::uint8_t kIdleShadow = 0xFB;
inline constexpr std::uint8_t kOpeningFromIdle = 0xDB;
