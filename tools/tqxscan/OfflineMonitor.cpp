#include "tools/tqxscan/OfflineMonitor.h"

OfflineMonitor::OfflineMonitor(const ConfigRecord& record, std::int32_t environmentMode)
    : record_(record),
      binUsed_(DeriveBinUsedTable(record)),
      environmentMode_(environmentMode),
      detector_(*this, DetectionMembers{environmentMode_, functionCounts_, peakBinShown_, topBinCount_},
                DetectionInputs{levels_, peakBin_, binUsed_, record_}, DetectionMemory{binHitCounters_, decayPhase_}) {}

TickOutcome OfflineMonitor::Tick(double seconds, const LevelSpectrum& levels, std::int32_t peakBin) {
  levels_ = levels;
  peakBin_.store(peakBin);
  const BinHitCounterTable before = binHitCounters_;

  TickOutcome outcome;
  outcome.seconds = seconds;
  outcome.firedFunction = detector_.DetectionTick();
  outcome.counts = functionCounts_;
  // The tick raises the hit counter of the bin it hears and of no other, so
  // the heard bin is read from the counters rather than decided a second time.
  for (int bin = kFirstPeakBin; bin <= kLastPeakBin; ++bin) {
    if (binHitCounters_[bin - 1] > before[bin - 1]) {
      outcome.heardBin = bin;
      outcome.heardLevelDb = levels[bin - 1];
      break;
    }
  }
  return outcome;
}
