#include "tools/tqxscan/ScanReport.h"

#include <cstdio>
#include <ostream>
#include <vector>

#include "detect/ToneDetector.h"
#include "sim/ModelledTiming.h"
#include "tools/tqxscan/ReportText.h"

namespace {

bool Detectable(std::int32_t bin) { return bin >= kFirstPeakBin && bin <= kLastPeakBin; }

std::string FiredLine(const TickOutcome& tick, const ConfigRecord& record) {
  return Formatted("%6.1f s  fired function %d %s (bin %d)\n", tick.seconds, tick.firedFunction,
                   Quoted(FunctionNameText(record, tick.firedFunction)).c_str(), tick.heardBin);
}

std::string FunctionSummary(const FiringTally& tally, const ConfigRecord& record, int function) {
  const std::vector<std::int32_t> bins = TriggerBins(record, function);
  std::string line = Formatted("  function %d", function);
  if (bins.empty()) return line + ": no trigger bins\n";

  // Appended: a literal added in front of a temporary string draws GCC 12's false -Wrestrict.
  line.append(" ").append(Quoted(FunctionNameText(record, function))).append(", bins");
  std::string undetectable;
  for (const std::int32_t bin : bins) {
    line += Formatted(" %d", bin);
    if (!Detectable(bin)) undetectable += Formatted(" %d", bin);
  }
  line += Formatted(", required count %d: ", record.requiredCount[function]);

  const FiringTally::Firings& fired = tally.Of(function);
  if (fired.count == 0) {
    line += "never fired";
  } else {
    line += Formatted("fired %lld time%s, first at %.1f s, last at %.1f s", static_cast<long long>(fired.count),
                      fired.count == 1 ? "" : "s", fired.firstSeconds, fired.lastSeconds);
  }
  if (!undetectable.empty()) {
    line += Formatted(" (never heard:%s; the monitor listens to bins %d to %d)", undetectable.c_str(),
                      kFirstPeakBin, kLastPeakBin);
  }
  return line + "\n";
}

std::string ChannelText(const ScanHeader& header) {
  if (header.channelCount == 1) return "mono";
  return Formatted("channel %d of %d", header.channel, header.channelCount);
}

}  // namespace

void PrintRecordingLine(std::ostream& out, const ScanHeader& header, const tqxsim::RecordingStream& recording) {
  out << "recording  " << header.recordingPath
      << Formatted(": %.2f s, %s, %.0f Hz, read at the module's %.1f Hz\n", recording.Seconds(),
                   ChannelText(header).c_str(), recording.SampleRateHz(), tqxsim::kModelledSampleRateHz);
}

void PrintScanHeader(std::ostream& out, const ScanHeader& header, const tqxsim::RecordingStream& recording) {
  PrintRecordingLine(out, header, recording);
  out << "functions  " << header.dataFilePath << ", ";
  if (header.environmentMode == kNoisyEnvironment) {
    out << Formatted("Noisy mode: a tick hears the lowest used bin above %.0f dB\n", kNoisyHearingThresholdDb);
  } else {
    out << Formatted("Quiet mode: a tick hears the strongest bin from %d to %d\n", kFirstPeakBin,
                     kLastPeakBin);
  }
}

void PrintTimelineHeading(std::ostream& out) {
  out << "\n    time   bin       Hz      dB  ";
  for (int function = 1; function <= kFunctionCount; ++function) out << Formatted("  f%d", function);
  out << "\n";
}

void PrintTimelineRow(std::ostream& out, const TickOutcome& tick, const ConfigRecord& record) {
  if (tick.heardBin == 0) {
    out << Formatted("%6.1f s    --                  ", tick.seconds);
  } else {
    out << Formatted("%6.1f s  %4d  %7.1f  %6.1f  ", tick.seconds, tick.heardBin,
                     tqxsim::BinFrequencyHz(tick.heardBin), tick.heardLevelDb);
  }
  for (int function = 1; function <= kFunctionCount; ++function) out << Formatted(" %3d", tick.counts[function]);
  out << "\n";
  PrintFired(out, tick, record);
}

void PrintFired(std::ostream& out, const TickOutcome& tick, const ConfigRecord& record) {
  if (tick.firedFunction != 0) out << FiredLine(tick, record);
}

void FiringTally::Add(const TickOutcome& tick) {
  if (tick.firedFunction == 0) return;
  Firings& fired = firings_[tick.firedFunction];
  if (fired.count++ == 0) fired.firstSeconds = tick.seconds;
  fired.lastSeconds = tick.seconds;
}

void PrintSummary(std::ostream& out, const FiringTally& tally, const ConfigRecord& record) {
  out << "\nsummary\n";
  for (int function = 1; function <= kFunctionCount; ++function) out << FunctionSummary(tally, record, function);
}
