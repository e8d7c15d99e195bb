#pragma once
// The real main window, offscreen, on the simulated module: started as the
// program starts it, in a working folder of its own that holds the data file
// the test wrote, with a silent input (the bias alone) until the test plays a
// tone.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>

#include "app/MonitorDlg.h"
#include "config/BinUsedTable.h"
#include "config/ConfigFile.h"
#include "dsp/AcquisitionWorker.h"
#include "dsp/PeakSearch.h"
#include "framework/MessageBox.h"
#include "res/ResourceIds.h"
#include "support/DialogDriver.h"
#include "support/MessageCapture.h"
#include "support/ScratchFolder.h"
#include "support/SimulatedModuleControl.h"

// The main window, which can run an action from inside one of its ticks: the
// action is posted from the tick's first copy of the controls once `when`
// holds, so that one of the tick's own pumps runs it.
class WindowActingInsideATick : public CMonitorDlg {
 public:
  void ActInsideATick(std::function<void()> action, std::function<bool()> when = [] { return true; }) {
    action_ = std::move(action);
    when_ = std::move(when);
  }
  bool ActionDone() const { return !action_ && acted_; }

  int ticksRunning = 0;
  bool actedInsideTick = false;

 protected:
  void OnTimer(int id) override {
    ++ticksRunning;
    CMonitorDlg::OnTimer(id);
    --ticksRunning;
  }
  void DoDataExchange(CDataExchange& dx) override {
    CMonitorDlg::DoDataExchange(dx);
    if (!action_ || ticksRunning == 0 || !when_()) return;
    PostToWindowThread([this, action = std::exchange(action_, nullptr)] {
      actedInsideTick = ticksRunning > 0;
      action();
      acted_ = true;
    });
    // A posted action can wait for the system's shortest timer (10 ms on
    // Windows); the tick pumps after this, so it must be due by then.
    std::this_thread::sleep_for(30ms);
  }

 private:
  std::function<void()> action_;
  std::function<bool()> when_;
  bool acted_ = false;
};

class DetectionWindow : public ::testing::Test {
 protected:
  // Peak volts of a tone at -9 dB, well above the Noisy mode's -20 dB.
  static constexpr double kLoudToneVolts = 0.5;

  static constexpr std::uint8_t kK1Mask = 0x10;

  void SetUp() override {
    sim.ResetToPowerOn();
    sim.SetMessagesOnStderr(false);
    sim.SetConstantInput(tqxsim::kInputBiasVolts);
    configRecord = {};
    binUsedTable = {};
    // An earlier window's close gave up on every waiting box for good; each
    // test is a new run.
    ResetMessageBoxAbandonment();
  }

  void TearDown() override {
    if (window.HasWindow()) {
      window.SendSysCommand(SC_CLOSE);
      window.DestroyWindow();
    }
    EXPECT_EQ(sim.ProtocolErrorCount(), 0u) << "the module did not understand a frame";
    EXPECT_EQ(sim.InterleavedWriteCount(), 0u);
  }

  // Writes the data file, starts the window and waits for the worker's first
  // spectrum.
  void Start(const ConfigRecord& stored = ConfigRecord{}) {
    ASSERT_FALSE(WriteConfigFile(stored));
    ASSERT_TRUE(window.Create());
    ASSERT_TRUE(ProcessEventsUntil([] { return PeakBin.load() >= kFirstPeakBin; }));
  }

  // A function that listens to one bin.
  static void Listen(ConfigRecord& record, int function, int bin, int requiredCount) {
    record.triggerBin1[function] = bin;
    record.requiredCount[function] = requiredCount;
  }

  std::string Text(int id) const { return window.GetDlgItemText(id); }
  std::uint8_t Register(int index) const { return sim.ExpanderRegisters()[index]; }
  bool K1Closed() const { return (Register(tqxsim::kOutputs0) & kK1Mask) != 0 && (Register(tqxsim::kConfiguration0) & kK1Mask) == 0; }

 private:
  ScratchFolder folder_{"tqx-detection"};

 protected:
  tqxsim::SimControl& sim = SimulatedModuleControl();
  WindowActingInsideATick window;
};
