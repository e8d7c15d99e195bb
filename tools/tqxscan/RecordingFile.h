#pragma once
// A recording for the scan, opened on one channel, with a message a user can
// act on when the file will not do.
#include <memory>
#include <string>

#include "sim/RecordingReader.h"

struct ScanRecording {
  std::unique_ptr<tqxsim::RecordingReader> reader;
  int channel = 1;
  std::string error;  // empty when the recording can be scanned
};

// channel counts from 1.
ScanRecording OpenScanRecording(const std::string& path, int channel);
