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

struct DriverTable;

// The worker's pause between cycles: the window thread's share of the bus,
// and the cadence an offline scan of a recording must follow.
inline constexpr std::chrono::milliseconds kPauseBetweenCycles{10};

// 1 while the worker is to keep cycling. Set by start-up before the thread is
// created, cleared by the close request; the worker only reads it.
extern std::atomic<std::int32_t> WorkerRunning;

// One cycle: a sample frame into Spectrum.samples, ComputeSpectrum, the peak
// search into CyclePeakBin, and the levels published for the window thread.
// A failed frame keeps the previous samples but publishes silence (every level
// at the floor, no peak bin) before its message is shown. Allocates nothing.
void AcquisitionCycle(DriverTable& driver);

// The thread procedure. param is the window's DriverTable*. Sets PeakBin to 1,
// returns 0 at once when WorkerRunning is already 0, and otherwise cycles,
// storing each cycle's peak bin in PeakBin, until WorkerRunning is 0.
unsigned AcquisitionThreadProc(void* param);
