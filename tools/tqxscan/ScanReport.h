#pragma once
// What a scan prints: a header naming the recording and the mode, the
// timeline (one row per tick, and one line for each function fired), and a
// summary per function. Rows are printed as the ticks come; the summary is
// kept as a tally, so a report of any length holds nothing per tick.
#include <array>
#include <cstdint>
#include <iosfwd>
#include <string>

#include "config/ConfigRecord.h"
#include "sim/RecordingStream.h"
#include "tools/tqxscan/OfflineMonitor.h"

struct ScanHeader {
  std::string recordingPath;
  int channel = 1;
  int channelCount = 1;
  std::string dataFilePath;
  std::int32_t environmentMode = 0;
};

// The recording's line of the header alone.
void PrintRecordingLine(std::ostream& out, const ScanHeader& header, const tqxsim::RecordingStream& recording);
void PrintScanHeader(std::ostream& out, const ScanHeader& header, const tqxsim::RecordingStream& recording);

void PrintTimelineHeading(std::ostream& out);
void PrintTimelineRow(std::ostream& out, const TickOutcome& tick, const ConfigRecord& record);
// The line a fired function gets, in the timeline and alone.
void PrintFired(std::ostream& out, const TickOutcome& tick, const ConfigRecord& record);

// How often, and first and last when, each function fired.
class FiringTally {
 public:
  void Add(const TickOutcome& tick);

  struct Firings {
    std::int64_t count = 0;
    double firstSeconds = 0.0;
    double lastSeconds = 0.0;
  };
  const Firings& Of(int function) const { return firings_[function]; }

 private:
  std::array<Firings, kFunctionCount + 1> firings_{};  // function n at n
};

void PrintSummary(std::ostream& out, const FiringTally& tally, const ConfigRecord& record);
