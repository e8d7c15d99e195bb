// The "Initial Setup" buttons and voltage fields of the running monitor,
// checked on the simulated module's expander registers and DAC.
#include <gmock/gmock.h>

#include "DetectionWindow.h"

namespace {

using namespace MainWindowIds;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kOutOfRange = "Requested voltage out of range.  Please enter a value between 0 and 5 volts.";

// Where a button's line sits, worked out from the line tables of the window
// rather than from the command table under test.
struct ExpectedLine {
  int highId;
  int lowId;
  int outputsIndex;
  int configurationIndex;
  std::uint8_t mask;
};

std::vector<ExpectedLine> EveryLineAndRelay() {
  std::vector<ExpectedLine> lines;
  for (int line = 0; line < kLineCount; ++line) {
    const bool port0 = line < 4;  // P00 to P03, then P10 to P17
    const int bit = port0 ? line : line - 4;
    lines.push_back({LineHighButtons[line], LineLowButtons[line], port0 ? 0 : 1, port0 ? 6 : 7,
                     static_cast<std::uint8_t>(1u << bit)});
  }
  for (int relay = 0; relay < kRelayCount; ++relay) {
    lines.push_back({RelayCloseButtons[relay], RelayOpenButtons[relay], 0, 6, static_cast<std::uint8_t>(0x10u << relay)});
  }
  return lines;
}

using ManualCommands = DetectionWindow;

// "0" then "1" of each line (P10's "1" among them), "Open" then "Close" of each
// relay: each click makes its line an output and sets or clears its output
// bit; the other nineteen outputs keep their direction and level.
TEST_F(ManualCommands, EveryLineAndRelayButtonDrivesItsOwnOutputAndNoOther) {
  Start();
  for (const ExpectedLine& line : EveryLineAndRelay()) {
    for (const bool high : {false, true}) {
      const auto before = sim.ExpanderRegisters();
      ClickControl(window, high ? line.highId : line.lowId);
      auto expected = before;
      expected[line.configurationIndex] &= static_cast<std::uint8_t>(~line.mask);
      expected[line.outputsIndex] = high ? expected[line.outputsIndex] | line.mask
                                         : expected[line.outputsIndex] & static_cast<std::uint8_t>(~line.mask);
      EXPECT_EQ(sim.ExpanderRegisters(), expected) << "button " << (high ? line.highId : line.lowId);
    }
  }
}

TEST_F(ManualCommands, SetAnalogWritesFiveVoltsAndRefusesJustOutsideTheRangeWithTheTickRunningAgain) {
  Start();
  MessageCapture messages;

  ReplaceText(window, IDC_VOLTS1, "5");
  EXPECT_FALSE(window.IsTimerRunning(TickTimerId));
  ClickControl(window, IDC_SET_ANALOG1);
  EXPECT_EQ(sim.AnalogChannel(1).code, 4095);
  EXPECT_TRUE(window.IsTimerRunning(TickTimerId));
  EXPECT_THAT(messages.Texts(), IsEmpty());

  for (const char* refused : {"5.01", "-0.1"}) {
    ReplaceText(window, IDC_VOLTS2, refused);
    ClickControl(window, IDC_SET_ANALOG2);
    EXPECT_EQ(sim.AnalogChannel(2).channelByte, 0) << refused << " reached the DAC";
    EXPECT_TRUE(window.IsTimerRunning(TickTimerId)) << refused;
  }
  EXPECT_THAT(messages.Texts(), ElementsAre(kOutOfRange, kOutOfRange));
}

TEST_F(ManualCommands, AVoltageFieldWithoutANumberKeepsTheTickStoppedAndWritesNothing) {
  Start();
  MessageCapture messages;
  ReplaceText(window, IDC_VOLTS1, "2.5");
  ClickControl(window, IDC_SET_ANALOG1);
  ASSERT_EQ(sim.AnalogChannel(1).code, 2047);

  ReplaceText(window, IDC_VOLTS1, "2,5");
  ClickControl(window, IDC_SET_ANALOG1);
  ClickControl(window, IDC_SET_ANALOG1);
  ProcessEventsFor(250ms);

  EXPECT_THAT(messages.Texts(), ElementsAre("Please enter a number.", "Please enter a number."))
      << "one refusal per press, none from ticks";
  EXPECT_FALSE(window.IsTimerRunning(TickTimerId));
  EXPECT_EQ(sim.AnalogChannel(1).code, 2047) << "the previous volts were not written again";
  EXPECT_EQ(window.manualVolts1, 2.5f);
}

TEST_F(ManualCommands, TypingInEitherVoltageFieldPausesTheTickAtTheFirstKeystroke) {
  Start();
  for (int field : {IDC_VOLTS1, IDC_VOLTS2}) {
    window.SetTimer(TickTimerId, kTickPeriodMs);
    ReplaceText(window, field, "3");
    EXPECT_FALSE(window.IsTimerRunning(TickTimerId)) << "field " << field;
  }
  const std::string peakShown = Text(IDC_PEAK_BIN);
  sim.SetBinToneInput(40, kLoudToneVolts, tqxsim::kInputBiasVolts);
  ProcessEventsFor(300ms);
  EXPECT_EQ(Text(IDC_PEAK_BIN), peakShown) << "no tick ran";

  // Set Analog 1 saves channel 2's typed volts too, but writes only channel 1.
  ClickControl(window, IDC_SET_ANALOG1);
  EXPECT_TRUE(window.IsTimerRunning(TickTimerId));
  EXPECT_EQ(window.manualVolts2, 3.0f);
  EXPECT_EQ(sim.AnalogChannel(2).channelByte, 0);
  EXPECT_TRUE(ProcessEventsUntil([&] { return Text(IDC_PEAK_BIN) == "40"; }));
}

}  // namespace
