#pragma once
// What both kinds of run take from the command line, and the recording and
// data file opened from it with a message a user can act on when they will
// not do.
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "config/ConfigFile.h"
#include "config/ConfigRecord.h"
#include "detect/ToneDetector.h"
#include "sim/RecordingStream.h"
#include "tools/tqxscan/RecordingScan.h"

// The tools' exit statuses.
inline constexpr int kDone = 0;
inline constexpr int kFailed = 1;
inline constexpr int kWrongCommandLine = 2;

struct ScanRequest {
  std::int32_t environmentMode = kNoisyEnvironment;
  bool summaryOnly = false;
  int channel = 1;
  ScanWindow window;
  std::string recordingPath;
  std::string dataFilePath = kDataFileName;
  bool dataFileNamed = false;  // FILE was given, not taken by default
  // --tones and what goes with it.
  bool tones = false;
  bool json = false;
  std::string definePath;
  bool force = false;
  std::string plotPath;
};

struct ScanInput {
  std::unique_ptr<tqxsim::RecordingStream> recording;
  int channelCount = 1;
};

// The recording on the chosen channel, refused (with the message on err) when
// it cannot be read or the window holds less than a tick.
std::optional<ScanInput> OpenScanInput(const ScanRequest& request, std::ostream& err);

// The record as the monitor's start-up reads it. A missing file starts the
// monitor with no functions; a scan with none would tell nothing, so here it
// is refused.
std::optional<ConfigRecord> LoadDataFile(const std::string& path, std::ostream& err);
