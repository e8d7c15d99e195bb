#pragma once
// The monitor's detection tick without its window: the same ToneDetector,
// driven by a host whose window operations do nothing, over the functions of
// a data file and the spectra a scan hands it.
#include <atomic>
#include <cstdint>

#include "config/BinUsedTable.h"
#include "config/ConfigRecord.h"
#include "detect/DetectionState.h"
#include "detect/StandaloneDetector.h"
#include "detect/ToneDetector.h"
#include "dsp/Spectrum.h"

// What one tick heard and did.
struct TickOutcome {
  double seconds = 0.0;  // the tick's moment in the recording
  int heardBin = 0;      // 0 when the tick heard no bin
  double heardLevelDb = kLevelFloorDb;
  FunctionCountTable counts{};  // function n's count at n, as the window's Count fields show it
  int firedFunction = 0;        // the function whose actions the monitor would run, 0 none
};

class OfflineMonitor : private DetectionHost {
 public:
  // environmentMode as the window's radio pair: kNoisyEnvironment or any other
  // value for the Quiet mode. The bins the Noisy mode hears are derived from
  // the record once, as the monitor's start-up derives them.
  OfflineMonitor(const ConfigRecord& record, std::int32_t environmentMode);
  OfflineMonitor(const OfflineMonitor&) = delete;
  OfflineMonitor& operator=(const OfflineMonitor&) = delete;

  // One tick at `seconds` over the levels and peak bin the worker last
  // published.
  TickOutcome Tick(double seconds, const LevelSpectrum& levels, std::int32_t peakBin);

 private:
  void SaveControls() override {}
  void LoadControlsAndUpdate() override {}
  void PumpOneMessage() override {}

  StandaloneDetector tick_;
};
