// Two threads on the one device, as the acquisition worker and the window
// thread use it: their exchanges never overlap and never interleave.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <thread>

#include "DeviceFixture.h"
#include "device/AdcFrame.h"
#include "device/DacFrame.h"

using namespace std::chrono_literals;

namespace {

TEST(BusLock, TwoThreadsNeverHoldTheBusAtOnce) {
  BusBusy.store(0);
  int counter = 0;  // plain memory: only the bus orders the two threads' updates
  std::atomic<int> holders{0};
  std::atomic<int> overlaps{0};
  auto hammer = [&] {
    for (int i = 0; i < 200; ++i) {
      AcquireBus();
      if (holders.fetch_add(1) != 0) ++overlaps;
      ++counter;
      holders.fetch_sub(1);
      ReleaseBus();
    }
  };
  std::thread first(hammer);
  std::thread second(hammer);
  first.join();
  second.join();
  EXPECT_EQ(counter, 400);
  EXPECT_EQ(overlaps.load(), 0);
  EXPECT_EQ(BusBusy.load(), 0);
}

// Replies as the module gives them: 256 bytes for an ADC frame (every
// conversion code 4095), four acknowledge bytes for an expander write.
std::vector<std::uint8_t> ModuleReply(const std::vector<std::uint8_t>& written) {
  if (written.size() == kAdcFrameBytes) {
    std::vector<std::uint8_t> reply;
    for (std::size_t k = 0; k < kConversionsPerFrame; ++k) reply.insert(reply.end(), {0x7F, 0xF8});
    return reply;
  }
  if (written.size() == 411) return {0x00, 0x00, 0x00, 0x00};
  return {};
}

using SharedDevice = DeviceTest;

TEST_F(SharedDevice, WorkerFramesAndWindowFramesNeverInterleave) {
  device.replyTo = ModuleReply;
  device.exchangeTime = 200us;
  constexpr int kCycles = 40;
  const double fullScale = ConversionVolts(0x7F, 0xF8);
  std::atomic<int> mixedReplies{0};

  std::thread worker([&] {
    std::array<double, kConversionsPerFrame> samples{};
    for (int cycle = 0; cycle < kCycles; ++cycle) {
      samples.fill(0.0);
      ReadSampleFrame(table, samples);
      for (double volts : samples) {
        if (volts != fullScale) {
          ++mixedReplies;
          break;
        }
      }
    }
  });
  for (int i = 0; i < kCycles / 4; ++i) {
    DriveExpanderLine(table, ExpanderLine::K1, LineAction::Toggle);
    WriteAnalogChannel(table, 1, 2.5f);
  }
  worker.join();

  EXPECT_EQ(mixedReplies.load(), 0);
  EXPECT_EQ(device.overlappingExchanges, 0);
  EXPECT_EQ(device.exchangesWithoutBus, 0);
  EXPECT_TRUE(messages.Texts().empty());
  // Each ADC frame's write is followed by its own read before anything else
  // goes out.
  const auto exchanges = device.Exchanges();
  for (std::size_t i = 0; i < exchanges.size(); ++i) {
    if (!exchanges[i].isWrite || exchanges[i].length != kAdcFrameBytes) continue;
    ASSERT_LT(i + 1, exchanges.size());
    EXPECT_FALSE(exchanges[i + 1].isWrite) << "exchange " << i;
    EXPECT_EQ(exchanges[i + 1].thread, exchanges[i].thread) << "exchange " << i;
  }
}

}  // namespace
