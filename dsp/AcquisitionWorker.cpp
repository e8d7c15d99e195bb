#include "dsp/AcquisitionWorker.h"

#include <chrono>
#include <thread>

#include "device/AdcFrame.h"
#include "dsp/PeakSearch.h"
#include "dsp/PublishedLevels.h"
#include "dsp/Spectrum.h"

std::atomic<std::int32_t> WorkerRunning{0};
int CyclePeakBin = 0;
std::atomic<std::int32_t> PeakBin{kNoPeakBin};

namespace {
LevelPublication workerPublication;

static_assert(kConversionsPerFrame == kFrameSampleCount);

// A frame that was not read is heard as silence. It is published before the
// failure's message box holds this thread: the ticks go on behind that box
// and would otherwise keep hearing the last good spectrum, firing functions on
// a tone that may have stopped long ago.
void PublishSilence() {
  CyclePeakBin = kNoPeakBin;
  PeakBin.store(kNoPeakBin);
  PublishLevels(SilentLevels());
}

}  // namespace

void PublishLevels(const LevelSpectrum& levels) { workerPublication.Publish(levels); }

LevelSpectrum PublishedLevels() { return workerPublication.Snapshot(); }

void AcquisitionCycle(DriverTable& driver) {
  if (!ReadSampleFrame(driver, Spectrum.samples, &PublishSilence)) return;
  ComputeSpectrum();
  CyclePeakBin = FindPeakBin(Spectrum.levels);
  PublishLevels(Spectrum.levels);
}

// The worker has no message queue of its own, so there is no message to pump
// between cycles.
unsigned AcquisitionThreadProc(void* param) {
  DriverTable& driver = *static_cast<DriverTable*>(param);
  PeakBin.store(1);
  if (WorkerRunning.load() == 0) return 0;
  do {
    AcquisitionCycle(driver);
    PeakBin.store(CyclePeakBin);
    std::this_thread::sleep_for(kPauseBetweenCycles);
  } while (WorkerRunning.load() != 0);
  return 0;
}
