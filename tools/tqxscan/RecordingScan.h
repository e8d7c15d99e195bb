#pragma once
// The monitor's two threads over a recording, in recording time: the worker's
// cycles publish spectra at its cadence, and every 100 ms the tick reads the
// latest one, as the window's timer does. Each tick's outcome is handed on as
// it comes, so a scan keeps nothing of the recording behind it.
#include <cstdint>
#include <functional>
#include <limits>

#include "config/ConfigRecord.h"
#include "dsp/Spectrum.h"
#include "sim/RecordingStream.h"
#include "tools/tqxscan/ModuleFrames.h"
#include "tools/tqxscan/OfflineMonitor.h"

// The stretch of the recording scanned, in seconds from its start.
struct ScanWindow {
  double fromSeconds = 0.0;
  double toSeconds = std::numeric_limits<double>::infinity();
};

// The ticks over the window, the first 100 ms after its start, the last at or
// before its end (or the recording's), each with the spectrum the worker last
// published by then. A tick that needs no spectrum skips its transform.
class ModuleTicks {
 public:
  ModuleTicks(tqxsim::RecordingStream& recording, ScanWindow window);

  // Moves on to the next tick; false past the last.
  bool Next();
  double Seconds() const { return seconds_; }
  // Brings the levels and the peak bin up to this tick. False when the file
  // ended before the frames it announced.
  bool Read();
  const LevelSpectrum& Levels() const { return spectrum_.levels; }
  std::int32_t PeakBin() const { return peakBin_; }

 private:
  ScanWindow window_;
  double endSeconds_;
  ModuleFrames frames_;
  SpectrumState spectrum_;
  std::int32_t peakBin_;
  std::int64_t tick_ = 0;
  double seconds_ = 0.0;
  int publishedCycles_ = 0;
  int transformedCycles_ = 0;
};

// One outcome per tick, the first 100 ms after the window's start, the last
// at or before its end (or the recording's). Returns true when the file ended
// before the frames it announced, and the scan stopped there.
bool RunScan(tqxsim::RecordingStream& recording, const ConfigRecord& record, std::int32_t environmentMode,
             ScanWindow window, const std::function<void(const TickOutcome&)>& onTick);
