// The four frame builders, byte for byte, and the line shadow each leaves.
#include <gtest/gtest.h>

#include <bit>
#include <limits>

#include "support/HandBuiltFrames.h"
#include "device/AdcFrame.h"
#include "device/DacFrame.h"
#include "device/Expander.h"
#include "device/ExpanderFrames.h"

namespace {

constexpr std::uint8_t kIdle = 0xFB;        // after set-up or an expander frame
constexpr std::uint8_t kSpiIdle = 0xFA;     // after an ADC or DAC frame

TEST(AdcFrame, FromIdleLinesOpensWithTheDivisorAndEndsWithTheAdcDeselected) {
  const AdcFrame frame = BuildAdcFrame(kIdle);
  const Bytes bytes = ToBytes(frame.bytes);
  ASSERT_EQ(bytes.size(), 1923u);
  const Bytes head = {0x86, 0x48, 0x00, 0x80, 0xF2, 0xFB, 0x13, 0x03, 0xF0,
                      0x80, 0xF2, 0xF9, 0x20, 0x01, 0x00, 0x80, 0xFA, 0xFB};
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 18), head);
  EXPECT_EQ(Bytes(bytes.end() - 3, bytes.end()), (Bytes{0x80, 0xFA, 0xFB}));
  EXPECT_EQ(frame.shadowAfter, 0xFA);
}

TEST(AdcFrame, AllConversionGroupsAreAlikeAndOnlyClockAndSelectAreForced) {
  for (int shadow = 0; shadow < 256; ++shadow) {
    const AdcFrame frame = BuildAdcFrame(static_cast<std::uint8_t>(shadow));
    const std::uint8_t selected = static_cast<std::uint8_t>(shadow & 0xF6);
    const std::uint8_t deselected = static_cast<std::uint8_t>(selected | 0x08);
    const Bytes group = {0x80, selected, 0xFB, 0x13, 0x03, 0xF0, 0x80, selected, 0xF9,
                         0x20, 0x01, 0x00, 0x80, deselected, 0xFB};
    EXPECT_EQ(ToBytes(frame.bytes), Join({{0x86, 0x48, 0x00}, Times(group, 128)})) << "shadow " << shadow;
    EXPECT_EQ(frame.shadowAfter, deselected);
  }
}

TEST(AdcConversion, ReplyPairsConvertToVoltsByTheirCode) {
  EXPECT_NEAR(ConversionVolts(0x7F, 0xF8), 5.0000003, 1e-7);   // code 4095
  EXPECT_NEAR(ConversionVolts(0x00, 0x08), 0.0012210013, 1e-10);  // code 1
  // Code 4096 is one code above 4095, so 5.0000003 V + 1.2210013 mV.
  EXPECT_NEAR(ConversionVolts(0x80, 0x00), 5.0012213, 1e-7);
  EXPECT_NEAR(ConversionVolts(0xFF, 0xFF), 10.0012216, 1e-7);  // code 8191: no mask after the shift
  EXPECT_EQ(ConversionVolts(0x00, 0x07), 0.0);                 // the three low bits are dropped
}

TEST(AdcConversion, UsesTheSinglePrecisionReciprocalWidenedThenTimesFive) {
  const double reciprocal = static_cast<double>(std::bit_cast<float>(std::uint32_t{0x39800801}));
  for (unsigned code : {1u, 2u, 819u, 2047u, 4095u, 8191u}) {
    const auto high = static_cast<std::uint8_t>(code >> 5);
    const auto low = static_cast<std::uint8_t>((code & 0x1F) << 3);
    EXPECT_EQ(ConversionVolts(high, low), code * reciprocal * 5.0) << "code " << code;
  }
}

TEST(ExpanderFrame, WriteFromIdleLinesIsByteExact) {
  const ExpanderWriteFrame frame = BuildExpanderWriteFrame(kIdle, 0x06, 0xFF, 0xFE);
  EXPECT_EQ(ToBytes(frame.bytes), ExpanderWriteFrameBytes(kOpeningFromIdle, 0x06, 0xFF, 0xFE));
  EXPECT_EQ(frame.shadowAfter, 0xFB);
  // The clocked bytes: address, register, port 0, port 1.
  EXPECT_EQ(frame.bytes[33], 0x40);
  EXPECT_EQ(frame.bytes[120], 0x06);
  EXPECT_EQ(frame.bytes[207], 0xFF);
  EXPECT_EQ(frame.bytes[294], 0xFE);
}

TEST(ExpanderFrame, WriteAfterAnSpiFrameRaisesTheClockBeforeTheStartCondition) {
  const ExpanderWriteFrame frame = BuildExpanderWriteFrame(kSpiIdle, 0x00, 0x12, 0x34);
  const Bytes opening = Join({Lines(0xDB, 4), Lines(0xD9, 4), Lines(0xD8)});
  EXPECT_EQ(Bytes(frame.bytes.begin() + 3, frame.bytes.begin() + 30), opening);
  EXPECT_EQ(ToBytes(frame.bytes), ToBytes(BuildExpanderWriteFrame(kIdle, 0x00, 0x12, 0x34).bytes));
}

TEST(ExpanderFrame, ReadFromIdleLinesIsByteExact) {
  const ExpanderReadFrame frame = BuildExpanderReadFrame(kIdle, 0x06);
  EXPECT_EQ(ToBytes(frame.bytes), ExpanderReadFrameBytes(kIdle, 0x06));
  EXPECT_EQ(frame.shadowAfter, 0xFB);
}

TEST(ExpanderFrame, ReadAfterAnSpiFrameOpensWithTheClockHigh) {
  const ExpanderReadFrame frame = BuildExpanderReadFrame(kSpiIdle, 0x00);
  EXPECT_EQ(Bytes(frame.bytes.begin() + 3, frame.bytes.begin() + 15), Lines(0xDB, 4));
  EXPECT_EQ(ToBytes(frame.bytes), ExpanderReadFrameBytes(kIdle, 0x00));
}

TEST(ExpanderFrame, BothFramesLeaveTheBusDisabledWithClockAndDataHigh) {
  for (int shadow = 0; shadow < 256; ++shadow) {
    const auto s = static_cast<std::uint8_t>(shadow);
    const std::uint8_t expected = static_cast<std::uint8_t>((s & 0xDC) | 0x23);
    EXPECT_EQ(BuildExpanderWriteFrame(s, 0x06, 0, 0).shadowAfter, expected) << "shadow " << shadow;
    EXPECT_EQ(BuildExpanderReadFrame(s, 0x06).shadowAfter, expected) << "shadow " << shadow;
  }
}

TEST(DacFrame, ChannelOneAtFiveVoltsIsByteExact) {
  const DacFrame frame = BuildDacFrame(kIdle, 1, VoltsToCode(5.0f));
  EXPECT_EQ(ToBytes(frame.bytes), (Bytes{0x80, 0xEA, 0xFB, 0x11, 0x02, 0x00, 0x30, 0xFF, 0xF0, 0x80, 0xFA, 0xFB}));
  EXPECT_EQ(frame.shadowAfter, 0xFA);
}

TEST(DacFrame, ChannelTwoAtZeroVoltsIsByteExact) {
  const DacFrame frame = BuildDacFrame(kSpiIdle, 2, VoltsToCode(0.0f));
  EXPECT_EQ(ToBytes(frame.bytes), (Bytes{0x80, 0xEA, 0xFB, 0x11, 0x02, 0x00, 0x31, 0x00, 0x00, 0x80, 0xFA, 0xFB}));
}

TEST(DacFrame, EveryChannelNumberButOneAddressesChannelTwo) {
  for (int channel : {0, 2, 3, -1}) EXPECT_EQ(BuildDacFrame(kIdle, channel, 0).bytes[6], 0x31) << channel;
}

TEST(DacFrame, OnlyClockAndSelectAreForced) {
  for (int shadow = 0; shadow < 256; ++shadow) {
    const auto s = static_cast<std::uint8_t>(shadow);
    const DacFrame frame = BuildDacFrame(s, 1, 0);
    EXPECT_EQ(frame.bytes[1], s & 0xEE);
    EXPECT_EQ(frame.bytes[10], (s & 0xEE) | 0x10);
    EXPECT_EQ(frame.shadowAfter, (s & 0xEE) | 0x10);
  }
}

struct WorkedCode {
  float volts;
  std::int32_t code;
  std::uint8_t high;
  std::uint8_t low;
};

TEST(DacCode, TypedVoltagesTruncateToTheirCodesAndBytes) {
  const WorkedCode cases[] = {{0.0f, 0, 0x00, 0x00},   {0.1f, 81, 0x05, 0x10},   {1.0f, 819, 0x33, 0x30},
                              {2.5f, 2047, 0x7F, 0xF0}, {3.3f, 2702, 0xA8, 0xE0}, {4.99f, 4086, 0xFF, 0x60},
                              {5.0f, 4095, 0xFF, 0xF0}};
  for (const WorkedCode& c : cases) {
    EXPECT_EQ(VoltsToCode(c.volts), c.code) << c.volts;
    const DacFrame frame = BuildDacFrame(kIdle, 1, c.code);
    EXPECT_EQ(frame.bytes[7], c.high) << c.volts;
    EXPECT_EQ(frame.bytes[8], c.low) << c.volts;
  }
}

TEST(DacCode, VoltsOutsideTheRangeCannotWrapTheCode) {
  EXPECT_EQ(VoltsToCode(5.01f), 4095);  // unclamped, 4103 would send code 7 (0 V)
  EXPECT_EQ(VoltsToCode(1e30f), 4095);
  EXPECT_EQ(VoltsToCode(std::numeric_limits<float>::infinity()), 4095);
  EXPECT_EQ(VoltsToCode(-0.01f), 0);
  EXPECT_EQ(VoltsToCode(-1e30f), 0);
  EXPECT_EQ(VoltsToCode(std::numeric_limits<float>::quiet_NaN()), 0);
}

TEST(ExpanderLines, SelectionsNameTheTwelveDigitalLinesAndNothingElse) {
  EXPECT_EQ(DigitalLineForSelect(0), ExpanderLine::P00);
  EXPECT_EQ(DigitalLineForSelect(3), ExpanderLine::P03);
  EXPECT_EQ(DigitalLineForSelect(4), ExpanderLine::P10);
  EXPECT_EQ(DigitalLineForSelect(5), ExpanderLine::P11);
  EXPECT_EQ(DigitalLineForSelect(11), ExpanderLine::P17);
  for (int none : {-1, 12, 100}) EXPECT_FALSE(DigitalLineForSelect(none).has_value()) << none;
}

TEST(ExpanderLines, RelaysAreTheHighNibbleOfPortZero) {
  EXPECT_EQ(PortOf(ExpanderLine::K1), 0);
  EXPECT_EQ(BitMaskOf(ExpanderLine::K1), 0x10);
  EXPECT_EQ(BitMaskOf(ExpanderLine::K4), 0x80);
  EXPECT_EQ(PortOf(ExpanderLine::P10), 1);
  EXPECT_EQ(BitMaskOf(ExpanderLine::P10), 0x01);
  EXPECT_EQ(BitMaskOf(ExpanderLine::P17), 0x80);
}

}  // namespace
