#include "tools/tqxscan/ModuleFrames.h"

#include <algorithm>
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

// The volts the monitor reads for the code the module's ADC makes of volts.
double MonitorVolts(double volts) {
  const unsigned reply = unsigned{tqxsim::AdcModel::CodeForVolts(volts)} << kReplyCodeShift;
  return ConversionVolts(static_cast<std::uint8_t>(reply >> 8), static_cast<std::uint8_t>(reply & 0xFF));
}

}  // namespace

ModuleFrames::ModuleFrames(tqxsim::RecordingStream& recording, double startSeconds, double endSeconds)
    : recording_(recording), startSeconds_(startSeconds) {
  // The module's input loops a recording; a scan reads each moment once, so a
  // frame must end by the recording's last sample.
  const double lastSampleSeconds = static_cast<double>(recording.Frames() - 1) / recording.SampleRateHz();
  const double lastStart = std::min(lastSampleSeconds, endSeconds) - kLastConversionOffsetSeconds;
  if (lastStart >= startSeconds) {
    cycleCount_ = static_cast<int>(std::floor((lastStart - startSeconds) / kCycleSeconds)) + 1;
  }
}

double ModuleFrames::CycleStartSeconds(int cycle) const { return startSeconds_ + cycle * kCycleSeconds; }

double ModuleFrames::PublishedAtSeconds(int cycle) const { return CycleStartSeconds(cycle) + tqxsim::kAdcFrameSeconds; }

bool ModuleFrames::ReadFrame(int cycle, SampleFrame& samples) {
  const double start = CycleStartSeconds(cycle);
  const double rateHz = recording_.SampleRateHz();
  for (int k = 0; k < kFrameSampleCount; ++k) {
    const std::optional<double> volts = recording_.VoltsAt((start + k * kConversionSeconds) * rateHz);
    if (!volts) return false;
    samples[k] = MonitorVolts(*volts);
  }
  return true;
}
