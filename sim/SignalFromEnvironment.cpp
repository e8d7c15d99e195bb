#include "sim/SignalFromEnvironment.h"

#include <cstdlib>

#include "sim/DemoProgramme.h"
#include "sim/InputBias.h"
#include "sim/ToneScript.h"

namespace tqxsim {

namespace {

// A recording of several channels plays its first, as a mono cable would take it.
constexpr int kRecordingChannel = 1;

ChosenSignal Silence(std::string description) { return {ConstantSignal(kInputBiasVolts), std::move(description)}; }

ChosenSignal Unusable(std::string_view setting, const std::string& why) {
  return Silence(std::string(kSignalVariable) + "=" + std::string(setting) + " cannot be used (" + why +
                 "); the input stays at 2.5 V");
}

std::string DemoDescription() {
  std::string bins;
  for (const int bin : DemoToneBins()) bins += (bins.empty() ? "" : ", ") + std::to_string(bin);
  return "demo programme (tones at bins " + bins + ", looping every " +
         std::to_string(static_cast<int>(DemoProgrammeSeconds())) + " s)";
}

}  // namespace

ChosenSignal SignalFromSetting(std::string_view setting) {
  const std::size_t colon = setting.find(':');
  const std::string_view kind = setting.substr(0, colon);
  const std::string_view argument = colon == std::string_view::npos ? "" : setting.substr(colon + 1);

  if (setting.empty() || setting == "demo") return {DemoSignal(), DemoDescription()};
  if (setting == "silence") return Silence("silence (2.5 V)");
  if (kind == "constant") {
    const std::optional<double> volts = ParseNumber(argument);
    if (!volts) return Unusable(setting, "expected constant:VOLTS");
    return {ConstantSignal(*volts), "constant " + std::string(argument) + " V"};
  }
  if (kind == "tone") {
    const std::size_t split = argument.find(':');
    const std::optional<double> frequency = ParseFrequency(argument.substr(0, split));
    const std::optional<double> amplitude =
        split == std::string_view::npos ? std::nullopt : ParseNumber(argument.substr(split + 1));
    if (!frequency || !amplitude) return Unusable(setting, "expected tone:FREQUENCY:AMPLITUDE");
    return {ToneSignal(*frequency, *amplitude, kInputBiasVolts), "tone " + std::string(argument)};
  }
  if (kind == "script") {
    ToneScript script = ReadToneScript(std::string(argument));
    if (!script.error.empty()) return Unusable(setting, script.error);
    return {ToneProgrammeSignal(std::move(script.steps), kInputBiasVolts, 0.0),
            "tone script " + std::string(argument)};
  }
  if (kind == "wav") {
    OpenedRecording recording = OpenRecording(std::string(argument), kRecordingChannel);
    if (!recording.reader) return Unusable(setting, recording.error);
    return {RecordingSignal(std::move(recording.reader)), "recording " + std::string(argument)};
  }
  return Unusable(setting, "expected demo, silence, constant:, tone:, script: or wav:");
}

ChosenSignal SignalFromEnvironment() {
  const char* setting = std::getenv(kSignalVariable);
  return SignalFromSetting(setting == nullptr ? "" : setting);
}

namespace {

bool SetToOne(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && std::string_view(value) == "1";
}

}  // namespace

bool QuietFromEnvironment() { return SetToOne(kQuietVariable); }

bool StrictAcknowledgeFromEnvironment() { return SetToOne(kStrictAcknowledgeVariable); }

}  // namespace tqxsim
