// The port expander, reached through the monitor's expander frames: registers
// set, read back and reported as they change.
#include <gmock/gmock.h>

#include <algorithm>

#include "support/HandBuiltFrames.h"
#include "ModuleAtTheBus.h"

using ::testing::ElementsAre;

namespace {

constexpr std::uint8_t kIdle = 0xFB;           // clock and data high, as set-up and every expander frame leave them
constexpr std::uint8_t kAfterSpiFrame = 0xFA;  // clock low, as an ADC or DAC frame leaves it
constexpr std::uint8_t kBusEnabled = kIdle & 0xDF;
constexpr std::uint8_t kOutputs = 0x00;
constexpr std::uint8_t kConfiguration = 0x06;

class ExpanderAtTheBus : public ModuleAtTheBus {
 protected:
  void WritePair(std::uint8_t registerNumber, std::uint8_t port0, std::uint8_t port1) {
    Send(ExpanderWriteFrameBytes(kBusEnabled, registerNumber, port0, port1));
  }
  std::vector<std::uint8_t> ReadPair(std::uint8_t registerNumber) {
    Receive(QueuedBytes());  // the acknowledges of earlier writes
    Send(ExpanderReadFrameBytes(kIdle, registerNumber));
    return Receive(7);
  }
  std::uint8_t Register(int number) { return sim.ExpanderRegisters()[number]; }
};

TEST_F(ExpanderAtTheBus, PowersOnWithEveryRegisterAt0xFF) {
  for (const std::uint8_t value : sim.ExpanderRegisters()) EXPECT_EQ(value, 0xFF);
}

TEST_F(ExpanderAtTheBus, DrivingP10HighFromOutputsZeroClearsOnlyItsConfigurationBit) {
  WritePair(kOutputs, 0x00, 0x00);
  for (int i = 0; i < 3; ++i) WritePair(kConfiguration, 0xFF, 0xFE);
  WritePair(kOutputs, 0x00, 0x01);
  EXPECT_EQ(Register(6), 0xFF);
  EXPECT_EQ(Register(7), 0xFE);
  EXPECT_EQ(Register(0), 0x00);
  EXPECT_EQ(Register(1), 0x01);
  EXPECT_TRUE(SaidLine("sim: P10 output high"));
  EXPECT_EQ(sim.IgnoredExpanderTransactionCount(), 0u);
}

TEST_F(ExpanderAtTheBus, AcknowledgesEachByteOfAWriteWithALowBit) {
  WritePair(kOutputs, 0x12, 0x34);
  EXPECT_THAT(Receive(4), ElementsAre(0x00, 0x00, 0x00, 0x00));
}

TEST_F(ExpanderAtTheBus, AReadOfPairSixReturnsTheConfigurationAtReplyBytesThreeAndFive) {
  WritePair(kConfiguration, 0x5A, 0xA5);
  const std::vector<std::uint8_t> reply = ReadPair(kConfiguration);
  // Three acknowledges from the expander (low), the two registers, and after
  // each the ninth clock with nobody pulling the data line (high, in bit 0).
  EXPECT_THAT(reply, ElementsAre(0x00, 0x00, 0x00, 0x5A, 0x01, 0xA5, 0x01));
  EXPECT_TRUE(SaidLine("sim: expander read register 6"));
}

TEST_F(ExpanderAtTheBus, AReadThatEndsOnALowBitStillLetsGoOfTheBusForTheStop) {
  WritePair(kOutputs, 0x00, 0x00);
  EXPECT_THAT(ReadPair(kOutputs), ElementsAre(0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01));
  // Had the expander kept the data line low, the read's stop would be lost
  // and this write would not be understood.
  WritePair(kConfiguration, 0x0F, 0xF0);
  EXPECT_EQ(Register(6), 0x0F);
  EXPECT_EQ(Register(7), 0xF0);
}

TEST_F(ExpanderAtTheBus, IgnoresAWriteThatOpensWithTheClockLowAsItHasNoStartCondition) {
  Send(ExpanderWriteFrameBytes(kAfterSpiFrame & 0xDF, kOutputs, 0x00, 0x00));
  EXPECT_EQ(Register(0), 0xFF);
  EXPECT_EQ(Register(1), 0xFF);
  EXPECT_EQ(sim.IgnoredExpanderTransactionCount(), 1u);
  // The same write opened with the clock high is taken.
  Send(ExpanderWriteFrameBytes((kAfterSpiFrame & 0xDF) | 0x01, kOutputs, 0x00, 0x00));
  EXPECT_EQ(Register(0), 0x00);
}

TEST_F(ExpanderAtTheBus, DoesNotAnswerAnotherAddress) {
  FrameBytes frame;
  frame.Divisor(66).Lines(kBusEnabled, kDriveAll, 4).Lines(0xD9, kDriveAll, 4).Lines(0xD8, kDriveAll);
  frame.BytesOut({0x42}).Lines(0xD8, kReleaseData).BitsIn(1);
  frame.BytesOut({0x00}).BytesOut({0x00}).Lines(0xD9, kDriveAll).Lines(0xDB, kDriveAll).Lines(kIdle, kDriveAll);
  Send(frame.bytes);
  EXPECT_THAT(Receive(1), ElementsAre(0x01));
  EXPECT_EQ(Register(0), 0xFF);
  EXPECT_TRUE(SaidLine("sim: expander not addressed (address byte 0x42)"));
}

TEST_F(ExpanderAtTheBus, ReportsAClockFasterThanThePartAndAHostDrivingTheDataLineThroughItsAcknowledge) {
  struct Case {
    std::uint8_t divisor;
    bool drivesThroughAcknowledge;
    std::string report;
  };
  const Case cases[] = {{66, false, ""},
                        {15, false, ""},  // 375 kHz: 1.33 µs low
                        {14, false, "expander clock low for 1.250 µs, shorter than the 1.3 µs a 400 kHz part allows"},
                        {66, true, "host drives the data line while the expander acknowledges"}};
  for (const Case& c : cases) {
    std::vector<std::uint8_t> frame = ExpanderWriteFrameBytes(kBusEnabled, kOutputs, 0x12, 0x34);
    frame[1] = c.divisor;
    if (c.drivesThroughAcknowledge) *std::find(frame.begin(), frame.end(), kReleaseData) = kDriveAll;
    const std::uint64_t errors = sim.ProtocolErrorCount();
    Send(frame);
    EXPECT_EQ(sim.ProtocolErrorCount() - errors, c.report.empty() ? 0u : 1u) << int{c.divisor};
    EXPECT_EQ(sim.ProtocolErrorCount() > errors ? sim.RecentProtocolErrors().back().what : "", c.report);
  }
}

// The monitor's start-up reads pairs 6 and 0; the second register of each
// comes after a byte the read declines.
TEST_F(ExpanderAtTheBus, AStrictPartSendsNothingAfterADeclinedByteSoTheSecondRegisterOfEachPairReads0xFF) {
  WritePair(kConfiguration, 0x0F, 0xF0);
  WritePair(kOutputs, 0x12, 0x34);
  struct Case {
    bool strict;
    std::uint8_t configuration1, outputs1;
    std::uint64_t lenientUses;
  };
  for (const Case& c : {Case{false, 0xF0, 0x34, 2}, Case{true, 0xFF, 0xFF, 0}}) {
    sim.SetStrictAcknowledge(c.strict);
    const std::uint64_t lenientUses = sim.LenientAcknowledgeCount();
    EXPECT_THAT(ReadPair(kConfiguration), ElementsAre(0x00, 0x00, 0x00, 0x0F, 0x01, c.configuration1, 0x01));
    EXPECT_THAT(ReadPair(kOutputs), ElementsAre(0x00, 0x00, 0x00, 0x12, 0x01, c.outputs1, 0x01));
    EXPECT_EQ(sim.LenientAcknowledgeCount() - lenientUses, c.lenientUses) << c.strict;
  }
  EXPECT_TRUE(
      SaidLine("sim: expander sends register 7 although the host declined the byte before it (lenient "
               "acknowledge)"));
  EXPECT_EQ(sim.ProtocolErrorCount(), 0u);
}

TEST_F(ExpanderAtTheBus, ReportsEachLineAndRelayAsItChanges) {
  WritePair(kOutputs, 0x10, 0x00);  // K1's output bit set while every line is still an input
  WritePair(kConfiguration, 0xEF, 0xFE);
  WritePair(kOutputs, 0x00, 0x01);
  WritePair(kConfiguration, 0xFF, 0xFE);
  const std::vector<std::string> messages = sim.RecentMessages();
  EXPECT_THAT(std::vector<std::string>(messages.end() - 5, messages.end()),
              ElementsAre("sim: K1 closed", "sim: P10 output low", "sim: K1 open", "sim: P10 output high",
                          "sim: K1 open (its line is an input)"));
}

}  // namespace
