#include "dsp/PeakSearch.h"

namespace {
// Lower than any level, so the first bin searched always takes the lead.
constexpr double kSearchStartDb = -100.0;
}  // namespace

int FindPeakBin(const LevelSpectrum& levels) {
  int peakBin = 0;
  double best = kSearchStartDb;
  for (int bin = kFirstPeakBin; bin <= kLastPeakBin; ++bin) {
    // Strictly greater: an equal level later on does not take the lead.
    if (levels[bin - 1] > best) {
      best = levels[bin - 1];
      peakBin = bin;
    }
  }
  return peakBin;
}
