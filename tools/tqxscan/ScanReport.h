#pragma once
// What a scan prints: a header naming the recording and the mode, the
// timeline (one row per tick, and one line for each function fired), and a
// summary per function.
#include <cstdint>
#include <iosfwd>
#include <span>
#include <string>

#include "config/ConfigRecord.h"
#include "tools/tqxscan/OfflineMonitor.h"
#include "tools/tqxscan/RecordingFile.h"

void PrintScanHeader(std::ostream& out, const std::string& recordingPath, const ScanRecording& recording,
                     const std::string& dataFilePath, std::int32_t environmentMode);

void PrintTimeline(std::ostream& out, std::span<const TickOutcome> ticks, const ConfigRecord& record);

void PrintSummary(std::ostream& out, std::span<const TickOutcome> ticks, const ConfigRecord& record);
