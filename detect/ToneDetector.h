#pragma once
// The detection tick's decisions: which bin is heard in each environment mode,
// the bins' hit counters, the functions' counts and their decay, and which
// function is to run. The window the tick runs in is reached only through
// DetectionHost, so a tick can be driven without one.
#include <array>
#include <atomic>
#include <cstdint>

#include "config/BinUsedTable.h"
#include "config/ConfigRecord.h"
#include "detect/DetectionState.h"
#include "dsp/PeakSearch.h"
#include "dsp/Spectrum.h"

// The tick listens to the bins of the peak search, kFirstPeakBin to
// kLastPeakBin; lower bins never change their hit counters.

// The tick's period, and the window timer's.
inline constexpr unsigned kTickPeriodMs = 100;
inline constexpr double kTickPeriodSeconds = kTickPeriodMs / 1000.0;
// In the Noisy mode a level must lie above this to be heard: more than 0.1 V
// RMS in the bin.
inline constexpr double kNoisyHearingThresholdDb = -20.0;

// The environment modes, as the window's radio pair and the tick know them.
inline constexpr std::int32_t kNoisyEnvironment = 0;
inline constexpr std::int32_t kQuietEnvironment = 1;

using FunctionCountTable = std::array<std::int32_t, kFunctionCount + 1>;

// What the tick asks of the window it runs in. A host whose operations do
// nothing gives the bare decisions.
class DetectionHost {
 public:
  // Controls into members: reads the environment mode and the counts back.
  // A refusal is not examined.
  virtual void SaveControls() = 0;
  // Members into controls, then what is invalid is painted at once.
  virtual void LoadControlsAndUpdate() = 0;
  // Handles at most one waiting message of the window thread; never waits.
  virtual void PumpOneMessage() = 0;

 protected:
  ~DetectionHost() = default;
};

// The window's members that the tick reads and writes. Counts are indexed by
// function number 1 to 8.
struct DetectionMembers {
  std::int32_t& environmentMode;  // 0 Noisy, anything else Quiet
  FunctionCountTable& functionCounts;
  std::int32_t& peakBinShown;
  std::int32_t& topBinCount;
};

// What the tick reads and never changes. The peak bin is read afresh at every
// bin, as the worker may publish a new one during a scan.
struct DetectionInputs {
  const LevelSpectrum& levels;
  const std::atomic<std::int32_t>& peakBin;
  const BinUsedFlags& binUsed;
  const ConfigRecord& record;
};

// The memory kept from one tick to the next (the process keeps it in
// BinHitCounters and decayPhase).
struct DetectionMemory {
  BinHitCounterTable& binHitCounters;
  std::int32_t& decayPhase;
};

class ToneDetector {
 public:
  ToneDetector(DetectionHost& host, DetectionMembers members, DetectionInputs inputs, DetectionMemory memory)
      : host_(host), members_(members), inputs_(inputs), memory_(memory) {}

  // One tick from the copy of the controls to the copy back into them: scans
  // bins 15 to 64, counts and decays, and shows the peak bin and the largest
  // hit counter. Returns the function (1 to 8) whose count was completed, or 0.
  int DetectionTick();

  // Advances every function with the bin among its trigger bins; a count that
  // reaches its required count starts again from 0. Returns the
  // highest-numbered function that reached its count in this call, or 0.
  int CountFunctionHit(int bin);

  // One decay request: every second one lowers each function count by 1, never
  // below 0.
  void DecayFunctionCounts();

 private:
  bool IsHeard(int bin, bool noisyBinHeard) const;
  std::uint32_t LargestHitCount() const;

  DetectionHost& host_;
  DetectionMembers members_;
  DetectionInputs inputs_;
  DetectionMemory memory_;
};
