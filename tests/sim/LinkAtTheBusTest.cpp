// The serial engine's reading of the byte stream, the receive queue and its
// time-out, the device's open state, and the injected faults.
#include <gmock/gmock.h>

#include <chrono>
#include <thread>

#include "support/HandBuiltFrames.h"
#include "ModuleAtTheBus.h"

using ::testing::ElementsAre;
using Clock = std::chrono::steady_clock;

namespace {

constexpr std::uint8_t kIdle = 0xFB;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

using SerialEngineAtTheBus = ModuleAtTheBus;

TEST_F(SerialEngineAtTheBus, ReportsUnknownCommandsAndReadsOnFromTheNextByte) {
  FrameBytes frame;
  frame.Lines(kIdle, kDriveAll).Raw({0x42, 0x99}).Lines(0xFA, kReleaseData).BitsIn(1);
  Send(frame.bytes);
  EXPECT_EQ(sim.ProtocolErrorCount(), 2u);
  const std::vector<tqxsim::ProtocolError> errors = sim.RecentProtocolErrors();
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0].offset, 3u);
  EXPECT_EQ(errors[0].byte, 0x42);
  EXPECT_EQ(errors[1].offset, 4u);
  EXPECT_EQ(errors[0].frameNumber, sim.WriteCount());
  EXPECT_TRUE(SaidLine("sim: protocol error: unknown command 0x42 at byte 3 of write 1; skipped"));
  EXPECT_TRUE(SaidLine("sim: (1 more protocol errors in write 1)"));
  EXPECT_EQ(Receive(1).size(), 1u) << "the commands after the unknown bytes still ran";
}

TEST_F(SerialEngineAtTheBus, ReportsABitCountBeyondOneByte) {
  Send({0x13, 0x08, 0xFF});
  ASSERT_EQ(sim.ProtocolErrorCount(), 1u);
  EXPECT_EQ(sim.RecentProtocolErrors()[0].what, "bit count above 8");
}

TEST_F(SerialEngineAtTheBus, JoinsACommandSplitAcrossWrites) {
  const std::vector<std::uint8_t> frame = DacFrameBytes(0x30, 1234);
  Send({frame.begin(), frame.begin() + 4});
  Send({frame.begin() + 4, frame.begin() + 8});
  Send({frame.begin() + 8, frame.end()});
  EXPECT_EQ(sim.AnalogChannel(1).code, 1234);
  EXPECT_EQ(sim.ProtocolErrorCount(), 0u);
}

TEST_F(SerialEngineAtTheBus, IgnoresFramesUntilTheBitModeSelectsIt) {
  ASSERT_EQ(driver.setBitMode(handle, 0x00, 0x00), kDriverOk);
  EXPECT_FALSE(sim.SerialEngineOn());
  Send(DacFrameBytes(0x30, 4095));
  EXPECT_EQ(sim.AnalogChannel(1).code, 0);
  ASSERT_EQ(driver.setBitMode(handle, 0x00, kSerialEngineMode), kDriverOk);
  Send(DacFrameBytes(0x30, 4095));
  EXPECT_EQ(sim.AnalogChannel(1).code, 4095);
}

TEST_F(SerialEngineAtTheBus, RecordsEachWriteWithItsBytesAndModelledTimes) {
  Send({0x86, 0x42, 0x00});
  Send(DacFrameBytes(0x31, 1));
  const std::vector<tqxsim::RecordedFrame> frames = sim.RecentFrames();
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_THAT(frames[0].bytes, ElementsAre(0x86, 0x42, 0x00));
  EXPECT_EQ(frames[1].number, 2u);
  EXPECT_TRUE(frames[1].accepted);
  // Three line commands at 1 µs and 24 bits at divisor 66 (6 MHz / 67).
  EXPECT_NEAR(frames[1].endsAtSeconds - frames[1].startsAtSeconds, 2e-6 + 24 * 67 / 6e6, 1e-9);
  EXPECT_NEAR(sim.SerialClockHz(), 6e6 / 67, 1e-6);
  EXPECT_GE(frames[1].startsAtSeconds, frames[0].endsAtSeconds);
}

using ReceiveQueueAtTheBus = ModuleAtTheBus;

TEST_F(ReceiveQueueAtTheBus, AReadReturnsWhatArrivedWhenItsTimeOutRunsOut) {
  Send(FrameBytes().BitsIn(1).BitsIn(1).bytes);
  const auto start = Clock::now();
  EXPECT_EQ(Receive(5).size(), 2u);
  EXPECT_GE(MillisecondsSince(start), kReadTimeoutMs);
  EXPECT_LT(MillisecondsSince(start), kReadTimeoutMs + 250) << "a read ends when its time-out runs out";
}

TEST_F(ReceiveQueueAtTheBus, ALostReplyByteMakesTheAdcReplyShort) {
  sim.SetConstantInput(1.0);
  sim.DropReplyBytes(3);
  Send(AdcFrameBytes(kIdle));
  EXPECT_EQ(Receive(256).size(), 253u);
  Send(AdcFrameBytes(kIdle));
  EXPECT_EQ(Receive(256).size(), 256u) << "only the next three bytes are lost";
}

TEST_F(ReceiveQueueAtTheBus, QueueStatusCountsOnlyReadableBytes) {
  EXPECT_EQ(QueuedBytes(), 0u);
  Send(FrameBytes().BytesInOnRisingEdge(3).bytes);
  EXPECT_EQ(QueuedBytes(), 3u) << "a write returns once the engine has run it";
  EXPECT_EQ(Receive(3).size(), 3u);
  EXPECT_EQ(QueuedBytes(), 0u);
}

using DeviceAtTheBus = ModuleAtTheBus;

TEST_F(DeviceAtTheBus, OpensOnlyDeviceZeroAndOnlyOnce) {
  DriverHandle other = nullptr;
  EXPECT_NE(driver.open(0, &other), kDriverOk);
  ASSERT_EQ(driver.close(handle), kDriverOk);
  EXPECT_NE(driver.open(1, &other), kDriverOk);
  EXPECT_NE(driver.write(handle, "x", 1, nullptr), kDriverOk) << "a closed handle is refused";
  EXPECT_EQ(driver.openEx(nullptr, 0, &other), kDriverOk);
  EXPECT_EQ(other, handle);
}

TEST_F(DeviceAtTheBus, InjectedFaultsFailTheirOwnCallsOnly) {
  std::uint32_t count = 0;
  sim.SetBitModeFails(true);
  EXPECT_NE(driver.setBitMode(handle, 0x00, kSerialEngineMode), kDriverOk);
  sim.SetWritesFail(true);
  std::uint32_t written = 99;
  EXPECT_NE(driver.write(handle, "\x80\xFB\xFB", 3, &written), kDriverOk);
  EXPECT_EQ(written, 0u);
  EXPECT_FALSE(sim.RecentFrames().back().accepted);
  sim.SetReadsFail(true);
  std::uint8_t byte = 0;
  EXPECT_NE(driver.read(handle, &byte, 1, &count), kDriverOk);
  EXPECT_EQ(driver.getQueueStatus(handle, &count), kDriverOk);
  EXPECT_EQ(driver.setTimeouts(handle, 50, 50), kDriverOk);
  ASSERT_EQ(driver.close(handle), kDriverOk);
  sim.SetOpenFails(true);
  EXPECT_NE(driver.open(0, &handle), kDriverOk);
  sim.SetOpenFails(false);
  EXPECT_EQ(driver.open(0, &handle), kDriverOk);
}

TEST_F(DeviceAtTheBus, AnUnpluggedModuleFailsEveryCallUntilPowerOn) {
  sim.UnplugAfter(20);
  Send(DacFrameBytes(0x30, 100));
  std::this_thread::sleep_for(std::chrono::milliseconds(25));
  std::uint32_t count = 0;
  std::uint8_t byte = 0;
  DriverHandle other = nullptr;
  EXPECT_NE(driver.write(handle, "\x80\xFB\xFB", 3, &count), kDriverOk);
  EXPECT_NE(driver.read(handle, &byte, 1, &count), kDriverOk);
  EXPECT_NE(driver.getQueueStatus(handle, &count), kDriverOk);
  EXPECT_NE(driver.setBitMode(handle, 0, 0), kDriverOk);
  EXPECT_NE(driver.setTimeouts(handle, 50, 50), kDriverOk);
  EXPECT_NE(driver.close(handle), kDriverOk);
  EXPECT_NE(driver.open(0, &other), kDriverOk);
  EXPECT_TRUE(SaidLine("sim: module unplugged: every call fails from now on"));
  sim.ResetToPowerOn();
  EXPECT_EQ(driver.open(0, &handle), kDriverOk);
}

}  // namespace
