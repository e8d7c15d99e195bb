#include "FrameLedger.h"

#include "device/AdcFrame.h"
#include "device/DacFrame.h"
#include "device/ExpanderFrames.h"

namespace {

constexpr int kExpanderFramesPerLineDrive = 4;  // three configuration writes, one output write
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
      frames_.push_back({frame.number, true, frame.bytes[kDacChannelAt], code});
    } else if (frame.bytes.size() == kExpanderWriteFrameBytes) {
      frames_.push_back({frame.number, false, 0, 0});
    } else {
      problems_.push_back("frame " + std::to_string(frame.number) + " of " + std::to_string(frame.bytes.size()) +
                          " bytes is none of the monitor's frames");
    }
  }
}

std::map<int, int> FrameLedger::FiredPerFunction() const {
  std::map<int, int> fired;
  for (const WindowFrame& frame : frames_) {
    if (!frame.isDac || frame.dacChannel != kChannel1Byte) continue;
    if (const auto known = functionOfCode_.find(frame.dacCode); known != functionOfCode_.end()) ++fired[known->second];
  }
  return fired;
}

int FrameLedger::FunctionsFired() const {
  int total = 0;
  for (const auto& [function, count] : FiredPerFunction()) total += count;
  return total;
}

std::vector<std::string> FrameLedger::Check() const {
  std::vector<std::string> problems = problems_;
  int expanderFrames = 0;
  int dacFrames = 0;
  for (std::size_t i = 0; i < frames_.size(); ++i) {
    const WindowFrame& frame = frames_[i];
    frame.isDac ? ++dacFrames : ++expanderFrames;
    if (!frame.isDac || frame.dacChannel != kChannel1Byte || !functionOfCode_.contains(frame.dacCode)) continue;
    const int function = functionOfCode_.at(frame.dacCode);
    // The line's frames directly before, the relay's directly after.
    bool whole = i >= kExpanderFramesPerLineDrive && i + kExpanderFramesPerLineDrive < frames_.size();
    for (int k = 1; whole && k <= kExpanderFramesPerLineDrive; ++k) {
      whole = !frames_[i - k].isDac && !frames_[i + k].isDac;
    }
    if (!whole) {
      problems.push_back("function " + std::to_string(function) + "'s run around frame " +
                         std::to_string(frame.number) + " is not line, analog, relay in order");
    }
  }
  // Every window frame is a function's or a manual command's: nothing extra,
  // nothing lost.
  const int fired = FunctionsFired();
  const int expectedExpander = fired * 2 * kExpanderFramesPerLineDrive + manualExpanderFrames_;
  const int expectedDac = fired + manualDacFrames_;
  if (expanderFrames != expectedExpander || dacFrames != expectedDac) {
    problems.push_back("window frames: " + std::to_string(expanderFrames) + " expander and " +
                       std::to_string(dacFrames) + " DAC; expected " + std::to_string(expectedExpander) + " and " +
                       std::to_string(expectedDac));
  }
  return problems;
}
