// A function's actions on the simulated module: the frames it sends, in
// order, and what the expander and the DAC hold afterwards.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "config/FunctionFields.h"
#include "detect/FunctionActions.h"
#include "device/SimulatedModuleFixture.h"  // the device tests' fixture, from tests/

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Indices of ExpanderRegisters().

constexpr std::size_t kDacFrameLength = 12;
constexpr std::uint8_t kClockOneByteOut[] = {0x11, 0x00, 0x00};

std::string Hex(std::uint8_t value) {
  char text[5];
  std::snprintf(text, sizeof text, "0x%02X", value);
  return text;
}

// One frame as the chip it went to sees it: "dac <channel byte> <code>", or
// "config <port 0> <port 1>" / "outputs <port 0> <port 1>" for an expander
// write, read from the bytes each one-byte clock-out command carries.
std::string Describe(const tqxsim::RecordedFrame& frame) {
  const std::vector<std::uint8_t>& bytes = frame.bytes;
  if (bytes.size() == kDacFrameLength) {
    return "dac " + Hex(bytes[6]) + " " + std::to_string((bytes[7] << 4) | (bytes[8] >> 4));
  }
  std::vector<std::uint8_t> clockedOut;
  for (std::size_t i = 0; i + 3 < bytes.size(); ++i) {
    if (std::equal(std::begin(kClockOneByteOut), std::end(kClockOneByteOut), bytes.begin() + i)) {
      clockedOut.push_back(bytes[i + 3]);
      i += 3;
    }
  }
  if (clockedOut.size() != 4) return "unknown frame of " + std::to_string(bytes.size()) + " bytes";
  const std::string registers = clockedOut[1] == kConfigurationRegister ? "config " : "outputs ";
  return registers + Hex(clockedOut[2]) + " " + Hex(clockedOut[3]);
}

class FunctionActions : public SimulatedModuleTest {
 protected:
  void SetUp() override {
    SimulatedModuleTest::SetUp();
    sentBefore_ = sim.WriteCount();
  }

  void Run(int function) { RunFunction(table, record, function, closeBegun); }

  // The frames sent since the test began, described.
  std::vector<std::string> Sent() const {
    std::vector<std::string> described;
    for (const tqxsim::RecordedFrame& frame : sim.RecentFrames()) {
      if (frame.number > sentBefore_) described.push_back(Describe(frame));
    }
    return described;
  }

  std::uint8_t Register(int index) const { return sim.ExpanderRegisters()[index]; }

  ConfigRecord record{};
  bool closeBegun = false;

 private:
  std::uint64_t sentBefore_ = 0;
};

TEST_F(FunctionActions, AFullRunSendsTheLineTheChannelsAndK1ToK4InThatOrder) {
  // P11 toggled; K1 closed, K2 opened, K3 toggled, K4 closed.
  FunctionFields(record, 2).Line(5, 2).Analog(1, 2.5f).Analog(2, 5.0f).Relay(1, 0).Relay(2, 1).Relay(3, 2).Relay(4, 0);

  Run(2);

  // The shadows start at the expander's power-on state: every line an input
  // and high.
  std::vector<std::string> expected;
  const auto drive = [&](const std::string& configuration, const std::string& outputs) {
    expected.insert(expected.end(), 3, "config " + configuration);
    expected.push_back("outputs " + outputs);
  };
  drive("0xFF 0xFD", "0xFF 0xFD");  // P11 toggled low
  expected.push_back("dac 0x30 2047");
  expected.push_back("dac 0x31 4095");
  drive("0xEF 0xFD", "0xFF 0xFD");  // K1 closed: it was high already
  drive("0xCF 0xFD", "0xDF 0xFD");  // K2 opened
  drive("0x8F 0xFD", "0x9F 0xFD");  // K3 toggled
  drive("0x0F 0xFD", "0x9F 0xFD");  // K4 closed
  ASSERT_EQ(expected.size(), 22u);
  EXPECT_EQ(Sent(), expected);

  EXPECT_EQ(Register(tqxsim::kConfiguration0), 0x0F);
  EXPECT_EQ(Register(tqxsim::kConfiguration1), 0xFD);
  EXPECT_EQ(Register(tqxsim::kOutputs0), 0x9F);
  EXPECT_EQ(Register(tqxsim::kOutputs1), 0xFD);
  EXPECT_EQ(sim.AnalogChannel(1).code, 2047);
  EXPECT_EQ(sim.AnalogChannel(2).code, 4095);
  EXPECT_THAT(messages.Texts(), IsEmpty());
}

TEST_F(FunctionActions, ToggleRunTwiceLeavesTheLineWhereItWasAndAnOutput) {
  record.lineEnabled[1] = 1;
  record.lineSelect[1] = 5;
  record.lineAction[1] = 2;

  Run(1);
  EXPECT_EQ(Register(tqxsim::kOutputs1), 0xFD);
  Run(1);

  EXPECT_EQ(Register(tqxsim::kOutputs1), 0xFF);
  EXPECT_EQ(Register(tqxsim::kConfiguration1), 0xFD);
  EXPECT_EQ(Register(tqxsim::kConfiguration0), 0xFF) << "port 0 is sent unchanged";
  EXPECT_EQ(Register(tqxsim::kOutputs0), 0xFF);
  EXPECT_EQ(Sent().size(), 8u);
}

TEST_F(FunctionActions, OnlyAnEnableOfExactlyOneWithAValidSelectionAndActionSendsAnything) {
  const auto enableAllWith = [&](std::int32_t enable) {
    record.lineEnabled[1] = record.analog1Enabled[1] = record.analog2Enabled[1] = enable;
    record.relay1Enabled[1] = record.relay2Enabled[1] = record.relay3Enabled[1] = record.relay4Enabled[1] = enable;
  };
  record.analog1Volts[1] = record.analog2Volts[1] = 1.0f;
  for (std::int32_t off : {0, 2, -1}) {
    enableAllWith(off);
    Run(1);
  }

  enableAllWith(1);
  record.analog1Enabled[1] = record.analog2Enabled[1] = 0;
  for (std::int32_t select : {-1, 12}) {
    record.lineSelect[1] = select;
    record.relay1Action[1] = record.relay2Action[1] = record.relay3Action[1] = record.relay4Action[1] = -1;
    Run(1);
  }
  record.lineSelect[1] = 0;
  for (std::int32_t action : {-1, 3}) {
    record.lineAction[1] = action;
    record.relay1Action[1] = record.relay2Action[1] = record.relay3Action[1] = record.relay4Action[1] = action;
    Run(1);
  }
  record.lineAction[1] = 0;
  Run(0);
  Run(9);

  EXPECT_THAT(Sent(), IsEmpty());
  EXPECT_THAT(messages.Texts(), IsEmpty());
}

TEST_F(FunctionActions, AFailingChannelOneWriteStopsNeitherChannelTwoNorTheRelays) {
  FunctionFields(record, 1).Analog(1, 1.0f).Analog(2, 2.0f).Relay(1, 0);
  sim.SetWritesFail(true);
  messages.WhileOpen([&](std::string_view) { sim.SetWritesFail(false); });

  Run(1);

  EXPECT_THAT(messages.Texts(), ElementsAre("Error writing to DAC. 5"));
  EXPECT_EQ(sim.AnalogChannel(1).channelByte, 0) << "channel 1 never reached the DAC";
  EXPECT_EQ(sim.AnalogChannel(2).code, 1638);
  EXPECT_EQ(Register(tqxsim::kOutputs0) & 0x10, 0x10);
  EXPECT_EQ(Register(tqxsim::kConfiguration0) & 0x10, 0x00);
}

TEST_F(FunctionActions, StoredVoltsTheOutputsCannotDeliverAreHeldBackAndTheRestRuns) {
  record.analog1Enabled[1] = 1;
  record.analog2Enabled[1] = 1;
  record.relay2Enabled[1] = 1;
  record.relay2Action[1] = 1;
  constexpr float kNotANumber = std::numeric_limits<float>::quiet_NaN();
  constexpr float kInfinite = std::numeric_limits<float>::infinity();
  for (const auto& [volts1, volts2] : std::vector<std::pair<float, float>>{
           {5.01f, -0.1f}, {kNotANumber, kInfinite}, {-kInfinite, -0.0001f}}) {
    record.analog1Volts[1] = volts1;
    record.analog2Volts[1] = volts2;
    Run(1);
  }
  EXPECT_EQ(sim.AnalogChannel(1).channelByte, 0);
  EXPECT_EQ(sim.AnalogChannel(2).channelByte, 0);
  EXPECT_EQ(Register(tqxsim::kOutputs0) & 0x20, 0x00) << "the relay step still ran";

  record.analog1Volts[1] = 0.0f;
  record.analog2Volts[1] = 5.0f;
  Run(1);
  EXPECT_EQ(sim.AnalogChannel(1).channelByte, 0x30) << "0 V is deliverable";
  EXPECT_EQ(sim.AnalogChannel(1).code, 0);
  EXPECT_EQ(sim.AnalogChannel(2).code, 4095);
}

TEST_F(FunctionActions, ACloseBegunDuringTheRunLeavesTheRestOfItUnsent) {
  FunctionFields(record, 1).Analog(1, 1.0f).Analog(2, 2.0f).Relay(1, 0);
  sim.SetWritesFail(true);
  // The user closes the window from the failure's message box.
  messages.WhileOpen([&](std::string_view) {
    closeBegun = true;
    sim.SetWritesFail(false);
  });
  const std::uint64_t before = sim.WriteCount();

  Run(1);

  EXPECT_EQ(sim.WriteCount() - before, 1u) << "only the failed channel 1 frame";
  EXPECT_EQ(sim.AnalogChannel(2).channelByte, 0);
  EXPECT_EQ(Register(tqxsim::kOutputs0), 0xFF);
  EXPECT_EQ(Register(tqxsim::kConfiguration0), 0xFF);

  Run(1);
  EXPECT_EQ(sim.WriteCount() - before, 1u);
}

}  // namespace
