#pragma once
// What the module's analog input carries, as a function of time (seconds since
// the source was chosen). The ADC asks for the voltage at the modelled moment
// of each conversion.
#include <functional>
#include <memory>
#include <vector>

#include "sim/RecordingReader.h"

namespace tqxsim {

class SignalSource {
 public:
  virtual ~SignalSource() = default;
  virtual double VoltsAt(double seconds) = 0;
};

// One step of a tone programme: a sine of frequencyHz and peak amplitudeVolts
// for seconds; an amplitude of 0 is silence.
struct ToneStep {
  double seconds;
  double frequencyHz;
  double amplitudeVolts;
};

std::unique_ptr<SignalSource> ConstantSignal(double volts);
std::unique_ptr<SignalSource> ToneSignal(double frequencyHz, double amplitudeVolts, double biasVolts);
std::unique_ptr<SignalSource> FunctionSignal(std::function<double(double seconds)> volts);
// The steps one after the other on biasVolts, then from the start again, with
// Gaussian noise of noiseVoltsRms added (0 for none).
std::unique_ptr<SignalSource> ToneProgrammeSignal(std::vector<ToneStep> steps, double biasVolts, double noiseVoltsRms);
// A recording streamed from its file (sim/RecordingStream.h), looped.
std::unique_ptr<SignalSource> RecordingSignal(std::unique_ptr<RecordingReader> reader);
// The built-in demo programme (sim/DemoProgramme.h).
std::unique_ptr<SignalSource> DemoSignal();

}  // namespace tqxsim
