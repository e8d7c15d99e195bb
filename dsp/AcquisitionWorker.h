#pragma once
// The acquisition worker: a background thread that samples a frame, turns it
// into the level spectrum, finds the peak bin and publishes both, pausing
// 10 ms between cycles, for as long as WorkerRunning stays set.
//
// Start (window thread): BusBusy = 0, WorkerRunning = 1, then
//   workerThread = AfxBeginThread(AcquisitionThreadProc, &driverTable);
// Stop (close request): WorkerRunning = 0, AbandonWaitingMessageBoxes() (a
// frame's message box may hold the worker), workerThread->Join(), and only
// then close the device. The worker leaves within one cycle: the frame in
// flight, the transform and the 10 ms pause.
#include <atomic>
#include <cstdint>

#include <chrono>

#include "dsp/Spectrum.h"

struct DriverTable;

// The worker's pause between cycles: the window thread's share of the bus,
// and the cadence an offline scan of a recording must follow.
inline constexpr std::chrono::milliseconds kPauseBetweenCycles{10};

// 1 while the worker is to keep cycling. Set by start-up before the thread is
// created, cleared by the close request; the worker only reads it.
extern std::atomic<std::int32_t> WorkerRunning;

// What the worker publishes, all written by the worker alone.
//
// The worker's result of its current cycle; only the worker touches it.
extern int CyclePeakBin;
// The most recent completed cycle's peak bin, for the window thread: 0 at
// process start, 1 from the worker's start until its first cycle completes,
// 15 to 64 after that, and 0 again while a failed frame is unresolved.
extern std::atomic<std::int32_t> PeakBin;
// Each cycle's levels, published whole (see LevelPublication).
void PublishLevels(const LevelSpectrum& levels);
// The window thread's copy of the latest published levels (silence before the
// worker's first cycle). Index as levels: bin n is entry n-1.
LevelSpectrum PublishedLevels();

// One cycle: a sample frame into Spectrum.samples, ComputeSpectrum, the peak
// search into CyclePeakBin, and the levels published for the window thread.
// A failed frame keeps the previous samples but publishes silence (every level
// at the floor, no peak bin) before its message is shown. Allocates nothing.
void AcquisitionCycle(DriverTable& driver);

// The thread procedure. param is the window's DriverTable*. Sets PeakBin to 1,
// returns 0 at once when WorkerRunning is already 0, and otherwise cycles,
// storing each cycle's peak bin in PeakBin, until WorkerRunning is 0.
unsigned AcquisitionThreadProc(void* param);
