// The device operations against a scripted device: call order, failure
// messages, the bus on every path, the shadows, and the closed link.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <thread>

#include "DeviceFixture.h"
#include "support/HandBuiltFrames.h"
#include "device/AdcFrame.h"
#include "device/DacFrame.h"
#include "device/DeviceCalls.h"
#include "device/SerialEngine.h"

using ::testing::ElementsAre;
using namespace std::chrono_literals;

namespace {

struct RecordingHost : SerialEngineHost {
  explicit RecordingHost(std::vector<std::string>& events) : events(events) {}
  void RefreshWindow() override { events.push_back("refresh"); }
  void StartTickTimer() override { events.push_back("timer"); }
  std::vector<std::string>& events;
};

// A reply for the ADC frame in which conversion k reads code k * 32.
Bytes RampReply() {
  Bytes reply;
  for (unsigned k = 0; k < 128; ++k) {
    const unsigned bits = (k * 32) << 3;
    reply.push_back(static_cast<std::uint8_t>(bits >> 8));
    reply.push_back(static_cast<std::uint8_t>(bits));
  }
  return reply;
}

std::array<double, 128> Filled(double volts) {
  std::array<double, 128> samples;
  samples.fill(volts);
  return samples;
}

using SerialEngineSetup = DeviceTest;

TEST_F(SerialEngineSetup, SetsTimeoutsAndModeThenIdlesEveryLineAndStartsTheTimer) {
  std::vector<std::string> events;
  RecordingHost host(events);
  GpioLowShadow.store(0);
  SetupSerialEngine(table, host);
  EXPECT_THAT(device.Calls(), ElementsAre("SetTimeouts 50 50", "SetBitMode 0 2", "Write 3"));
  EXPECT_EQ(device.Writes()[0].bytes, (Bytes{0x80, 0xFB, 0xFB}));
  EXPECT_EQ(GpioLowShadow.load(), 0xFB);
  EXPECT_THAT(events, ElementsAre("refresh", "timer"));
  EXPECT_TRUE(messages.Texts().empty());
}

TEST_F(SerialEngineSetup, AFailedModeSwitchReportsThenRefreshesAndGoesNoFurther) {
  std::vector<std::string> events;
  RecordingHost host(events);
  GpioLowShadow.store(0);
  device.bitModeStatus = 4;
  messages.WhileOpen([&](std::string_view) { events.push_back("message"); });
  SetupSerialEngine(table, host);
  EXPECT_THAT(messages.Texts(), ElementsAre("Error enabling MPSSE!"));
  EXPECT_THAT(events, ElementsAre("message", "refresh"));
  EXPECT_TRUE(device.Writes().empty());
  EXPECT_EQ(GpioLowShadow.load(), 0);
}

TEST_F(SerialEngineSetup, AFailedLineWriteReportsAndStartsNoTimer) {
  std::vector<std::string> events;
  RecordingHost host(events);
  device.writeStatuses = {1};
  SetupSerialEngine(table, host);
  EXPECT_THAT(messages.Texts(), ElementsAre("Error initializing Low-Byte I/O lines."));
  EXPECT_THAT(events, ElementsAre("refresh"));
  EXPECT_EQ(GpioLowShadow.load(), 0xFB);
}

using ReceiveQueueDrain = DeviceTest;

TEST_F(ReceiveQueueDrain, WithNothingWaitingMakesOneQueryAndNoRead) {
  DrainReceiveQueue(table);
  EXPECT_THAT(device.Calls(), ElementsAre("GetQueueStatus"));
}

TEST_F(ReceiveQueueDrain, ReadsWaitingBytesOneAtATime) {
  device.receiveQueue = {1, 2, 3};
  DrainReceiveQueue(table);
  EXPECT_THAT(device.Calls(), ElementsAre("GetQueueStatus", "Read 1", "GetQueueStatus", "Read 1", "GetQueueStatus",
                                          "Read 1", "GetQueueStatus"));
  EXPECT_TRUE(device.receiveQueue.empty());
}

TEST_F(ReceiveQueueDrain, StopsAtTheFirstFailedCall) {
  device.receiveQueue = {1, 2, 3};
  device.readStatuses = {kDriverOk, 1};
  DrainReceiveQueue(table);
  EXPECT_THAT(device.Calls(), ElementsAre("GetQueueStatus", "Read 1", "GetQueueStatus", "Read 1"));
}

using SampleFrame = DeviceTest;

TEST_F(SampleFrame, DrainsStaleBytesThenWritesTheFrameAndConvertsAWholeReply) {
  device.receiveQueue = {0xAA, 0xBB};  // acknowledge bytes an expander write left behind
  device.replies = {RampReply()};
  auto samples = Filled(-1.0);
  ReadSampleFrame(table, samples);
  EXPECT_THAT(device.Calls(), ElementsAre("GetQueueStatus", "Read 1", "GetQueueStatus", "Read 1", "GetQueueStatus",
                                          "Write 1923", "Read 256"));
  EXPECT_EQ(device.exchangesWithoutBus, 0);
  EXPECT_EQ(ToBytes(BuildAdcFrame(0xFB).bytes), device.Writes()[0].bytes);
  for (unsigned k = 0; k < 128; ++k) {
    const unsigned bits = (k * 32) << 3;
    EXPECT_EQ(samples[k], ConversionVolts(static_cast<std::uint8_t>(bits >> 8), static_cast<std::uint8_t>(bits)));
  }
  EXPECT_EQ(GpioLowShadow.load(), 0xFA);
  EXPECT_TRUE(messages.Texts().empty());
}

TEST_F(SampleFrame, AFailedWriteIsSilentAndKeepsThePreviousSamples) {
  device.writeStatuses = {1};
  auto samples = Filled(1.25);
  ReadSampleFrame(table, samples);
  EXPECT_EQ(samples, Filled(1.25));
  EXPECT_TRUE(messages.Texts().empty());
  EXPECT_THAT(device.Calls(), ElementsAre("GetQueueStatus", "Write 1923"));
}

TEST_F(SampleFrame, WaitsForABusHeldByTheOtherThread) {
  AcquireBus();
  std::thread worker([&] {
    auto samples = Filled(0.0);
    ReadSampleFrame(table, samples);
  });
  std::this_thread::sleep_for(30ms);
  EXPECT_TRUE(device.Writes().empty());
  ReleaseBus();
  worker.join();
  EXPECT_EQ(device.Writes().size(), 1u);
  EXPECT_EQ(device.exchangesWithoutBus, 0);
}

using ExpanderRead = DeviceTest;

TEST_F(ExpanderRead, TakesTheRegistersFromReplyBytesThreeAndFive) {
  device.receiveQueue = {0x01, 0x02, 0x03, 0x04};
  device.replies = {{0xFF, 0x00, 0xFF, 0x5A, 0xFF, 0xA5, 0xFF}};
  std::uint8_t first = 0, second = 0;
  ReadExpanderPair(table, first, second, kConfigurationRegister);
  EXPECT_EQ(first, 0x5A);
  EXPECT_EQ(second, 0xA5);
  EXPECT_EQ(device.Writes()[0].bytes, ExpanderReadFrameBytes(kIdleShadow, 0x06));
  EXPECT_EQ(device.Calls().back(), "Read 7");
  EXPECT_EQ(device.exchangesWithoutBus, 0);
}

struct ReadFailure {
  const char* name;
  std::deque<DriverStatus> writeStatuses;
  std::deque<DriverStatus> readStatuses;
  std::uint32_t shortBy;
  const char* message;
};

TEST_F(ExpanderRead, EveryFailureReportsWithTheBusFreeAndLeavesTheOutputsUntouched) {
  const ReadFailure failures[] = {
      {"write", {1}, {}, 0, "Error writing to DAC. 1"},
      {"read", {}, {1}, 0, "Read Error!"},
      {"short", {}, {}, 1, "error: too few bytes returned"},
  };
  for (const ReadFailure& failure : failures) {
    FakeDevice failing;
    failing.writeStatuses = failure.writeStatuses;
    failing.readStatuses = failure.readStatuses;
    failing.shortBy = failure.shortBy;
    failing.replies = {{0xFF, 0x00, 0xFF, 0x5A, 0xFF, 0xA5, 0xFF}};
    DriverTable failingTable;
    AttachFake(failingTable, failing);
    BusCheckedMessages log;
    std::uint8_t first = 0x11, second = 0x22;
    ReadExpanderPair(failingTable, first, second, kOutputRegister);
    EXPECT_THAT(log.Texts(), ElementsAre(failure.message)) << failure.name;
    EXPECT_EQ(first, 0x11) << failure.name;
    EXPECT_EQ(second, 0x22) << failure.name;
  }
}

TEST_F(ExpanderRead, AFailedStartUpReadLeavesThePowerOnState) {
  device.writeStatuses = {1, 1};
  ReadExpanderPair(table, ExpanderShadow.configuration[0], ExpanderShadow.configuration[1], kConfigurationRegister);
  ReadExpanderPair(table, ExpanderShadow.outputs[0], ExpanderShadow.outputs[1], kOutputRegister);
  EXPECT_EQ(ExpanderShadow.configuration, (std::array<std::uint8_t, 2>{0xFF, 0xFF}));
  EXPECT_EQ(ExpanderShadow.outputs, (std::array<std::uint8_t, 2>{0xFF, 0xFF}));
}

using LineDrive = DeviceTest;

TEST_F(LineDrive, DrivingP10HighWritesConfigurationThriceThenOutputsOnce) {
  ExpanderShadow.configuration = {0xFF, 0xFF};
  ExpanderShadow.outputs = {0x00, 0x00};
  DriveExpanderLine(table, ExpanderLine::P10, LineAction::High);
  const auto writes = device.Writes();
  ASSERT_EQ(writes.size(), 4u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(writes[i].bytes, ExpanderWriteFrameBytes(kOpeningFromIdle, 0x06, 0xFF, 0xFE)) << i;
  EXPECT_EQ(writes[3].bytes, ExpanderWriteFrameBytes(kOpeningFromIdle, 0x00, 0x00, 0x01));
  EXPECT_EQ(ExpanderShadow.configuration, (std::array<std::uint8_t, 2>{0xFF, 0xFE}));
  EXPECT_EQ(ExpanderShadow.outputs, (std::array<std::uint8_t, 2>{0x00, 0x01}));
  EXPECT_EQ(device.exchangesWithoutBus, 0);
}

TEST_F(LineDrive, AfterAnAdcFrameEveryWriteStillOpensWithTheClockHigh) {
  GpioLowShadow.store(0xFA);
  DriveExpanderLine(table, ExpanderLine::K1, LineAction::High);
  for (const auto& write : device.Writes()) {
    EXPECT_EQ(Bytes(write.bytes.begin() + 3, write.bytes.begin() + 6), (Bytes{0x80, 0xDB, 0xFB}));
  }
}

TEST_F(LineDrive, DrivingK3LowClearsBitSixOfPortZeroInBothShadows) {
  DriveExpanderLine(table, ExpanderLine::K3, LineAction::Low);
  EXPECT_EQ(ExpanderShadow.configuration, (std::array<std::uint8_t, 2>{0xBF, 0xFF}));
  EXPECT_EQ(ExpanderShadow.outputs, (std::array<std::uint8_t, 2>{0xBF, 0xFF}));
  EXPECT_EQ(device.Writes()[3].bytes, ExpanderWriteFrameBytes(kOpeningFromIdle, 0x00, 0xBF, 0xFF));
}

TEST_F(LineDrive, ToggleTwiceRestoresTheOutputAndKeepsTheLineAnOutput) {
  ExpanderShadow.outputs = {0x00, 0x5A};
  DriveExpanderLine(table, ExpanderLine::P11, LineAction::Toggle);
  EXPECT_EQ(ExpanderShadow.outputs[1], 0x58);
  DriveExpanderLine(table, ExpanderLine::P11, LineAction::Toggle);
  EXPECT_EQ(ExpanderShadow.outputs, (std::array<std::uint8_t, 2>{0x00, 0x5A}));
  EXPECT_EQ(ExpanderShadow.configuration, (std::array<std::uint8_t, 2>{0xFF, 0xFD}));
}

using AnalogOutput = DeviceTest;

TEST_F(AnalogOutput, SendsOneFrameUnderTheBusAndLeavesTheShadowSpiIdle) {
  WriteAnalogChannel(table, 1, 5.0f);
  ASSERT_EQ(device.Writes().size(), 1u);
  EXPECT_EQ(device.Writes()[0].bytes, (Bytes{0x80, 0xEA, 0xFB, 0x11, 0x02, 0x00, 0x30, 0xFF, 0xF0, 0x80, 0xFA, 0xFB}));
  EXPECT_EQ(GpioLowShadow.load(), 0xFA);
  EXPECT_EQ(device.exchangesWithoutBus, 0);
}

using LinkClose = DeviceTest;

TEST_F(LinkClose, ResetsTheModeThenClosesTheDeviceOnce) {
  CloseDeviceLink(table);
  CloseDeviceLink(table);
  EXPECT_THAT(device.Calls(), ElementsAre("SetBitMode 0 0", "Close"));
}

TEST_F(LinkClose, EveryLaterOperationIsRefusedQuietly) {
  CloseDeviceLink(table);
  const auto callsAtClose = device.Calls().size();
  std::vector<std::string> events;
  RecordingHost host(events);
  auto samples = Filled(1.0);
  std::uint8_t first = 0x11, second = 0x22;
  device.receiveQueue = {1};

  SetupSerialEngine(table, host);
  DrainReceiveQueue(table);
  ReadSampleFrame(table, samples);
  ReadExpanderPair(table, first, second, kConfigurationRegister);
  WriteExpanderConfig(table, 0, 0);
  WriteExpanderOutputs(table, 0, 0);
  DriveExpanderLine(table, ExpanderLine::K2, LineAction::High);
  WriteAnalogChannel(table, 1, 2.5f);

  EXPECT_EQ(device.Calls().size(), callsAtClose);
  EXPECT_TRUE(messages.Texts().empty());
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(GpioLowShadow.load(), 0xFB);
  EXPECT_EQ(ExpanderShadow.outputs, (std::array<std::uint8_t, 2>{0xFF, 0xFF}));
  EXPECT_EQ(ExpanderShadow.configuration, (std::array<std::uint8_t, 2>{0xFF, 0xFF}));
}

TEST_F(LinkClose, WaitsForAnExchangeInFlightBeforeResetting) {
  AcquireBus();  // another thread's frame on the bus
  std::atomic<bool> closed{false};
  std::thread closer([&] {
    CloseDeviceLink(table);
    closed = true;
  });
  std::this_thread::sleep_for(30ms);
  EXPECT_FALSE(closed);
  EXPECT_TRUE(device.Calls().empty());
  ReleaseBus();
  closer.join();
  EXPECT_THAT(device.Calls(), ElementsAre("SetBitMode 0 0", "Close"));
}

TEST_F(LinkClose, ACloseFromInsideAFailureMessageStopsTheRestOfTheLineDrive) {
  device.writeStatuses = {1};
  // The user closes the window while the first failure's box is open.
  messages.WhileOpen([&](std::string_view) { CloseDeviceLink(table); });
  DriveExpanderLine(table, ExpanderLine::K4, LineAction::High);
  EXPECT_THAT(messages.Texts(), ElementsAre("Error writing to DAC. 3"));
  EXPECT_THAT(device.Calls(), ElementsAre("Write 411", "SetBitMode 0 0", "Close"));
}

TEST_F(LinkClose, AWaitingExchangeThatGetsTheBusAfterTheCloseSendsNothing) {
  AcquireBus();
  std::thread window([&] { WriteAnalogChannel(table, 1, 1.0f); });
  std::this_thread::sleep_for(10ms);  // the write now waits for the bus
  std::thread closer([&] { CloseDeviceLink(table); });
  std::this_thread::sleep_for(10ms);
  ReleaseBus();
  window.join();
  closer.join();
  // Whichever got the bus first, the write never follows the close.
  const auto calls = device.Calls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back(), "Close");
  EXPECT_TRUE(messages.Texts().empty());
}

using GuardedCalls = DeviceTest;

TEST_F(GuardedCalls, PassTheDeviceHandleAndArgumentsAndReturnTheStatus) {
  std::uint32_t count = 99;
  EXPECT_EQ(DeviceGetQueueStatus(table, &count), kDriverOk);
  EXPECT_EQ(count, 0u);
  device.bitModeStatus = 7;
  EXPECT_EQ(DeviceSetBitMode(table, 0x00, 0x02), 7u);
  EXPECT_EQ(DeviceSetTimeouts(table, 50, 60), kDriverOk);
  EXPECT_THAT(device.Calls(), ElementsAre("GetQueueStatus", "SetBitMode 0 2", "SetTimeouts 50 60"));
}

int openedDevice = -1;
extern "C" DriverStatus RecordingOpen(int deviceNumber, DriverHandle* handle) {
  openedDevice = deviceNumber;
  *handle = &openedDevice;
  return kDriverOk;
}

TEST_F(GuardedCalls, OpenStoresTheHandleTheDriverGives) {
  table.FT_Open = RecordingOpen;
  EXPECT_EQ(DeviceOpen(table, 0), kDriverOk);
  EXPECT_EQ(openedDevice, 0);
  EXPECT_EQ(table.deviceHandle, static_cast<DriverHandle>(&openedDevice));
}

TEST(GuardedCallsUnbound, EachReportsItsEntryPointAndLeavesItsOutArgumentsAlone) {
  DriverTable table;  // nothing bound
  BusCheckedMessages log;
  std::uint32_t count = 5, got = 6, written = 7;
  std::uint8_t buffer[4] = {1, 2, 3, 4};
  EXPECT_EQ(DeviceOpen(table, 0), 1u);
  EXPECT_EQ(DeviceClose(table), 1u);
  EXPECT_EQ(DeviceSetBitMode(table, 0, 2), 1u);
  EXPECT_EQ(DeviceSetTimeouts(table, 50, 50), 1u);
  EXPECT_EQ(DeviceGetQueueStatus(table, &count), 1u);
  EXPECT_EQ(DeviceRead(table, buffer, 4, &got), 1u);
  EXPECT_EQ(DeviceWrite(table, buffer, 4, &written), 1u);
  EXPECT_THAT(log.Texts(), ElementsAre("FT_Open is not valid!", "FT_Close is not valid!", "FT_SetBitMode is not valid!",
                                       "FT_SetTimeouts is not valid!", "FT_GetQueueStatus is not valid!",
                                       "FT_Read is not valid!", "FT_Write is not valid!"));
  EXPECT_EQ(count, 5u);
  EXPECT_EQ(got, 6u);
  EXPECT_EQ(written, 7u);
  EXPECT_EQ(buffer[0], 1);
  EXPECT_EQ(table.deviceHandle, nullptr);
}

}  // namespace
