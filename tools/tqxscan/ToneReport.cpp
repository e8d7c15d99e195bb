#include "tools/tqxscan/ToneReport.h"

#include <algorithm>
#include <ostream>
#include <string>

#include "tools/tqxscan/ReportText.h"

namespace {

// The flags in words, with what each names.
std::string FlagsText(const FoundTone& tone, const ToneFindings& findings) {
  std::string text;
  const auto add = [&text](const std::string& part) { text += (text.empty() ? "" : "; ") + part; };
  if (tone.Has(ToneFlag::BetweenBins)) {
    add(Formatted("between bins %d and %d", std::min(tone.bins[0].bin, tone.bins[1].bin),
                  std::max(tone.bins[0].bin, tone.bins[1].bin)));
  }
  if (tone.Has(ToneFlag::BelowRange)) add("below range: never heard");
  if (tone.Has(ToneFlag::AboveRange)) {
    add(tone.bins.empty() ? Formatted("above range: folds to %.1f Hz", tone.foldsToHz)
                          : Formatted("above range: folds to %.1f Hz, bin %d", tone.foldsToHz, tone.bins[0].bin));
  }
  if (tone.Has(ToneFlag::TooWeakForNoisy)) add("too weak for Noisy");
  if (tone.Has(ToneFlag::Short)) add("short");
  if (tone.Has(ToneFlag::SharesBins)) {
    std::string others;
    for (const int other : findings.distinct[tone.distinct].sharesBinsWith) {
      others += Formatted("%s%.1f Hz", others.empty() ? "" : ", ", findings.distinct[other].frequencyHz);
    }
    add("shares bins with " + others);
  }
  return text;
}

std::string BinsText(const std::vector<ModuleBin>& bins) {
  std::string text;
  for (const ModuleBin& landed : bins) text += Formatted("%s%d %.1f", text.empty() ? "" : ", ", landed.bin, landed.levelDb);
  return text.empty() ? "--" : text;
}

const char* YesNo(bool yes) { return yes ? "yes" : "no"; }

}  // namespace

void PrintToneTable(std::ostream& out, const ToneFindings& findings) {
  if (findings.tones.empty()) {
    out << "no steady tone found (a tone stays within a few Hz for at least 0.3 s)\n";
    return;
  }
  out << "     start        end  frequency     level  bins (dB)                    Noisy  Quiet  flags\n";
  for (const FoundTone& tone : findings.tones) {
    std::string line = Formatted("%8.1f s %8.1f s %8.1f Hz %6.1f dB  %-28s %-5s  %-5s  %s", tone.startSeconds,
                                 tone.endSeconds, tone.frequencyHz, tone.levelDb, BinsText(tone.bins).c_str(),
                                 YesNo(tone.noisyHears), YesNo(tone.quietHears), FlagsText(tone, findings).c_str());
    line.erase(line.find_last_not_of(' ') + 1);
    out << line << "\n";
  }
}

void PrintDistinctTones(std::ostream& out, const ToneFindings& findings) {
  if (findings.distinct.empty()) return;
  out << "\ndistinct tones\n";
  for (std::size_t i = 0; i < findings.distinct.size(); ++i) {
    const DistinctTone& distinct = findings.distinct[i];
    std::string bins;
    for (const ModuleBin& landed : distinct.bins) bins += Formatted(" %d", landed.bin);
    out << Formatted("  %8.1f Hz  %5d time%s  bins%s\n", distinct.frequencyHz, distinct.occurrences,
                     distinct.occurrences == 1 ? " " : "s", bins.empty() ? " --" : bins.c_str());
  }
}

void PrintToneJson(std::ostream& out, const ToneFindings& findings) {
  for (const FoundTone& tone : findings.tones) {
    std::string bins, levels, flags, shares;
    for (const ModuleBin& landed : tone.bins) {
      bins += Formatted("%s%d", bins.empty() ? "" : ",", landed.bin);
      levels += Formatted("%s%.2f", levels.empty() ? "" : ",", landed.levelDb);
    }
    for (const ToneFlag flag : kToneFlags) {
      if (tone.Has(flag)) flags += Formatted("%s\"%s\"", flags.empty() ? "" : ",", ToneFlagName(flag));
    }
    for (const int other : findings.distinct[tone.distinct].sharesBinsWith) {
      shares += Formatted("%s%.2f", shares.empty() ? "" : ",", findings.distinct[other].frequencyHz);
    }
    out << Formatted("{\"start_s\":%.2f,\"end_s\":%.2f,\"frequency_hz\":%.2f,\"level_db\":%.2f,", tone.startSeconds,
                     tone.endSeconds, tone.frequencyHz, tone.levelDb)
        << "\"bins\":[" << bins << "],\"bin_levels_db\":[" << levels << "],"
        << Formatted("\"noisy\":%s,\"quiet\":%s,\"noisy_ticks\":%d,\"quiet_ticks\":%d,\"folds_to_hz\":%.2f,",
                     tone.noisyHears ? "true" : "false", tone.quietHears ? "true" : "false", tone.noisyTicks,
                     tone.quietTicks, tone.foldsToHz)
        << "\"shares_bins_with_hz\":[" << shares << "],\"flags\":[" << flags << "]}\n";
  }
}
