#pragma once
// The analog input the module powers on with, chosen by the simulator's own
// environment variable (the monitor itself has no options):
//
//   TQXSIM_SIGNAL=demo               the built-in demo programme (also when unset)
//   TQXSIM_SIGNAL=silence            a steady 2.5 V
//   TQXSIM_SIGNAL=constant:VOLTS     a steady voltage
//   TQXSIM_SIGNAL=tone:FREQ:AMP      a tone on 2.5 V; FREQ in hertz or b and a bin ("tone:b30:0.5")
//   TQXSIM_SIGNAL=script:PATH        a tone script (sim/ToneScript.h), looped
//   TQXSIM_SIGNAL=wav:PATH           a recording (WAV, FLAC, Ogg, MP3...), its first channel, looped
//
// A value that cannot be used is reported and leaves the input silent.
#include <memory>
#include <string>
#include <string_view>

#include "sim/SignalSource.h"

namespace tqxsim {

inline constexpr const char* kSignalVariable = "TQXSIM_SIGNAL";
inline constexpr const char* kQuietVariable = "TQXSIM_QUIET";  // set to 1: no report lines on stderr
// Set to 1: the expander sends nothing after a byte the host declines.
inline constexpr const char* kStrictAcknowledgeVariable = "TQXSIM_STRICT_ACK";

struct ChosenSignal {
  std::unique_ptr<SignalSource> source;
  std::string description;  // for the module's report: "demo programme (...)", or what went wrong
};

ChosenSignal SignalFromSetting(std::string_view setting);
ChosenSignal SignalFromEnvironment();
bool QuietFromEnvironment();
bool StrictAcknowledgeFromEnvironment();

}  // namespace tqxsim
