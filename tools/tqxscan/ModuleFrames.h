#pragma once
// The acquisition worker's frames over a recording, as the module would have
// delivered them: cycle i starts at i · (ADC frame + the worker's pause), reads
// 128 conversions at the module's sample rate, and its spectrum is published
// when the frame ends.
#include <memory>

#include "dsp/AcquisitionWorker.h"
#include "dsp/Spectrum.h"
#include "sim/SignalSource.h"
#include "tools/tqxscan/RecordingFile.h"

// The worker sleeps this long between cycles.
inline constexpr double kWorkerPauseSeconds = std::chrono::duration<double>(kPauseBetweenCycles).count();

class ModuleFrames {
 public:
  explicit ModuleFrames(const ScanRecording& recording);

  // The cycles whose whole frame lies within the recording.
  int CycleCount() const { return cycleCount_; }
  // When the worker publishes cycle's spectrum: its frame has ended.
  static double PublishedAtSeconds(int cycle);
  // The cycle's 128 samples: the recording resampled at the conversion
  // moments, rounded to the ADC's code and converted back to volts as the
  // monitor converts the module's reply.
  void ReadFrame(int cycle, SampleFrame& samples);

 private:
  std::unique_ptr<tqxsim::SignalSource> input_;
  int cycleCount_ = 0;
};
