#pragma once
// The soak's account of everything the window thread sent to the simulated
// module. Each function of the soak sends the same shape when it runs: four
// expander frames for its line, one DAC frame for analog channel 1 with a code
// that no other function and no manual command uses, four expander frames for
// its relay. The ledger reads the module's record often enough to miss no
// frame, finds each function's DAC frame and checks that its own eight
// expander frames stand directly around it. It keeps only the frames such a
// check still needs, so that its own memory does not grow with the run.
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "sim/SimControl.h"

class FrameLedger {
 public:
  explicit FrameLedger(const tqxsim::SimControl& module);

  // From now on a channel-1 DAC frame with this code is function `function`
  // running (an edit adds a new code; the old one stays valid).
  void ExpectFunctionCode(std::int32_t code, int function);
  // Frames a manual command sent: expander frames and DAC frames by hand.
  void CountManualFrames(int expanderFrames, int dacFrames);

  // Takes in the frames written since the last look. Call at least every
  // couple of seconds: the module keeps only its most recent frames.
  void Poll();
  // Checks all frames taken in; returns the problems found (none when sound).
  std::vector<std::string> Check() const;

  std::uint64_t SampleFrames() const { return sampleFrames_; }
  int FunctionsFired() const;
  const std::map<int, int>& FiredPerFunction() const { return fired_; }

 private:
  struct WindowFrame {
    std::uint64_t number;
    std::uint64_t index;  // among the window frames taken in
    bool isDac;
    int function;  // the function whose DAC frame this is, or 0
  };

  std::uint64_t WindowFramesTaken() const { return static_cast<std::uint64_t>(expanderFrames_ + dacFrames_); }
  void TakeWindowFrame(const WindowFrame& frame);
  void ReportBrokenRun(const WindowFrame& frame, std::vector<std::string>& problems) const;

  const tqxsim::SimControl& module_;
  std::uint64_t lastNumber_;
  std::uint64_t sampleFrames_ = 0;
  std::deque<WindowFrame> around_;  // the latest window frames, a run's width at most
  std::map<std::int32_t, int> functionOfCode_;
  std::map<int, int> fired_;
  int expanderFrames_ = 0;
  int dacFrames_ = 0;
  int manualExpanderFrames_ = 0;
  int manualDacFrames_ = 0;
  std::vector<std::string> problems_;
};
