#include "tools/tqxscan/OfflineMonitor.h"

OfflineMonitor::OfflineMonitor(const ConfigRecord& record, std::int32_t environmentMode)
    : tick_(*this, record, environmentMode) {}

TickOutcome OfflineMonitor::Tick(double seconds, const LevelSpectrum& levels, std::int32_t peakBin) {
  tick_.levels = levels;
  tick_.peakBin.store(peakBin);
  const BinHitCounterTable before = tick_.binHitCounters;

  TickOutcome outcome;
  outcome.seconds = seconds;
  outcome.firedFunction = tick_.detector.DetectionTick();
  outcome.counts = tick_.functionCounts;
  // The tick raises the hit counter of the bin it hears and of no other, so
  // the heard bin is read from the counters rather than decided a second time.
  for (int bin = kFirstPeakBin; bin <= kLastPeakBin; ++bin) {
    if (tick_.binHitCounters[bin - 1] > before[bin - 1]) {
      outcome.heardBin = bin;
      outcome.heardLevelDb = levels[bin - 1];
      break;
    }
  }
  return outcome;
}
