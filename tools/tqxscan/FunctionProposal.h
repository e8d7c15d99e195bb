#pragma once
// Functions made from the tones a recording holds, and the replay that checks
// them against the same recording.
#include <array>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "config/ConfigRecord.h"
#include "detect/ToneDetector.h"
#include "tools/tqxscan/FoundTones.h"
#include "tools/tqxscan/OfflineMonitor.h"

// Function n's own distinct tones at n: the tones whose fires are its own.
using OwnTones = std::array<std::vector<int>, kFunctionCount + 1>;

struct FunctionProposal {
  ConfigRecord record{};
  OwnTones own;
  std::vector<int> leftOut;  // distinct tones that found no function
};

// One function per distinct tone the mode hears, tones landing in the same
// bins sharing one; the most frequent first when there are more than eight.
// Their required counts are out of reach until ChooseRequiredCounts.
FunctionProposal ProposeFunctions(const ToneFindings& findings, std::int32_t environmentMode);

// How far each function's count rises over each occurrence of its tones,
// from a replay with counts out of reach. The rise is the detection's own:
// the other bins' falling hit counters lower it as they do on the monitor.
class CountRise {
 public:
  CountRise(const ToneFindings& findings, const OwnTones& own);
  void Add(const TickOutcome& tick);

 private:
  friend void ChooseRequiredCounts(FunctionProposal& proposal, const CountRise& rise);
  const ToneFindings& findings_;
  std::vector<int> functionOf_;  // per distinct tone, 0 for none
  std::vector<std::int32_t> before_, highest_;  // per tone
  std::size_t next_ = 0;          // the first tone not begun
  std::vector<std::size_t> open_;  // tones under way
  FunctionCountTable last_{};
};

// Each function's count, so that it fires once in every occurrence.
void ChooseRequiredCounts(FunctionProposal& proposal, const CountRise& rise);

// For the functions of a data file the user made: the distinct tones landing
// in a function's trigger bins are its own.
OwnTones OwnTonesOf(const ConfigRecord& record, const ToneFindings& findings);

void PrintProposal(std::ostream& out, const FunctionProposal& proposal, const ToneFindings& findings,
                   const std::string& path);

// The replay's fires, checked against the tones as they come.
class ReplayCheck {
 public:
  ReplayCheck(const ToneFindings& findings, const ConfigRecord& record, OwnTones own);

  // Warns at once of a fire outside the function's own tones.
  void Add(const TickOutcome& tick, std::ostream& warnings);
  void PrintSummary(std::ostream& out, std::int32_t environmentMode) const;

 private:
  const ToneFindings& findings_;
  const ConfigRecord& record_;
  OwnTones own_;
  double longestToneSeconds_ = 0.0;
  std::vector<int> firesInTone_;  // per tone, the fires of functions it belongs to
  std::array<std::int64_t, kFunctionCount + 1> fires_{};
  std::array<std::int64_t, kFunctionCount + 1> outside_{};
  bool warned_ = false;
};
