#pragma once
// The acquisition worker's frames over a recording, as the module would have
// delivered them: cycle i starts at i · (ADC frame + the worker's pause) after
// the scan's start, reads 128 conversions at the module's sample rate, and its
// spectrum is published when the frame ends.
#include "dsp/AcquisitionWorker.h"
#include "dsp/Spectrum.h"
#include "sim/RecordingStream.h"

// The worker sleeps this long between cycles.
inline constexpr double kWorkerPauseSeconds = std::chrono::duration<double>(kPauseBetweenCycles).count();

class ModuleFrames {
 public:
  // The frames from startSeconds whose whole frame lies by endSeconds, and
  // within the recording.
  ModuleFrames(tqxsim::RecordingStream& recording, double startSeconds, double endSeconds);

  int CycleCount() const { return cycleCount_; }
  // When the worker publishes cycle's spectrum: its frame has ended.
  double PublishedAtSeconds(int cycle) const;
  // The cycle's 128 samples: the recording at the conversion moments, rounded
  // to the ADC's code and converted back to volts as the monitor converts the
  // module's reply. False when the file ends before the frames it announced.
  bool ReadFrame(int cycle, SampleFrame& samples);

 private:
  double CycleStartSeconds(int cycle) const;

  tqxsim::RecordingStream& recording_;
  double startSeconds_;
  int cycleCount_ = 0;
};
