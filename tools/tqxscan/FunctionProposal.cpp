#include "tools/tqxscan/FunctionProposal.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <map>
#include <ostream>

#include "detect/ToneDetector.h"
#include "tools/tqxscan/ReportText.h"

namespace {

constexpr std::int32_t kCountOutOfReach = std::numeric_limits<std::int32_t>::max();

// A fire this long after a tone's end still belongs to it: the tick that
// completes a count reads a frame up to a cycle old.
constexpr double kFireAfterToneSeconds = 0.25;

// Design note: a count that rises by r over an occurrence fires a required
// count of c floor(r / c) times, so once when c <= r < 2c; of the counts that
// do so for the smallest and the largest rise an occurrence had, the one with
// most room both ways, so that a tone a tick shorter or longer on air still
// fires once.
std::int32_t CountFiringOnce(int smallestRise, int largestRise) {
  std::int32_t best = smallestRise;
  int bestRoom = -1;
  for (int count = 1; count <= smallestRise; ++count) {
    if (largestRise >= 2 * count) continue;
    const int room = std::min(smallestRise - count, 2 * count - 1 - largestRise);
    if (room > bestRoom) {
      bestRoom = room;
      best = count;
    }
  }
  return std::max(best, 1);
}

std::string ToneName(const ToneFindings& findings, const std::vector<int>& distinct) {
  std::string name;
  for (const int tone : distinct) name += Formatted("%s%.1f", name.empty() ? "" : "/", findings.distinct[tone].frequencyHz);
  return name + " Hz";
}

}  // namespace

FunctionProposal ProposeFunctions(const ToneFindings& findings, std::int32_t environmentMode) {
  const bool noisy = environmentMode == kNoisyEnvironment;
  FunctionProposal proposal;
  struct Group {
    std::vector<int> distinct;
    int occurrences = 0;
  };
  std::map<std::vector<std::int32_t>, Group> byBins;
  std::vector<std::vector<std::int32_t>> order;  // groups as first found
  const auto binsOf = [&findings](int distinct) {
    std::vector<std::int32_t> bins = ListenedBins(findings.distinct[distinct].bins);
    std::sort(bins.begin(), bins.end());
    return bins;
  };
  for (std::size_t i = 0; i < findings.distinct.size(); ++i) {
    const std::vector<std::int32_t> bins = binsOf(static_cast<int>(i));
    const bool anyHeard = std::any_of(findings.tones.begin(), findings.tones.end(), [&](const FoundTone& tone) {
      return tone.distinct == static_cast<int>(i) && (noisy ? tone.noisyHears : tone.quietHears);
    });
    if (bins.empty() || !anyHeard) continue;
    auto [group, added] = byBins.try_emplace(bins);
    if (added) order.push_back(bins);
    group->second.distinct.push_back(static_cast<int>(i));
    group->second.occurrences += findings.distinct[i].occurrences;
  }
  std::stable_sort(order.begin(), order.end(), [&byBins](const auto& a, const auto& b) {
    return byBins.at(a).occurrences > byBins.at(b).occurrences;
  });

  int function = 0;
  for (const std::vector<std::int32_t>& key : order) {
    const Group& group = byBins.at(key);
    if (function == kFunctionCount) {
      proposal.leftOut.insert(proposal.leftOut.end(), group.distinct.begin(), group.distinct.end());
      continue;
    }
    ++function;
    // Strongest first, as the first tone of the group landed.
    const std::vector<std::int32_t> bins = ListenedBins(findings.distinct[group.distinct.front()].bins);
    FunctionInts* fields[] = {&proposal.record.triggerBin1, &proposal.record.triggerBin2, &proposal.record.triggerBin3};
    for (std::size_t b = 0; b < bins.size() && b < std::size(fields); ++b) (*fields[b])[function] = bins[b];
    proposal.record.requiredCount[function] = kCountOutOfReach;
    StoreFunctionName(proposal.record, function, ToneName(findings, group.distinct).substr(0, kNameMaxChars));
    proposal.own[function] = group.distinct;
  }
  return proposal;
}

CountRise::CountRise(const ToneFindings& findings, const OwnTones& own)
    : findings_(findings),
      functionOf_(findings.distinct.size(), 0),
      before_(findings.tones.size(), 0),
      highest_(findings.tones.size(), 0) {
  for (int function = 1; function <= kFunctionCount; ++function) {
    for (const int distinct : own[function]) functionOf_[distinct] = function;
  }
}

void CountRise::Add(const TickOutcome& tick) {
  const std::vector<FoundTone>& tones = findings_.tones;
  for (; next_ < tones.size() && tones[next_].startSeconds <= tick.seconds; ++next_) {
    before_[next_] = highest_[next_] = last_[functionOf_[tones[next_].distinct]];
    open_.push_back(next_);
  }
  std::erase_if(open_, [&](std::size_t tone) {
    highest_[tone] = std::max(highest_[tone], tick.counts[functionOf_[tones[tone].distinct]]);
    return tick.seconds > tones[tone].endSeconds + kFireAfterToneSeconds;
  });
  last_ = tick.counts;
}

void ChooseRequiredCounts(FunctionProposal& proposal, const CountRise& rise) {
  for (int function = 1; function <= kFunctionCount; ++function) {
    int smallest = std::numeric_limits<int>::max(), largest = 0;
    for (std::size_t tone = 0; tone < rise.findings_.tones.size(); ++tone) {
      if (rise.functionOf_[rise.findings_.tones[tone].distinct] != function) continue;
      const int risen = rise.highest_[tone] - rise.before_[tone];
      if (risen <= 0) continue;
      smallest = std::min(smallest, risen);
      largest = std::max(largest, risen);
    }
    if (largest > 0) proposal.record.requiredCount[function] = CountFiringOnce(smallest, largest);
  }
}

OwnTones OwnTonesOf(const ConfigRecord& record, const ToneFindings& findings) {
  OwnTones own;
  for (int function = 1; function <= kFunctionCount; ++function) {
    const std::vector<std::int32_t> triggers = TriggerBins(record, function);
    for (std::size_t i = 0; i < findings.distinct.size(); ++i) {
      const std::vector<std::int32_t> bins = ListenedBins(findings.distinct[i].bins);
      if (std::any_of(bins.begin(), bins.end(), [&](std::int32_t bin) {
            return std::find(triggers.begin(), triggers.end(), bin) != triggers.end();
          })) {
        own[function].push_back(static_cast<int>(i));
      }
    }
  }
  return own;
}

void PrintProposal(std::ostream& out, const FunctionProposal& proposal, const ToneFindings& findings,
                   const std::string& path) {
  int made = 0;
  for (int function = 1; function <= kFunctionCount; ++function) made += proposal.own[function].empty() ? 0 : 1;
  out << "\nfunctions written to " << path << Formatted(": %d, no actions enabled yet\n", made);
  for (int function = 1; function <= made; ++function) {
    std::string bins;
    for (const std::int32_t bin : TriggerBins(proposal.record, function)) bins += Formatted(" %d", bin);
    int occurrences = 0;
    for (const int tone : proposal.own[function]) occurrences += findings.distinct[tone].occurrences;
    out << Formatted("  function %d %s, bins%s, required count %d (%d occurrence%s)\n", function,
                     Quoted(FunctionNameText(proposal.record, function)).c_str(), bins.c_str(),
                     proposal.record.requiredCount[function], occurrences, occurrences == 1 ? "" : "s");
  }
  if (made == 0) out << "  none: no tone found is heard in the bins the monitor listens to\n";
  for (const int tone : proposal.leftOut) {
    out << Formatted("  left out (eight functions at most): %.1f Hz, %d occurrence%s\n",
                     findings.distinct[tone].frequencyHz, findings.distinct[tone].occurrences,
                     findings.distinct[tone].occurrences == 1 ? "" : "s");
  }
}

ReplayCheck::ReplayCheck(const ToneFindings& findings, const ConfigRecord& record, OwnTones own)
    : findings_(findings), record_(record), own_(std::move(own)), firesInTone_(findings.tones.size(), 0) {
  for (const FoundTone& tone : findings.tones) {
    longestToneSeconds_ = std::max(longestToneSeconds_, tone.endSeconds - tone.startSeconds);
  }
}

void ReplayCheck::Add(const TickOutcome& tick, std::ostream& warnings) {
  const int function = tick.firedFunction;
  if (function == 0) return;
  ++fires_[function];
  const std::vector<int>& own = own_[function];
  const FoundTone* during = nullptr;
  // Tones by start: only those begun by the fire, and not long before it, can
  // hold it.
  const auto begun = std::upper_bound(findings_.tones.begin(), findings_.tones.end(), tick.seconds,
                                      [](double seconds, const FoundTone& tone) { return seconds < tone.startSeconds; });
  const auto recent = std::lower_bound(findings_.tones.begin(), begun,
                                       tick.seconds - longestToneSeconds_ - kFireAfterToneSeconds,
                                       [](const FoundTone& tone, double seconds) { return tone.startSeconds < seconds; });
  for (auto tone = recent; tone != begun; ++tone) {
    if (tick.seconds > tone->endSeconds + kFireAfterToneSeconds) continue;
    if (std::find(own.begin(), own.end(), tone->distinct) != own.end()) {
      ++firesInTone_[static_cast<std::size_t>(tone - findings_.tones.begin())];
      return;
    }
    during = &*tone;
  }
  ++outside_[function];
  if (!warned_) warnings << "\nfires outside their tones\n";
  warned_ = true;
  warnings << Formatted("  warning: %.1f s  function %d %s fired outside its tone", tick.seconds, function,
                        Quoted(FunctionNameText(record_, function)).c_str());
  if (during != nullptr) {
    warnings << Formatted(", during the %.1f Hz tone from %.1f s\n", during->frequencyHz, during->startSeconds);
  } else {
    warnings << ", where no tone was found (speech, noise or a gap)\n";
  }
}

void ReplayCheck::PrintSummary(std::ostream& out, std::int32_t environmentMode) const {
  out << "\nreplay in the " << (environmentMode == kNoisyEnvironment ? "Noisy" : "Quiet") << " mode\n";
  for (int function = 1; function <= kFunctionCount; ++function) {
    if (TriggerBins(record_, function).empty()) continue;
    int occurrences = 0, once = 0, never = 0;
    for (std::size_t i = 0; i < findings_.tones.size(); ++i) {
      const std::vector<int>& own = own_[function];
      if (std::find(own.begin(), own.end(), findings_.tones[i].distinct) == own.end()) continue;
      ++occurrences;
      once += firesInTone_[i] == 1 ? 1 : 0;
      never += firesInTone_[i] == 0 ? 1 : 0;
    }
    std::string verdict;
    if (occurrences == 0) {
      verdict = "none of its tones was found";
    } else if (once == occurrences && outside_[function] == 0) {
      verdict = "once per occurrence";
    } else {
      verdict = Formatted("not once per occurrence: once in %d, never in %d, more often in %d", once, never,
                          occurrences - once - never);
      if (outside_[function] > 0) verdict += Formatted(", %lld outside", static_cast<long long>(outside_[function]));
    }
    out << Formatted("  function %d %s: fired %lld time%s, %d occurrence%s of its tone: %s\n", function,
                     Quoted(FunctionNameText(record_, function)).c_str(), static_cast<long long>(fires_[function]),
                     fires_[function] == 1 ? "" : "s", occurrences, occurrences == 1 ? "" : "s", verdict.c_str());
  }
}
