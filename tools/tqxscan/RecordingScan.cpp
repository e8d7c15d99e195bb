#include "tools/tqxscan/RecordingScan.h"

#include <algorithm>

#include "detect/ToneDetector.h"
#include "dsp/PeakSearch.h"

namespace {

// Whole milliseconds, divided once, give each tick's moment exactly.
constexpr double kMillisecondsPerSecond = 1000.0;
// The worker sets its peak bin to 1 when it starts; no tick hears that bin.
constexpr std::int32_t kPeakBinBeforeFirstCycle = 1;

}  // namespace

// Design note: the worker's first frame and the tick timer start together at
// the window's start. In the monitor their phase is whatever start-up makes
// it; a fixed one keeps a scan repeatable, and moves a tick's view of the
// recording by less than one cycle (about 42 ms).
ModuleTicks::ModuleTicks(tqxsim::RecordingStream& recording, ScanWindow window)
    : window_(window),
      endSeconds_(std::min(window.toSeconds, recording.Seconds())),
      frames_(recording, window.fromSeconds, endSeconds_),
      peakBin_(kPeakBinBeforeFirstCycle) {}

bool ModuleTicks::Next() {
  ++tick_;
  seconds_ = window_.fromSeconds + static_cast<double>(tick_ * kTickPeriodMs) / kMillisecondsPerSecond;
  if (seconds_ > endSeconds_) return false;
  while (publishedCycles_ < frames_.CycleCount() && frames_.PublishedAtSeconds(publishedCycles_) <= seconds_) {
    ++publishedCycles_;
  }
  return true;
}

// Only the latest cycle published by now matters: the cycles do not depend on
// each other, and the tick reads nothing but the last publication.
bool ModuleTicks::Read() {
  if (publishedCycles_ == transformedCycles_) return true;
  if (!frames_.ReadFrame(publishedCycles_ - 1, spectrum_.samples)) return false;
  ComputeSpectrum(spectrum_);
  peakBin_ = FindPeakBin(spectrum_.levels);
  transformedCycles_ = publishedCycles_;
  return true;
}

bool RunScan(tqxsim::RecordingStream& recording, const ConfigRecord& record, std::int32_t environmentMode,
             ScanWindow window, const std::function<void(const TickOutcome&)>& onTick) {
  ModuleTicks ticks(recording, window);
  OfflineMonitor monitor(record, environmentMode);
  while (ticks.Next()) {
    if (!ticks.Read()) return true;
    onTick(monitor.Tick(ticks.Seconds(), ticks.Levels(), ticks.PeakBin()));
  }
  return false;
}
