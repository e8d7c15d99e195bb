// The ADC and the DAC, reached through the monitor's SPI frames.
#include <gmock/gmock.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <complex>
#include <numbers>

#include "support/HandBuiltFrames.h"
#include "ModuleAtTheBus.h"
#include "sim/ModelledTiming.h"

namespace {

constexpr std::uint8_t kIdle = 0xFB;
constexpr std::uint32_t kReplyBytes = 256;

class AdcAtTheBus : public ModuleAtTheBus {
 protected:
  std::vector<int> SampleCodes() {
    Send(AdcFrameBytes(kIdle));
    const std::vector<std::uint8_t> reply = Receive(kReplyBytes);
    std::vector<int> codes;
    for (std::size_t k = 0; k + 1 < reply.size(); k += 2) codes.push_back(CodeOf(reply[k], reply[k + 1]));
    return codes;
  }
};

// Level in dB relative to 1 V RMS at one frequency index, as the monitor's
// spectrum computes it, from a plain sum.
double LevelDb(const std::vector<int>& codes, int index) {
  std::complex<double> sum = 0.0;
  for (std::size_t n = 0; n < codes.size(); ++n) {
    const double volts = codes[n] * 5.0 / 4095.0;
    sum += volts * std::polar(1.0, -2.0 * std::numbers::pi * index * static_cast<double>(n) / 128.0);
  }
  return 10.0 * std::log10(std::norm(sum) / 8192.0 + 1e-28);
}

TEST_F(AdcAtTheBus, AConstantTwoAndAHalfVoltsReadsBackAs2047Or2048InAll128Samples) {
  sim.SetConstantInput(2.5);
  const std::vector<int> codes = SampleCodes();
  ASSERT_EQ(codes.size(), 128u);
  for (const int code : codes) EXPECT_TRUE(code == 2047 || code == 2048) << code;
  EXPECT_EQ(sim.ConversionCount(), 128u);
}

TEST_F(AdcAtTheBus, ConstantInputsReadAsTheNearestCodeClampedAtTheRails) {
  const std::vector<std::pair<double, int>> cases{{0.0, 0}, {1.0, 819}, {5.0, 4095}, {7.0, 4095}, {-1.0, 0}};
  for (const auto& [volts, code] : cases) {
    sim.SetConstantInput(volts);
    EXPECT_THAT(SampleCodes(), ::testing::Each(code)) << volts << " V";
  }
}

TEST_F(AdcAtTheBus, EachConversionSamplesTheInputAtItsOwnModelledMoment) {
  // A ramp of 100 V/s moves 100 / fs volts, about 20 codes, from one conversion to the next.
  sim.SetInputFunction([](double seconds) { return 1.0 + 100.0 * seconds; });
  const std::vector<int> codes = SampleCodes();
  const double codesPerConversion = 100.0 / tqxsim::kModelledSampleRateHz * 4095.0 / 5.0;
  for (std::size_t k = 1; k < codes.size(); ++k) {
    EXPECT_NEAR(codes[k] - codes[k - 1], codesPerConversion, 1.0) << "conversion " << k;
  }
}

TEST_F(AdcAtTheBus, AToneOnABinsCentreFrequencyLandsInThatBinAlone) {
  sim.SetBinToneInput(21, 1.0, 2.5);
  const std::vector<int> codes = SampleCodes();
  EXPECT_NEAR(LevelDb(codes, 20), -3.0103, 0.05);
  for (int index = 1; index < 64; ++index) {
    if (index == 20) continue;
    EXPECT_LT(LevelDb(codes, index), -50.0) << "index " << index;
  }
}

// The module paces itself from the monotonic clock, so no frame can come back
// sooner than its modelled time. How close a loaded machine comes to that
// rate is measured by the acquisition-cycle benchmark, not asserted here.
TEST_F(AdcAtTheBus, NoFrameReturnsBeforeItsModelledThirtyOneAndAHalfMilliseconds) {
  using Clock = std::chrono::steady_clock;
  constexpr int kFrames = 4;
  sim.SetConstantInput(2.5);
  for (int frame = 0; frame < kFrames; ++frame) {
    const auto frameStart = Clock::now();
    ASSERT_EQ(SampleCodes().size(), 128u);
    EXPECT_GE(std::chrono::duration<double>(Clock::now() - frameStart).count(), tqxsim::kAdcFrameSeconds * 0.999);
  }
  EXPECT_NEAR(tqxsim::kAdcFrameSeconds, 0.0315, 0.0002);
  const std::vector<tqxsim::RecordedFrame> frames = sim.RecentFrames();
  EXPECT_NEAR(frames.back().endsAtSeconds - frames.back().startsAtSeconds, tqxsim::kAdcFrameSeconds, 1e-9);
}

// One conversion built by hand: its start and configuration bits, the data
// line's direction for the result bits, and the command that reads the result.
TEST_F(AdcAtTheBus, ConvertsOnlyForTheFramesBitsAndReadsRightOnlyOnTheRisingEdge) {
  struct Case {
    std::uint8_t startBits, resultDirection, readCommand;
    std::uint64_t conversions, errors;
    int code;
  };
  const Case cases[] = {{0xF0, kReleaseData, 0x20, 1, 0, 819},
                        {0x70, kReleaseData, 0x20, 0, 1, 8191},
                        {0xE0, kReleaseData, 0x20, 0, 1, 8191},
                        {0xF0, kDriveAll, 0x20, 1, 1, 819},
                        {0xF0, kReleaseData, 0x24, 1, 0, 2 * 819}};  // 0x24: read on the falling edge
  sim.SetConstantInput(1.0);
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "case " << &c - cases);
    const std::uint64_t conversions = sim.ConversionCount(), errors = sim.ProtocolErrorCount();
    FrameBytes frame;
    frame.Lines(0xF2, kDriveAll).BitsOut(4, c.startBits).Lines(0xF2, c.resultDirection);
    Send(frame.Raw({c.readCommand, 0x01, 0x00}).Lines(0xFA, kDriveAll).bytes);
    const std::vector<std::uint8_t> reply = Receive(2);
    ASSERT_EQ(reply.size(), 2u);
    EXPECT_EQ(CodeOf(reply[0], reply[1]), c.code);
    EXPECT_EQ(sim.ConversionCount() - conversions, c.conversions);
    EXPECT_EQ(sim.ProtocolErrorCount() - errors, c.errors);
  }
  EXPECT_EQ(sim.RecentProtocolErrors()[0].what, "ADC start and configuration bits 0111, not 1111; nothing converted");
}

using DacAtTheBus = ModuleAtTheBus;

TEST_F(DacAtTheBus, ChannelOneAtFiveVoltsReachesTheDacAsCode4095) {
  Send({0x80, 0xEA, 0xFB, 0x11, 0x02, 0x00, 0x30, 0xFF, 0xF0, 0x80, 0xFA, 0xFB});
  const tqxsim::AnalogOutput channel1 = sim.AnalogChannel(1);
  EXPECT_EQ(channel1.channelByte, 0x30);
  EXPECT_EQ(channel1.code, 4095);
  EXPECT_DOUBLE_EQ(channel1.volts, 5.0);
  EXPECT_EQ(sim.AnalogChannel(2).code, 0);
  EXPECT_TRUE(SaidLine("sim: analog 1 = 5.000 V"));
}

TEST_F(DacAtTheBus, ChannelTwoTakesItsOwnCodeAndReportsOnlyChanges) {
  Send(DacFrameBytes(0x31, 2047));
  Send(DacFrameBytes(0x31, 2047));
  EXPECT_EQ(sim.AnalogChannel(2).code, 2047);
  EXPECT_NEAR(sim.AnalogChannel(2).volts, 2.4994, 1e-4);
  const std::vector<std::string> messages = sim.RecentMessages();
  EXPECT_EQ(std::count(messages.begin(), messages.end(), "sim: analog 2 = 2.499 V"), 1);
}

TEST_F(DacAtTheBus, IgnoresAWordThatIsNotTwentyFourBitsLong) {
  FrameBytes frame;
  frame.Lines(0xEA, kDriveAll).BytesOut({0x30, 0xFF}).Lines(0xFA, kDriveAll);
  Send(frame.bytes);
  EXPECT_EQ(sim.AnalogChannel(1).channelByte, 0);
  EXPECT_TRUE(SaidLine("sim: DAC ignored a word of 16 bits"));
}

}  // namespace
