#pragma once
// The tick's detector with everything it reads, writes and keeps as state of
// its own, in place of the window's members and the process's memory: the
// tick run without the window, by the offline monitor, the tick's tests and
// its benchmark.
#include <atomic>
#include <cstdint>

#include "config/BinUsedTable.h"
#include "config/ConfigRecord.h"
#include "detect/DetectionState.h"
#include "detect/ToneDetector.h"
#include "dsp/Spectrum.h"

struct StandaloneDetector {
  // The bins the Noisy mode hears are derived from the record here, as the
  // monitor's start-up derives them; a change to the record derives them again.
  StandaloneDetector(DetectionHost& host, const ConfigRecord& functions, std::int32_t mode)
      : record(functions),
        binUsed(DeriveBinUsedTable(functions)),
        environmentMode(mode),
        detector(host, DetectionMembers{environmentMode, functionCounts, peakBinShown, topBinCount},
                 DetectionInputs{levels, peakBin, binUsed, record}, DetectionMemory{binHitCounters, decayPhase}) {}
  StandaloneDetector(const StandaloneDetector&) = delete;
  StandaloneDetector& operator=(const StandaloneDetector&) = delete;

  ConfigRecord record;
  BinUsedFlags binUsed;
  LevelSpectrum levels = SilentLevels();
  std::atomic<std::int32_t> peakBin{0};
  std::int32_t environmentMode;  // kNoisyEnvironment, or any other value for the Quiet mode
  FunctionCountTable functionCounts{};
  std::int32_t peakBinShown = 0;
  std::int32_t topBinCount = 0;
  BinHitCounterTable binHitCounters{};
  std::int32_t decayPhase = 0;
  // Last: it refers to every field above.
  ToneDetector detector;
};
