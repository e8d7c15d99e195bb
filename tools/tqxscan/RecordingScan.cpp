#include "tools/tqxscan/RecordingScan.h"

#include <algorithm>

#include "detect/ToneDetector.h"
#include "dsp/PeakSearch.h"
#include "tools/tqxscan/ModuleFrames.h"

namespace {

constexpr double kMillisecondsPerSecond = 1000.0;
// The worker sets its peak bin to 1 when it starts; no tick hears that bin.
constexpr std::int32_t kPeakBinBeforeFirstCycle = 1;

}  // namespace

// Design note: the worker's first frame and the tick timer start together at
// the window's start. In the monitor their phase is whatever start-up makes
// it; a fixed one keeps a scan repeatable, and moves a tick's view of the
// recording by less than one cycle (about 42 ms).
bool RunScan(tqxsim::RecordingStream& recording, const ConfigRecord& record, std::int32_t environmentMode,
             ScanWindow window, const std::function<void(const TickOutcome&)>& onTick) {
  const double endSeconds = std::min(window.toSeconds, recording.Seconds());
  ModuleFrames frames(recording, window.fromSeconds, endSeconds);
  OfflineMonitor monitor(record, environmentMode);
  SpectrumState spectrum;
  std::int32_t peakBin = kPeakBinBeforeFirstCycle;
  int publishedCycles = 0;

  for (std::int64_t tick = 1;; ++tick) {
    const double now = window.fromSeconds + static_cast<double>(tick * kTickPeriodMs) / kMillisecondsPerSecond;
    if (now > endSeconds) break;
    // Only the latest cycle published by now matters: the cycles do not depend
    // on each other, and the tick reads nothing but the last publication.
    int latest = publishedCycles;
    while (latest < frames.CycleCount() && frames.PublishedAtSeconds(latest) <= now) ++latest;
    if (latest > publishedCycles) {
      if (!frames.ReadFrame(latest - 1, spectrum.samples)) return true;
      ComputeSpectrum(spectrum);
      peakBin = FindPeakBin(spectrum.levels);
      publishedCycles = latest;
    }
    onTick(monitor.Tick(now, spectrum.levels, peakBin));
  }
  return false;
}
