#pragma once
// A driver table bound, the way start-up binds it, to the simulated module
// (first on the library search path in every test), which is reset to its
// power-on state, opened and set up for each test.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "BusCheckedMessages.h"
#include "device/DeviceCalls.h"
#include "device/Expander.h"
#include "device/SerialEngine.h"
#include "device/SharedBus.h"
#include "sim/SimControl.h"

// The simulated module's side door, from the library BindDriver loaded.
inline tqxsim::SimControl& SimulatedModuleControl() {
  static tqxsim::SimControl* control = [] {
    void* library = dlopen(kDriverLibraryName, RTLD_NOW);
    if (library == nullptr) return static_cast<tqxsim::SimControl*>(nullptr);
    auto get = reinterpret_cast<tqxsim::TqxSimControlFunction>(dlsym(library, "TqxSimControl"));
    return get == nullptr ? nullptr : get();
  }();
  if (control == nullptr) throw std::runtime_error("the simulated module's library is not on the search path");
  return *control;
}

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
