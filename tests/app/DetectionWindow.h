#pragma once
// The real main window, offscreen, on the simulated module: started as the
// program starts it, on the data file the test wrote, with a silent input
// until the test plays a tone.
#include <functional>
#include <string>
#include <thread>

#include "MonitorOnTheModule.h"
#include "app/MonitorDlg.h"
#include "dsp/AcquisitionWorker.h"
#include "dsp/PeakSearch.h"
#include "res/ResourceIds.h"
#include "support/DialogDriver.h"
#include "support/MessageCapture.h"

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

class DetectionWindow : public MonitorOnTheModule {
 protected:
  // Peak volts of a tone at -9 dB, well above the Noisy mode's -20 dB.
  static constexpr double kLoudToneVolts = 0.5;

  DetectionWindow() : MonitorOnTheModule("tqx-detection") {}

  void TearDown() override {
    if (window.HasWindow()) {
      window.SendSysCommand(SC_CLOSE);
      window.DestroyWindow();
    }
    MonitorOnTheModule::TearDown();
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
  bool K1Closed() const { return RelayClosed(ExpanderLine::K1); }

  WindowActingInsideATick window;
};
