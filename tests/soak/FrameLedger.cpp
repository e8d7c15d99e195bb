#include "FrameLedger.h"

#include "device/AdcFrame.h"
#include "device/DacFrame.h"
#include "device/ExpanderFrames.h"

namespace {

constexpr std::size_t kExpanderFramesPerLineDrive = 4;  // three configuration writes, one output write
constexpr std::uint8_t kChannel1Byte = 0x30;
constexpr std::size_t kDacChannelAt = 6;  // after the select and the clock command

}  // namespace

FrameLedger::FrameLedger(const tqxsim::SimControl& module) : module_(module), lastNumber_(module.WriteCount()) {}

void FrameLedger::ExpectFunctionCode(std::int32_t code, int function) { functionOfCode_[code] = function; }

void FrameLedger::CountManualFrames(int expanderFrames, int dacFrames) {
  manualExpanderFrames_ += expanderFrames;
  manualDacFrames_ += dacFrames;
}

void FrameLedger::Poll() {
  const std::vector<tqxsim::RecordedFrame> recent = module_.RecentFrames();
  if (!recent.empty() && recent.front().number > lastNumber_ + 1) {
    problems_.push_back("the module's record overran: frames " + std::to_string(lastNumber_ + 1) + " to " +
                        std::to_string(recent.front().number - 1) + " were not seen");
  }
  for (const tqxsim::RecordedFrame& frame : recent) {
    if (frame.number <= lastNumber_) continue;
    lastNumber_ = frame.number;
    if (!frame.accepted) continue;
    if (frame.bytes.size() == kAdcFrameBytes) {
      ++sampleFrames_;
    } else if (frame.bytes.size() == kDacFrameBytes) {
      const std::int32_t code = (std::int32_t{frame.bytes[kDacChannelAt + 1]} << 4) | (frame.bytes[kDacChannelAt + 2] >> 4);
      const auto known = functionOfCode_.find(code);
      const bool ofAFunction = frame.bytes[kDacChannelAt] == kChannel1Byte && known != functionOfCode_.end();
      TakeWindowFrame({frame.number, WindowFramesTaken(), true, ofAFunction ? known->second : 0});
    } else if (frame.bytes.size() == kExpanderWriteFrameBytes) {
      TakeWindowFrame({frame.number, WindowFramesTaken(), false, 0});
    } else {
      problems_.push_back("frame " + std::to_string(frame.number) + " of " + std::to_string(frame.bytes.size()) +
                          " bytes is none of the monitor's frames");
    }
  }
}

// A function's run is checked once its DAC frame stands in the middle of the
// latest frames: the line's frames directly before it, the relay's directly
// after.
void FrameLedger::TakeWindowFrame(const WindowFrame& frame) {
  frame.isDac ? ++dacFrames_ : ++expanderFrames_;
  if (frame.function != 0) {
    ++fired_[frame.function];
    if (frame.index < kExpanderFramesPerLineDrive) ReportBrokenRun(frame, problems_);
  }
  around_.push_back(frame);
  if (around_.size() > 2 * kExpanderFramesPerLineDrive + 1) around_.pop_front();
  if (around_.size() < 2 * kExpanderFramesPerLineDrive + 1) return;
  const WindowFrame& middle = around_[kExpanderFramesPerLineDrive];
  if (middle.function == 0) return;
  for (const WindowFrame& other : around_) {
    if (&other != &middle && other.isDac) {
      ReportBrokenRun(middle, problems_);
      return;
    }
  }
}

void FrameLedger::ReportBrokenRun(const WindowFrame& frame, std::vector<std::string>& problems) const {
  problems.push_back("function " + std::to_string(frame.function) + "'s run around frame " +
                     std::to_string(frame.number) + " is not line, analog, relay in order");
}

int FrameLedger::FunctionsFired() const {
  int total = 0;
  for (const auto& [function, count] : fired_) total += count;
  return total;
}

std::vector<std::string> FrameLedger::Check() const {
  std::vector<std::string> problems = problems_;
  // A run whose relay frames never all came.
  for (const WindowFrame& frame : around_) {
    if (frame.function != 0 && frame.index >= kExpanderFramesPerLineDrive &&
        frame.index + kExpanderFramesPerLineDrive >= WindowFramesTaken()) {
      ReportBrokenRun(frame, problems);
    }
  }
  // Every window frame is a function's or a manual command's: nothing extra,
  // nothing lost.
  const int fired = FunctionsFired();
  const int expectedExpander = fired * 2 * static_cast<int>(kExpanderFramesPerLineDrive) + manualExpanderFrames_;
  const int expectedDac = fired + manualDacFrames_;
  if (expanderFrames_ != expectedExpander || dacFrames_ != expectedDac) {
    problems.push_back("window frames: " + std::to_string(expanderFrames_) + " expander and " +
                       std::to_string(dacFrames_) + " DAC; expected " + std::to_string(expectedExpander) + " and " +
                       std::to_string(expectedDac));
  }
  return problems;
}
