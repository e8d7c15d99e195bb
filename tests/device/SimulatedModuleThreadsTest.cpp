// The acquisition worker's frames and the window thread's frames on the
// simulated module at once, and a close while a frame is on the bus.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <thread>

#include "SimulatedModuleFixture.h"
#include "device/AdcFrame.h"
#include "device/DacFrame.h"
#include "framework/MessageBox.h"

using ::testing::IsEmpty;
using namespace std::chrono_literals;

namespace {

using ModuleSharedByTwoThreads = SimulatedModuleTest;

TEST_F(ModuleSharedByTwoThreads, WorkerAndWindowFramesReachTheModuleWhole) {
  sim.SetConstantInput(2.5);
  std::atomic<bool> windowDone{false};
  std::atomic<int> badSamples{0};
  std::thread worker([&] {
    std::array<double, kConversionsPerFrame> samples{};
    while (!windowDone) {
      samples.fill(0.0);
      ReadSampleFrame(table, samples);
      for (double volts : samples) {
        if (std::abs(volts - 2.5) > 0.002) ++badSamples;
      }
    }
  });
  for (int i = 0; i < 4; ++i) {
    DriveExpanderLine(table, ExpanderLine::K1, LineAction::Toggle);
    WriteAnalogChannel(table, 2, 1.0f + i);
  }
  windowDone = true;
  worker.join();

  EXPECT_EQ(badSamples.load(), 0);
  const auto registers = sim.ExpanderRegisters();
  EXPECT_EQ(registers[0], ExpanderShadow.outputs[0]);
  EXPECT_EQ(registers[6], ExpanderShadow.configuration[0]);
  EXPECT_EQ(sim.AnalogChannel(2).code, VoltsToCode(4.0f));
  EXPECT_THAT(messages.Texts(), IsEmpty());
}

TEST_F(ModuleSharedByTwoThreads, ACloseWaitsForTheSampleFrameOnTheBus) {
  sim.SetConstantInput(1.0);
  std::array<double, kConversionsPerFrame> samples{};
  const auto writesBefore = sim.WriteCount();
  std::thread worker([&] { ReadSampleFrame(table, samples); });
  while (sim.WriteCount() == writesBefore) std::this_thread::sleep_for(100us);  // the frame is in flight
  CloseDeviceLink(table);
  worker.join();

  EXPECT_FALSE(sim.IsOpen());
  for (double volts : samples) EXPECT_NEAR(volts, 1.0, 0.002);  // the whole reply arrived
  EXPECT_THAT(messages.Texts(), IsEmpty());
}

TEST_F(ModuleSharedByTwoThreads, TheCloseOrderReleasesAWorkerWaitingOnItsMessageBox) {
  sim.SetReadsFail(true);
  std::atomic<bool> running{true};
  std::thread worker;
  {
    RealMessageBoxes realBoxes;  // "Read Error!" waits for a user nobody will be
    worker = std::thread([&] {
      std::array<double, kConversionsPerFrame> samples{};
      while (running) ReadSampleFrame(table, samples);
    });
    while (sim.WriteCount() < 2) std::this_thread::sleep_for(1ms);  // set-up's write, then the frame
    std::this_thread::sleep_for(20ms);                               // its box is up

    // What the close request does, in its order.
    running = false;
    AbandonWaitingMessageBoxes();
    worker.join();
    CloseDeviceLink(table);
  }
  ResetMessageBoxAbandonment();
  EXPECT_FALSE(sim.IsOpen());
  sim.SetReadsFail(false);
}

}  // namespace
