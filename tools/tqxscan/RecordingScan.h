#pragma once
// The monitor's two threads over a recording, in recording time: the worker's
// cycles publish spectra at its cadence, and every 100 ms the tick reads the
// latest one, as the window's timer does.
#include <cstdint>
#include <vector>

#include "config/ConfigRecord.h"
#include "tools/tqxscan/OfflineMonitor.h"
#include "tools/tqxscan/RecordingFile.h"

// One outcome per tick, the first at 100 ms, the last at or before the
// recording's end. Empty when the recording is shorter than one tick.
std::vector<TickOutcome> RunScan(const ScanRecording& recording, const ConfigRecord& record,
                                 std::int32_t environmentMode);
