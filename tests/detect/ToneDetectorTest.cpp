// The tick's decisions on synthetic spectra, without a window: the host only
// counts what the tick asks of it.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "detect/StandaloneDetector.h"

namespace {

constexpr double kLoudDb = -9.0;  // a 0.5 V peak tone
constexpr std::int32_t kQuiet = 1;

class CountingHost final : public DetectionHost {
 public:
  void SaveControls() override { ++saves; }
  void LoadControlsAndUpdate() override { ++loads; }
  void PumpOneMessage() override {
    ++pumps;
    if (onPump) onPump(pumps);
  }

  int saves = 0;
  int loads = 0;
  int pumps = 0;
  std::function<void(int pumpNumber)> onPump;
};

class Detection : public ::testing::Test {
 protected:
  // Function f listens to up to three bins and runs at its required count.
  void Define(int function, std::array<int, 3> bins, int requiredCount) {
    tick.record.triggerBin1[function] = bins[0];
    tick.record.triggerBin2[function] = bins[1];
    tick.record.triggerBin3[function] = bins[2];
    tick.record.requiredCount[function] = requiredCount;
    tick.binUsed = DeriveBinUsedTable(tick.record);
  }

  int Tick() { return tick.detector.DetectionTick(); }

  // Ticks n times and returns function 1's count after each.
  std::vector<std::int32_t> CountsOfFunction1(int ticks, std::vector<int>* ran = nullptr) {
    std::vector<std::int32_t> shown;
    for (int i = 0; i < ticks; ++i) {
      const int function = Tick();
      if (ran != nullptr) ran->push_back(function);
      shown.push_back(tick.functionCounts[1]);
    }
    return shown;
  }

  std::uint32_t& HitsOf(int bin) { return tick.binHitCounters[bin - 1]; }

  CountingHost host;
  StandaloneDetector tick{host, ConfigRecord{}, kNoisyEnvironment};
};

TEST_F(Detection, NoisyModeHearsOnlyTheLowestLoudUsedBin) {
  Define(1, {20, 0, 0}, 5);
  Define(2, {30, 0, 0}, 5);
  tick.levels[19] = kLoudDb;
  tick.levels[29] = kLoudDb;
  HitsOf(30) = 4;

  Tick();

  EXPECT_EQ(HitsOf(20), 1u);
  EXPECT_EQ(HitsOf(30), 3u) << "loud and used, but above the bin already heard";
  EXPECT_EQ(tick.functionCounts[1], 1);
  EXPECT_EQ(tick.functionCounts[2], 0);
  EXPECT_EQ(tick.topBinCount, 3);
}

TEST_F(Detection, NoisyModeNeedsALevelAboveMinus20DbInABinSomeFunctionUses) {
  Define(1, {30, 0, 0}, 5);
  Define(2, {40, 0, 0}, 5);
  tick.levels[19] = kLoudDb;  // bin 20: loud, but no function names it
  tick.levels[29] = -20.0;    // bin 30: used, exactly at the threshold
  tick.levels[39] = -19.99;   // bin 40: used, just above it

  Tick();

  EXPECT_EQ(HitsOf(20), 0u);
  EXPECT_EQ(HitsOf(30), 0u);
  EXPECT_EQ(HitsOf(40), 1u) << "the unheard bins below do not take the tick's one bin";
  EXPECT_EQ(tick.functionCounts[1], 0);
  EXPECT_EQ(tick.functionCounts[2], 1);
}

TEST_F(Detection, QuietModeHearsThePeakBinWhateverItsLevelAndWhetherAnyFunctionUsesIt) {
  tick.environmentMode = kQuiet;
  tick.peakBin = 40;

  EXPECT_EQ(Tick(), 0);
  EXPECT_EQ(Tick(), 0);

  EXPECT_EQ(HitsOf(40), 2u);
  EXPECT_EQ(tick.topBinCount, 2);
  EXPECT_EQ(tick.peakBinShown, 40);
}

TEST_F(Detection, QuietModeHearsNothingBeforeTheWorkersFirstCycle) {
  tick.environmentMode = kQuiet;
  Define(1, {15, 0, 0}, 1);
  for (std::int32_t notYetABin : {0, 1}) {
    tick.peakBin = notYetABin;
    EXPECT_EQ(Tick(), 0);
  }
  EXPECT_EQ(tick.topBinCount, 0);
  EXPECT_EQ(tick.functionCounts[1], 0);
}

TEST_F(Detection, CountsDecayOnEverySecondTickInWhichAHitCounterFallsAndStopWithIt) {
  Define(1, {20, 0, 0}, 5);
  tick.levels[19] = kLoudDb;
  EXPECT_EQ(CountsOfFunction1(3), (std::vector<std::int32_t>{1, 2, 3}));

  tick.levels = SilentLevels();
  EXPECT_EQ(CountsOfFunction1(6), (std::vector<std::int32_t>{3, 2, 2, 2, 2, 2}));
  EXPECT_EQ(HitsOf(20), 0u);
}

TEST_F(Detection, ASteadyToneRunsItsFunctionOnEveryThirdTick) {
  Define(1, {20, 0, 0}, 3);
  tick.levels[19] = kLoudDb;
  std::vector<int> ran;

  EXPECT_EQ(CountsOfFunction1(6, &ran), (std::vector<std::int32_t>{1, 2, 0, 1, 2, 0}));
  EXPECT_EQ(ran, (std::vector<int>{0, 0, 1, 0, 0, 1}));
}

TEST_F(Detection, ARequiredCountOfOneOrLessRunsTheFunctionOnEveryHit) {
  Define(1, {20, 0, 0}, 0);
  tick.levels[19] = kLoudDb;
  std::vector<int> ran;
  EXPECT_EQ(CountsOfFunction1(2, &ran), (std::vector<std::int32_t>{0, 0}));
  EXPECT_EQ(ran, (std::vector<int>{1, 1}));
}

TEST_F(Detection, OfFunctionsSharingABinTheHighestThatCompletesItsCountRuns) {
  Define(1, {20, 0, 0}, 2);
  Define(3, {20, 0, 0}, 3);
  tick.levels[19] = kLoudDb;

  EXPECT_EQ(Tick(), 0);
  EXPECT_EQ(Tick(), 1) << "function 3 has not reached its count: function 1's completion must not pass unrun";
  EXPECT_EQ(tick.functionCounts[1], 0);
  EXPECT_EQ(tick.functionCounts[3], 2);
  EXPECT_EQ(Tick(), 3);
  EXPECT_EQ(tick.functionCounts[3], 0);

  Define(1, {20, 0, 0}, 1);
  tick.functionCounts = {};
  EXPECT_EQ(Tick(), 1);
  EXPECT_EQ(Tick(), 1);
  EXPECT_EQ(Tick(), 3) << "both complete: only the highest-numbered runs, both start again";
  EXPECT_EQ(tick.functionCounts[1], 0);
  EXPECT_EQ(tick.functionCounts[3], 0);
}

TEST_F(Detection, APeakThatMovesDuringTheScanDoesNotTakeTheActionFromACompletedCount) {
  tick.environmentMode = kQuiet;
  Define(1, {20, 0, 0}, 1);
  tick.peakBin = 20;
  // The first pump comes before the scan, then one before each bin from 15.
  host.onPump = [&](int pumpNumber) {
    if (pumpNumber == 1 + (21 - kFirstPeakBin) + 1) tick.peakBin = 40;
  };

  EXPECT_EQ(Tick(), 1);
  EXPECT_EQ(HitsOf(20), 1u);
  EXPECT_EQ(HitsOf(40), 1u);
  EXPECT_EQ(tick.peakBinShown, 40);
}

}  // namespace
