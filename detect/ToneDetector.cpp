#include "detect/ToneDetector.h"

#include <algorithm>

namespace {

bool FunctionListensTo(const ConfigRecord& record, int function, int bin) {
  return record.triggerBin1[function] == bin || record.triggerBin2[function] == bin ||
         record.triggerBin3[function] == bin;
}

}  // namespace

int ToneDetector::DetectionTick() {
  host_.SaveControls();
  host_.PumpOneMessage();

  bool noisyBinHeard = false;
  bool decayed = false;
  int functionToRun = 0;
  for (int bin = kFirstPeakBin; bin <= kLastPeakBin; ++bin) {
    host_.PumpOneMessage();
    std::uint32_t& hits = memory_.binHitCounters[bin - 1];
    if (IsHeard(bin, noisyBinHeard)) {
      ++hits;
      // A second heard bin (the Quiet mode's peak moving during the scan) takes
      // over only with a function of its own: a count completed earlier in this
      // tick has already been reset and must not lose its action to a 0.
      if (const int completed = CountFunctionHit(bin); completed != 0) functionToRun = completed;
      if (members_.environmentMode == kNoisyEnvironment) noisyBinHeard = true;
    } else if (hits > 0) {
      --hits;
      decayed = true;
    }
  }
  if (decayed) DecayFunctionCounts();

  members_.topBinCount = static_cast<std::int32_t>(LargestHitCount());
  host_.PumpOneMessage();
  members_.peakBinShown = inputs_.peakBin.load();
  host_.LoadControlsAndUpdate();
  return functionToRun;
}

bool ToneDetector::IsHeard(int bin, bool noisyBinHeard) const {
  if (members_.environmentMode != kNoisyEnvironment) return bin == inputs_.peakBin.load();
  return !noisyBinHeard && inputs_.levels[bin - 1] > kNoisyHearingThresholdDb && inputs_.binUsed[bin - 1] != 0;
}

int ToneDetector::CountFunctionHit(int bin) {
  host_.SaveControls();
  // Functions may share a trigger bin. When several reach their counts in one
  // call only one of them can run: the highest-numbered. When only a lower one
  // does, that one runs, so that no completed count passes without its action.
  int completed = 0;
  for (int function = 1; function <= kFunctionCount; ++function) {
    if (!FunctionListensTo(inputs_.record, function, bin)) continue;
    std::int32_t& count = members_.functionCounts[function];
    ++count;
    if (count >= inputs_.record.requiredCount[function]) {
      count = 0;
      completed = function;
    }
  }
  host_.LoadControlsAndUpdate();
  return completed;
}

void ToneDetector::DecayFunctionCounts() {
  host_.SaveControls();
  if (++memory_.decayPhase <= 1) return;
  memory_.decayPhase = 0;
  for (int function = 1; function <= kFunctionCount; ++function) {
    std::int32_t& count = members_.functionCounts[function];
    count = count > 0 ? count - 1 : 0;
  }
  host_.LoadControlsAndUpdate();
}

std::uint32_t ToneDetector::LargestHitCount() const {
  const auto first = memory_.binHitCounters.begin() + (kFirstPeakBin - 1);
  const auto last = memory_.binHitCounters.begin() + kLastPeakBin;
  return *std::max_element(first, last);
}
