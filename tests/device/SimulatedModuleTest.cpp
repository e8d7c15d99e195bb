// Every frame builder's frame, sent through the real binding to the simulated
// module, does at the module what it is meant to do.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "SimulatedModuleFixture.h"
#include "device/AdcFrame.h"
#include "device/DacFrame.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// Register numbers as the module's expander holds them.

// The conversion code a sample came from.
long CodeOf(double volts) { return std::lround(volts / ConversionVolts(0x00, 0x08)); }

using ModuleExpander = SimulatedModuleTest;

TEST_F(ModuleExpander, StartUpReadsSeedTheShadowsFromTheExpander) {
  WriteExpanderConfig(table, 0x12, 0x34);
  WriteExpanderOutputs(table, 0x56, 0x78);
  ReadExpanderPair(table, ExpanderShadow.configuration[0], ExpanderShadow.configuration[1], kConfigurationRegister);
  ReadExpanderPair(table, ExpanderShadow.outputs[0], ExpanderShadow.outputs[1], kOutputRegister);
  EXPECT_EQ(ExpanderShadow.configuration, (std::array<std::uint8_t, 2>{0x12, 0x34}));
  EXPECT_EQ(ExpanderShadow.outputs, (std::array<std::uint8_t, 2>{0x56, 0x78}));
  EXPECT_THAT(messages.Texts(), IsEmpty());
}

TEST_F(ModuleExpander, DrivingP10HighLeavesOnlyItsBitsChanged) {
  WriteExpanderOutputs(table, 0x00, 0x00);
  ExpanderShadow.configuration = {0xFF, 0xFF};
  ExpanderShadow.outputs = {0x00, 0x00};
  DriveExpanderLine(table, ExpanderLine::P10, LineAction::High);
  const auto registers = sim.ExpanderRegisters();
  EXPECT_EQ(registers[tqxsim::kConfiguration0], 0xFF);
  EXPECT_EQ(registers[tqxsim::kConfiguration1], 0xFE);
  EXPECT_EQ(registers[tqxsim::kOutputs0], 0x00);
  EXPECT_EQ(registers[tqxsim::kOutputs1], 0x01);
}

TEST_F(ModuleExpander, AWriteRightAfterAnAdcFrameStillReachesTheExpander) {
  std::array<double, kConversionsPerFrame> samples{};
  ReadSampleFrame(table, samples);
  ASSERT_EQ(GpioLowShadow.load(), 0xFA);  // clock low, as the ADC leaves it
  WriteExpanderOutputs(table, 0x5A, 0xA5);
  EXPECT_EQ(sim.ExpanderRegisters()[tqxsim::kOutputs0], 0x5A);
  EXPECT_EQ(sim.ExpanderRegisters()[tqxsim::kOutputs1], 0xA5);
}

using ModuleAnalogOutput = SimulatedModuleTest;

TEST_F(ModuleAnalogOutput, ChannelOneAtFiveVoltsReachesTheDacAsCode4095) {
  WriteAnalogChannel(table, 1, 5.0f);
  WriteAnalogChannel(table, 2, 2.5f);
  EXPECT_EQ(sim.AnalogChannel(1).code, 4095);
  EXPECT_EQ(sim.AnalogChannel(2).code, 2047);
  EXPECT_THAT(messages.Texts(), IsEmpty());
}

using ModuleSampleFrame = SimulatedModuleTest;

TEST_F(ModuleSampleFrame, AConstantInputReadsBackInEverySample) {
  sim.SetConstantInput(2.5);
  std::array<double, kConversionsPerFrame> samples;
  samples.fill(-1.0);
  ReadSampleFrame(table, samples);
  for (std::size_t k = 0; k < samples.size(); ++k) {
    const long code = CodeOf(samples[k]);
    EXPECT_TRUE(code == 2047 || code == 2048) << "sample " << k << " code " << code;
  }
  EXPECT_THAT(messages.Texts(), IsEmpty());
}

TEST_F(ModuleSampleFrame, ExpanderAcknowledgesLeftQueuedDoNotShiftTheSamples) {
  sim.SetConstantInput(1.0);
  WriteExpanderOutputs(table, 0xFF, 0xFF);  // leaves four acknowledge bytes queued
  std::array<double, kConversionsPerFrame> samples{};
  ReadSampleFrame(table, samples);
  for (double volts : samples) EXPECT_NEAR(volts, 1.0, 0.002);
}

using ModuleFaults = SimulatedModuleTest;

TEST_F(ModuleFaults, FailedWritesReportEachOperationsOwnMessage) {
  sim.SetWritesFail(true);
  std::array<double, kConversionsPerFrame> samples;
  samples.fill(0.5);
  ReadSampleFrame(table, samples);  // silent
  DriveExpanderLine(table, ExpanderLine::P03, LineAction::Low);
  WriteAnalogChannel(table, 2, 1.0f);
  std::uint8_t first = 0x11, second = 0x22;
  ReadExpanderPair(table, first, second, kConfigurationRegister);
  EXPECT_THAT(messages.Texts(),
              ElementsAre("Error writing to DAC. 3", "Error writing to DAC. 3", "Error writing to DAC. 3",
                          "Error writing to DAC. 1", "Error writing to DAC. 5", "Error writing to DAC. 1"));
  EXPECT_EQ(samples[0], 0.5);
  EXPECT_EQ(ExpanderShadow.outputs[0], 0xF7);  // the shadow keeps what never arrived
  EXPECT_EQ(ExpanderShadow.configuration[0], 0xF7);
  EXPECT_EQ(first, 0x11);
  EXPECT_EQ(second, 0x22);
  sim.SetWritesFail(false);
}

TEST_F(ModuleFaults, AFailedReadReportsReadError) {
  sim.SetReadsFail(true);
  std::array<double, kConversionsPerFrame> samples;
  samples.fill(0.5);
  ReadSampleFrame(table, samples);
  EXPECT_THAT(messages.Texts(), ElementsAre("Read Error!"));
  EXPECT_EQ(samples[127], 0.5);
  sim.SetReadsFail(false);
}

TEST_F(ModuleFaults, ALostReplyByteReportsTooFewBytesAndKeepsEverySample) {
  sim.DropReplyBytes(1);
  std::array<double, kConversionsPerFrame> samples;
  samples.fill(0.5);
  ReadSampleFrame(table, samples);
  EXPECT_THAT(messages.Texts(), ElementsAre("error: too few bytes returned"));
  for (double volts : samples) EXPECT_EQ(volts, 0.5);
}

using ModuleClose = SimulatedModuleTest;

TEST_F(ModuleClose, TakesTheEngineOutOfSerialModeClosesTheDeviceAndSendsNothingAfter) {
  CloseDeviceLink(table);
  EXPECT_FALSE(sim.SerialEngineOn());
  EXPECT_FALSE(sim.IsOpen());
  const auto writes = sim.WriteCount();
  std::array<double, kConversionsPerFrame> samples{};
  ReadSampleFrame(table, samples);
  DriveExpanderLine(table, ExpanderLine::K2, LineAction::High);
  WriteAnalogChannel(table, 1, 1.0f);
  EXPECT_EQ(sim.WriteCount(), writes);
  EXPECT_THAT(messages.Texts(), IsEmpty());
}

}  // namespace
