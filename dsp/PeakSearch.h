#pragma once
// The strongest bin among those the detection listens to.
#include "dsp/Spectrum.h"

inline constexpr int kFirstPeakBin = 15;
inline constexpr int kLastPeakBin = 64;
// No bin: before the first cycle, and after a frame that was not read. No
// tick hears it.
inline constexpr int kNoPeakBin = 0;

// The bin (15 to 64) with the highest level; on equal levels the lowest bin
// wins. Bins 1 to 14 and levels[64] take no part. Every level is at least
// kLevelFloorDb, so some bin is always found.
int FindPeakBin(const LevelSpectrum& levels);
