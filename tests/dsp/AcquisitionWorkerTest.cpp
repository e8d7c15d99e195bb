#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "WorkerOnSimulatedModule.h"
#include "dsp/AcquisitionWorker.h"
#include "dsp/PeakSearch.h"
#include "dsp/PublishedLevels.h"

namespace {

using namespace std::chrono_literals;

bool PeakBinIsFromACycle() { return PeakBin.load() >= kFirstPeakBin; }

TEST_F(WorkerOnSimulatedModule, AToneAtBin30ReachesPeakBinWithinTwoCycles) {
  StartWorker();
  ASSERT_TRUE(WaitFor(PeakBinIsFromACycle));
  EXPECT_EQ(PeakBin.load(), 15) << "a constant input is silence";

  sim.SetBinToneInput(30, 1.0, tqxsim::kInputBiasVolts);
  // The frame in flight when the tone starts still carries the old input; the
  // next one carries the tone, and its cycle ends before a third frame goes out.
  const std::uint64_t writesBeforeTone = sim.WriteCount();
  ASSERT_TRUE(WaitFor([&] { return sim.WriteCount() >= writesBeforeTone + 2; }, 2));
  EXPECT_EQ(PeakBin.load(), 30);
  EXPECT_NEAR(PublishedLevels()[29], -3.0103, 0.05);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(WorkerOnSimulatedModule, StopsWithinOneCycleOfTheFlagClearing) {
  StartWorker();
  ASSERT_TRUE(WaitFor(PeakBinIsFromACycle));

  WorkerRunning.store(0);
  const std::uint64_t writesAtClear = sim.WriteCount();
  ASSERT_EQ(worker.wait_for(Patience()), std::future_status::ready);
  EXPECT_EQ(worker.get(), 0u);
  // The cycle under way completes; at most a frame that was just about to go
  // out when the flag cleared follows it.
  EXPECT_LE(sim.WriteCount() - writesAtClear, 1u);
  EXPECT_TRUE(PeakBinIsFromACycle());
}

// The ticks go on behind the worker's box; they must hear silence, not the
// tone of the last good frame, for as long as the box is open.
TEST_F(WorkerOnSimulatedModule, AFailedFrameIsHeardAsSilenceBeforeItsBoxIsShown) {
  sim.SetBinToneInput(40, 0.5, tqxsim::kInputBiasVolts);
  AcquisitionCycle(table);
  PeakBin.store(CyclePeakBin);
  ASSERT_EQ(CyclePeakBin, 40);
  const auto goodSamples = Spectrum.samples;

  int peakBinWhileShown = -1;
  bool silentWhileShown = false;
  SetMessageBoxHook([&](std::string_view) {
    peakBinWhileShown = PeakBin.load();
    silentWhileShown = PublishedLevels() == SilentLevels();
  });
  sim.SetReadsFail(true);
  AcquisitionCycle(table);
  EXPECT_EQ(peakBinWhileShown, kNoPeakBin);
  EXPECT_TRUE(silentWhileShown);
  EXPECT_EQ(CyclePeakBin, kNoPeakBin);
  EXPECT_EQ(Spectrum.samples, goodSamples) << "the samples stay as they were";

  sim.SetReadsFail(false);
  AcquisitionCycle(table);
  EXPECT_EQ(CyclePeakBin, 40);
}

TEST(AcquisitionWorker, ExitsAtOnceWithoutTouchingTheDeviceWhenTheFlagIsAlreadyClear) {
  // An unbound table: any device call would show "... is not valid!".
  std::vector<std::string> messages;
  SetMessageBoxHook([&](std::string_view text) { messages.emplace_back(text); });
  DriverTable unbound;
  WorkerRunning.store(0);
  PeakBin.store(0);

  EXPECT_EQ(AcquisitionThreadProc(&unbound), 0u);
  EXPECT_EQ(PeakBin.load(), 1);
  EXPECT_TRUE(messages.empty());
  SetMessageBoxHook({});
}

// Cycle c publishes c·100 + k at index k: any snapshot holding entries of two
// cycles, or a half-written one, breaks that pattern.
LevelSpectrum RecognisableSpectrum(int cycle) {
  LevelSpectrum levels{};
  for (int k = 0; k < kLevelCount; ++k) levels[k] = cycle * 100.0 + k;
  return levels;
}

TEST(LevelPublication, AReaderNeverSeesATornOrMixedSpectrum) {
  constexpr int kCycles = 20000;
  LevelPublication publication;
  publication.Publish(RecognisableSpectrum(0));
  std::atomic<bool> writing{true};

  std::thread writer([&] {
    for (int cycle = 1; cycle <= kCycles; ++cycle) publication.Publish(RecognisableSpectrum(cycle));
    writing.store(false);
  });

  int snapshots = 0;
  int badSnapshots = 0;
  double lastCycle = 0.0;
  while (writing.load()) {
    const LevelSpectrum seen = publication.Snapshot();
    const double cycle = seen[0] / 100.0;
    if (seen != RecognisableSpectrum(static_cast<int>(cycle)) || cycle < lastCycle) ++badSnapshots;
    lastCycle = cycle;
    ++snapshots;
  }
  writer.join();

  EXPECT_EQ(badSnapshots, 0) << "of " << snapshots << " snapshots";
  EXPECT_EQ(publication.Snapshot(), RecognisableSpectrum(kCycles));
}

}  // namespace
