// Two threads on one module: what the receive queue shows while another
// thread's frame runs, and frames that interleave because nobody holds the bus.
#include <gmock/gmock.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

#include "support/HandBuiltFrames.h"
#include "ModuleAtTheBus.h"
#include "sim/ModelledTiming.h"

using Clock = std::chrono::steady_clock;

namespace {

constexpr std::uint8_t kIdle = 0xFB;

using ModuleThreads = ModuleAtTheBus;

// Two reply bytes per conversion, each conversion one modelled period long;
// `roundUp` picks the bound on either side of a conversion under way.
int ReplyBytesAfter(Clock::duration elapsed, bool roundUp) {
  const double conversions = std::chrono::duration<double>(elapsed).count() /
                             tqxsim::TicksToSeconds(tqxsim::kConversionPeriodTicks);
  const double whole = roundUp ? std::ceil(conversions) + 1 : std::floor(conversions) - 1;
  return 2 * std::clamp(static_cast<int>(whole), 0, tqxsim::kAdcFrameConversions);
}

TEST_F(ModuleThreads, RepliesBecomeReadableOnlyAsTheModelledClockReachesThem) {
  sim.SetConstantInput(2.5);
  const auto beforeWrite = Clock::now();
  std::thread writer([&] { Send(AdcFrameBytes(kIdle)); });
  while (sim.WriteCount() == 0) std::this_thread::yield();
  const auto written = Clock::now();
  std::this_thread::sleep_until(written + std::chrono::milliseconds(15));
  const auto askedFrom = Clock::now();
  const auto halfway = static_cast<int>(QueuedBytes());
  const auto askedTo = Clock::now();
  writer.join();
  // The frame started somewhere between beforeWrite and written; a loaded
  // machine may stretch those moments, so the bounds come from them and not
  // from the 15 ms asked for.
  EXPECT_GE(halfway, ReplyBytesAfter(askedFrom - written, false));
  EXPECT_LE(halfway, ReplyBytesAfter(askedTo - beforeWrite, true));
  if (askedTo - beforeWrite < std::chrono::duration<double>(tqxsim::kAdcFrameSeconds)) {
    EXPECT_LT(halfway, 256) << "the reply cannot be whole before its frame has run";
  }
  EXPECT_EQ(QueuedBytes(), 256u);
}

TEST_F(ModuleThreads, AReadWaitsForAnotherThreadsFrameAndWakesWhenItsBytesAreThere) {
  // A time-out far beyond the frame: a read that slept until it ran out
  // stands apart from one woken by the bytes even on a loaded machine.
  ASSERT_EQ(driver.setTimeouts(handle, 2000, 2000), kDriverOk);
  const auto start = Clock::now();
  std::thread writer([&] { Send(AdcFrameBytes(kIdle)); });
  const std::vector<std::uint8_t> reply = Receive(256);
  const double waitedSeconds = std::chrono::duration<double>(Clock::now() - start).count();
  writer.join();
  EXPECT_EQ(reply.size(), 256u);
  EXPECT_GE(waitedSeconds, tqxsim::kAdcFrameSeconds - 0.001);
  EXPECT_LT(waitedSeconds, 1.0);
}

TEST_F(ModuleThreads, AFrameWrittenWhileAnotherThreadsReplyIsQueuedCountsAsInterleaved) {
  Send(AdcFrameBytes(kIdle));  // its reply stays queued, as if its reader had not come yet
  std::thread intruder([&] { Send(DacFrameBytes(0x30, 100)); });
  intruder.join();
  EXPECT_EQ(sim.InterleavedWriteCount(), 1u);
  EXPECT_TRUE(
      SaidLine("sim: write 2 went out while another thread's reply was still queued: interleaved transactions"));

  Receive(256);
  std::thread polite([&] { Send(DacFrameBytes(0x30, 200)); });
  polite.join();
  EXPECT_EQ(sim.InterleavedWriteCount(), 1u) << "an empty queue leaves nothing to mix with";
}

TEST_F(ModuleThreads, UnpluggingEndsAReadThatIsWaiting) {
  ASSERT_EQ(driver.setTimeouts(handle, 0, 0), kDriverOk);  // no time-out: only the unplug can end it
  std::thread unplugger([&] { sim.UnplugAfter(20); });
  std::uint8_t byte = 0;
  std::uint32_t got = 0;
  EXPECT_NE(driver.read(handle, &byte, 1, &got), kDriverOk);
  unplugger.join();
}

}  // namespace
