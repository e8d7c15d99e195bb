#pragma once
// The monitor's two threads over a recording, in recording time: the worker's
// cycles publish spectra at its cadence, and every 100 ms the tick reads the
// latest one, as the window's timer does. Each tick's outcome is handed on as
// it comes, so a scan keeps nothing of the recording behind it.
#include <cstdint>
#include <functional>
#include <limits>

#include "config/ConfigRecord.h"
#include "sim/RecordingStream.h"
#include "tools/tqxscan/OfflineMonitor.h"

// The stretch of the recording scanned, in seconds from its start.
struct ScanWindow {
  double fromSeconds = 0.0;
  double toSeconds = std::numeric_limits<double>::infinity();
};

// One outcome per tick, the first 100 ms after the window's start, the last
// at or before its end (or the recording's). Returns true when the file ended
// before the frames it announced, and the scan stopped there.
bool RunScan(tqxsim::RecordingStream& recording, const ConfigRecord& record, std::int32_t environmentMode,
             ScanWindow window, const std::function<void(const TickOutcome&)>& onTick);
