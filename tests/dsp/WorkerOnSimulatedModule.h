#pragma once
// The acquisition worker against the simulated module (first on the library
// search path in every test), bound, opened and set up as start-up does, with
// every message box answered at once and recorded.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "device/DeviceCalls.h"
#include "device/SerialEngine.h"
#include "device/SharedBus.h"
#include "dsp/AcquisitionWorker.h"
#include "dsp/PeakSearch.h"
#include "framework/MessageBox.h"
#include "sim/SimControl.h"
#include "support/SimulatedModuleControl.h"

class WorkerOnSimulatedModule : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMessageBoxHook([this](std::string_view text) {
      const std::lock_guard lock(messagesMutex_);
      messages_.emplace_back(text);
    });
    PowerOnSilently(sim);
    BusBusy.store(0);
    ASSERT_EQ(BindDriver(table), 0);
    ASSERT_EQ(DeviceOpen(table, 0), kDriverOk);
    QuietHost host;
    SetupSerialEngine(table, host);
  }

  void TearDown() override {
    WorkerRunning.store(0);
    if (worker.valid()) worker.wait();
    CloseDeviceLink(table);
    SetMessageBoxHook({});
    EXPECT_EQ(sim.ProtocolErrorCount(), 0u);
  }

  // PeakBin starts from 0 as at process start, so that a value of 15 or more
  // means this worker has completed a cycle.
  void StartWorker() {
    PeakBin.store(0);
    WorkerRunning.store(1);
    worker = std::async(std::launch::async, AcquisitionThreadProc, static_cast<void*>(&table));
  }

  // A whole cycle's worth of modelled time, with room for a busy machine.
  std::chrono::milliseconds Patience() const {
    return std::chrono::milliseconds(static_cast<int>(sim.AdcFrameSeconds() * 1000.0) + 10 + 1000);
  }

  // Polls until done() holds or patience (counted per expected cycle) runs out.
  template <typename Condition>
  bool WaitFor(Condition done, int cycles = 1) const {
    const auto deadline = std::chrono::steady_clock::now() + cycles * Patience();
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
  }

  std::vector<std::string> Messages() {
    const std::lock_guard lock(messagesMutex_);
    return messages_;
  }

  tqxsim::SimControl& sim = SimulatedModuleControl();
  DriverTable table;
  std::future<unsigned> worker;

 private:
  struct QuietHost : SerialEngineHost {
    void RefreshWindow() override {}
    void StartTickTimer() override {}
  };

  std::mutex messagesMutex_;
  std::vector<std::string> messages_;
};
