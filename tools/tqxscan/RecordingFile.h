#pragma once
// A WAV recording for the scan, read as the simulated module reads one (full
// scale onto 0 to 5 V around 2.5 V), with a message a user can act on when the
// file will not do.
#include <string>
#include <vector>

struct ScanRecording {
  std::vector<double> volts;
  double sampleRateHz = 0.0;
  std::string error;  // empty when the recording can be scanned

  double Seconds() const { return sampleRateHz > 0.0 ? static_cast<double>(volts.size()) / sampleRateHz : 0.0; }
};

ScanRecording LoadRecording(const std::string& path);
