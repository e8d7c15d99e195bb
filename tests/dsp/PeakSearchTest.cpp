#include <gtest/gtest.h>

#include "dsp/AcquisitionWorker.h"
#include "dsp/PeakSearch.h"

namespace {

LevelSpectrum SilenceWith(std::initializer_list<std::pair<int, double>> loudBins) {
  LevelSpectrum levels = SilentLevels();
  for (auto [bin, level] : loudBins) levels[bin - 1] = level;
  return levels;
}

TEST(PeakSearch, AnAllFloorSpectrumGivesTheFirstSearchedBin) { EXPECT_EQ(FindPeakBin(SilentLevels()), 15); }

TEST(PeakSearch, EqualLevelsGoToTheLowestBin) {
  EXPECT_EQ(FindPeakBin(SilenceWith({{20, -10.0}, {40, -10.0}})), 20);
  EXPECT_EQ(FindPeakBin(SilenceWith({{40, -10.0}, {63, -10.0}, {41, -10.5}})), 40);
}

TEST(PeakSearch, TheStrongestBinWinsAtEitherEndOfTheRange) {
  EXPECT_EQ(FindPeakBin(SilenceWith({{15, -3.0}, {16, -3.1}})), 15);
  EXPECT_EQ(FindPeakBin(SilenceWith({{63, -3.1}, {64, -3.0}})), 64);
}

TEST(PeakSearch, BinsBelow15AndTheHalfRateIndexNeverWin) {
  LevelSpectrum levels = SilenceWith({{30, -50.0}});
  for (int bin = 1; bin <= 14; ++bin) levels[bin - 1] = 10.0;
  levels[64] = 20.0;
  EXPECT_EQ(FindPeakBin(levels), 30);
}

TEST(PeakSearch, NothingHasRunBeforeTheWorkerStarts) { EXPECT_EQ(PeakBin.load(), 0); }

}  // namespace
