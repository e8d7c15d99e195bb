// The frames the monitor's builders (device/) produce: the same bytes as the
// hand-built ones, and understood by the module as meant, also right after an
// ADC frame has left the clock line low. (device/'s own tests take every
// builder through the module; these keep the hand-built frames honest.)
#include <gmock/gmock.h>

#include "support/HandBuiltFrames.h"
#include "ModuleAtTheBus.h"
#include "device/AdcFrame.h"
#include "device/DacFrame.h"
#include "device/ExpanderFrames.h"

namespace {

constexpr std::uint8_t kIdle = 0xFB;
constexpr std::uint8_t kAfterSpiFrame = 0xFA;

template <std::size_t Length>
std::vector<std::uint8_t> Bytes(const CommandFrame<Length>& frame) {
  return {frame.bytes.begin(), frame.bytes.end()};
}

TEST(MonitorFrames, MatchTheHandBuiltFramesFromTheIdleLines) {
  EXPECT_EQ(Bytes(BuildAdcFrame(kIdle)), AdcFrameBytes(kIdle));
  EXPECT_EQ(Bytes(BuildExpanderWriteFrame(kIdle, 0x06, 0xFF, 0xFE)),
            ExpanderWriteFrameBytes(kIdle & 0xDF, 0x06, 0xFF, 0xFE));
  EXPECT_EQ(Bytes(BuildExpanderReadFrame(kIdle, 0x06)), ExpanderReadFrameBytes(kIdle, 0x06));
  EXPECT_EQ(Bytes(BuildDacFrame(kIdle, 1, 4095)), DacFrameBytes(0x30, 4095));
}

using MonitorFramesAtTheBus = ModuleAtTheBus;

TEST_F(MonitorFramesAtTheBus, DrivingP10HighLeavesConfiguration0xFF0xFEAndOutputs0x000x01) {
  Send(Bytes(BuildExpanderWriteFrame(kIdle, 0x00, 0x00, 0x00)));
  // A line drive right after an ADC frame: the clock line starts low.
  Send(Bytes(BuildAdcFrame(kIdle)));
  Receive(256 + 4);
  for (int i = 0; i < 3; ++i) Send(Bytes(BuildExpanderWriteFrame(kAfterSpiFrame, 0x06, 0xFF, 0xFE)));
  Send(Bytes(BuildExpanderWriteFrame(kIdle, 0x00, 0x00, 0x01)));
  EXPECT_THAT(sim.ExpanderRegisters(), ::testing::ElementsAre(0x00, 0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE));
  EXPECT_EQ(sim.IgnoredExpanderTransactionCount(), 0u);

  Receive(QueuedBytes());
  Send(Bytes(BuildExpanderReadFrame(kIdle, 0x06)));
  const std::vector<std::uint8_t> reply = Receive(kExpanderReadReplyBytes);
  ASSERT_EQ(reply.size(), kExpanderReadReplyBytes);
  EXPECT_EQ(reply[kFirstRegisterReplyIndex], 0xFF);
  EXPECT_EQ(reply[kSecondRegisterReplyIndex], 0xFE);
  // Every frame suits the parts; the read's second register needs the expander's leniency.
  EXPECT_EQ(sim.ProtocolErrorCount(), 0u);
  EXPECT_EQ(sim.LenientAcknowledgeCount(), 1u);
}

}  // namespace
