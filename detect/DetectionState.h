#pragma once
// The detection tick's memory between ticks, owned by the window thread.
#include <array>
#include <cstdint>

#include "config/ConfigRecord.h"

// One hit counter per bin 1 to 64 (bin b at b - 1): rises in each tick that
// hears the bin, falls (never below 0) in each tick that does not.
using BinHitCounterTable = std::array<std::uint32_t, kBinCount>;
extern BinHitCounterTable BinHitCounters;

// Makes the function counts decay on every second decay request only.
extern std::int32_t decayPhase;
