#pragma once
// A function record as the bytes the data file holds, and records of random
// bytes, for the round trips of the data file and of its text.
#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

#include "config/ConfigRecord.h"

inline std::vector<std::uint8_t> Bytes(const ConfigRecord& record) {
  const auto* p = reinterpret_cast<const std::uint8_t*>(&record);
  return {p, p + sizeof record};
}

inline ConfigRecord RandomRecord(std::mt19937& random) {
  ConfigRecord record;
  auto* p = reinterpret_cast<std::uint8_t*>(&record);
  for (std::size_t i = 0; i < sizeof record; ++i) p[i] = static_cast<std::uint8_t>(random());
  return record;
}
