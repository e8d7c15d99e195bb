#pragma once
// Tone script files for the analog input (TQXSIM_SIGNAL=script:PATH). One step
// per line, played one after the other on a 2.5 V bias and then from the start
// again:
//
//   # seconds   frequency   amplitude (volts, peak)
//   3           b20         0.5        a tone centred on bin 20
//   2           0           0          silence
//   1.5         1000        0.3        1000 Hz
//
// A frequency is in hertz, or "b" and a bin number for the frequency bin n is
// centred on at the modelled sample rate. "#" starts a comment; blank lines
// are skipped.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/SignalSource.h"

namespace tqxsim {

struct ToneScript {
  std::vector<ToneStep> steps;
  std::string error;  // empty when the whole script was read
};

ToneScript ParseToneScript(std::string_view text);
ToneScript ReadToneScript(const std::string& path);

// "1000" (hertz) or "b20" (bin 20's centre frequency).
std::optional<double> ParseFrequency(std::string_view text);
std::optional<double> ParseNumber(std::string_view text);

}  // namespace tqxsim
