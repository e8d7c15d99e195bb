// A receive queue that cannot be emptied before a reading exchange: the reply
// read behind its stale bytes must never be taken for the frame's own.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "device/AdcFrame.h"
#include "device/DeviceFixture.h"
#include "device/ExpanderFrames.h"

namespace {

constexpr DriverStatus kIoError = 4;

class StaleReply : public DeviceTest {
 protected:
  StaleReply() {
    // What a failed read of an earlier frame left behind, and a drain whose
    // first read fails; the frame's own reply would then come back whole.
    device.receiveQueue.assign(3, 0xA5);
    device.readStatuses = {kIoError};
  }
};

TEST_F(StaleReply, ASampleFrameReadBehindAFailedDrainLeavesTheSamplesAsTheyWere) {
  device.replies = {std::vector<std::uint8_t>(kAdcReplyBytes, 0x40)};
  std::array<double, kConversionsPerFrame> samples;
  samples.fill(1.5);

  ReadSampleFrame(table, samples);

  for (double sample : samples) EXPECT_EQ(sample, 1.5);
  EXPECT_EQ(device.Writes().size(), 1u) << "the frame still goes out";
  EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Read Error!"});
  EXPECT_EQ(BusBusy.load(), 0);
}

TEST_F(StaleReply, AnExpanderReadAfterAFailedDrainLeavesTheOutBytesAsTheyWere) {
  device.replies = {std::vector<std::uint8_t>(kExpanderReadReplyBytes, 0x12)};
  std::uint8_t first = 0x77;
  std::uint8_t second = 0x88;

  ReadExpanderPair(table, first, second, kOutputRegister);

  EXPECT_EQ(first, 0x77);
  EXPECT_EQ(second, 0x88);
  EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Read Error!"});
  EXPECT_EQ(BusBusy.load(), 0);
}

}  // namespace
