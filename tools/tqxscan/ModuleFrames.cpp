#include "tools/tqxscan/ModuleFrames.h"

#include <cmath>
#include <cstdint>

#include "device/AdcFrame.h"
#include "sim/AdcModel.h"
#include "sim/ModelledTiming.h"

namespace {

constexpr double kCycleSeconds = tqxsim::kAdcFrameSeconds + kWorkerPauseSeconds;
constexpr double kConversionSeconds = 1.0 / tqxsim::kModelledSampleRateHz;
constexpr double kLastConversionOffsetSeconds = (kFrameSampleCount - 1) * kConversionSeconds;
// The ADC shifts its 12-bit code out left-aligned in 16 bits (sim/AdcModel.h).
constexpr unsigned kReplyCodeShift = 3;

double CycleStartSeconds(int cycle) { return cycle * kCycleSeconds; }

// The volts the monitor reads for the code the module's ADC makes of volts.
double MonitorVolts(double volts) {
  const unsigned reply = unsigned{tqxsim::AdcModel::CodeForVolts(volts)} << kReplyCodeShift;
  return ConversionVolts(static_cast<std::uint8_t>(reply >> 8), static_cast<std::uint8_t>(reply & 0xFF));
}

}  // namespace

ModuleFrames::ModuleFrames(const ScanRecording& recording)
    : input_(tqxsim::RecordingSignal(recording.volts, recording.sampleRateHz)) {
  if (recording.volts.empty() || !(recording.sampleRateHz > 0.0)) return;
  // The module's input loops a recording; a scan reads each moment once, so a
  // frame must end by the recording's last sample.
  const double lastSampleSeconds = static_cast<double>(recording.volts.size() - 1) / recording.sampleRateHz;
  const double lastStart = lastSampleSeconds - kLastConversionOffsetSeconds;
  if (lastStart >= 0.0) cycleCount_ = static_cast<int>(std::floor(lastStart / kCycleSeconds)) + 1;
}

double ModuleFrames::PublishedAtSeconds(int cycle) { return CycleStartSeconds(cycle) + tqxsim::kAdcFrameSeconds; }

void ModuleFrames::ReadFrame(int cycle, SampleFrame& samples) {
  const double start = CycleStartSeconds(cycle);
  for (int k = 0; k < kFrameSampleCount; ++k) {
    samples[k] = MonitorVolts(input_->VoltsAt(start + k * kConversionSeconds));
  }
}
