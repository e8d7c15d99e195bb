#pragma once
// The strongest bin among those the detection listens to.
#include <atomic>
#include <cstdint>

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

// The worker's result of its current cycle; only the worker touches it.
extern int CyclePeakBin;

// The most recent completed cycle's peak bin, for the window thread: 0 at
// process start, 1 from the worker's start until its first cycle completes,
// 15 to 64 after that, and 0 again while a failed frame is unresolved.
// Written by the worker alone.
extern std::atomic<std::int32_t> PeakBin;
