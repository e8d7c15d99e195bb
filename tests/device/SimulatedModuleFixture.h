#pragma once
// A driver table bound, the way start-up binds it, to the simulated module
// (first on the library search path in every test), which is reset to its
// power-on state, opened and set up for each test.
#include <gtest/gtest.h>

#include "BusCheckedMessages.h"
#include "device/DeviceCalls.h"
#include "device/Expander.h"
#include "device/SerialEngine.h"
#include "device/SharedBus.h"
#include "sim/SimControl.h"
#include "support/SimulatedModuleControl.h"


class SimulatedModuleTest : public ::testing::Test {
 protected:
  struct QuietHost : SerialEngineHost {
    void RefreshWindow() override {}
    void StartTickTimer() override {}
  };

  void SetUp() override {
    sim.ResetToPowerOn();
    sim.SetMessagesOnStderr(false);
    GpioLowShadow.store(0);
    BusBusy.store(0);
    ExpanderShadow = ExpanderRegisters{};
    ASSERT_EQ(BindDriver(table), 0);
    ASSERT_EQ(DeviceOpen(table, 0), kDriverOk);
    QuietHost host;
    SetupSerialEngine(table, host);
    DrainReceiveQueue(table);
  }

  void TearDown() override {
    CloseDeviceLink(table);
    EXPECT_EQ(sim.ProtocolErrorCount(), 0u) << "the module did not understand a frame";
    EXPECT_EQ(sim.InterleavedWriteCount(), 0u);
    EXPECT_EQ(BusBusy.load(), 0);
  }

  tqxsim::SimControl& sim = SimulatedModuleControl();
  DriverTable table;
  BusCheckedMessages messages;
};
