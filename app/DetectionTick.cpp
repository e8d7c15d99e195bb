// The main window's part of the 100 ms tick: the strip to redraw, the
// window's members and controls for the decisions in detect/, and the
// function that the tick completed.
#include <optional>
#include <utility>

#include "app/MonitorDlg.h"
#include "config/BinUsedTable.h"
#include "detect/DetectionState.h"
#include "detect/FunctionActions.h"
#include "detect/ToneDetector.h"
#include "dsp/AcquisitionWorker.h"
#include "dsp/PeakSearch.h"
#include "dsp/PublishedLevels.h"
#include "framework/MessageBox.h"
#include "framework/MessagePump.h"

namespace {

class WindowDetectionHost final : public DetectionHost {
 public:
  explicit WindowDetectionHost(CMonitorDlg& window) : window_(window) {}

  void SaveControls() override { window_.UpdateData(true); }
  // What the user clicked or typed while the tick pumped stays, and the
  // member takes it: the mode the user chose is the next tick's mode.
  void LoadControlsAndUpdate() override {
    window_.UpdateDataKeepingUserInput();
    window_.UpdateWindow();
  }
  void PumpOneMessage() override { ::PumpOneMessage(); }

 private:
  CMonitorDlg& window_;
};

}  // namespace

void CMonitorDlg::DetectionTick() {
  // Every message box runs a message loop that goes on dispatching this timer.
  // A box raised inside a tick (by a message its pumps dispatched, or by the
  // function it ran) means the module may be failing: a tick working inside
  // that box's loop could run a function whose failing writes open boxes of
  // their own, without end. Such a tick is skipped. Any other box (a refused
  // voltage, a failed manual command) leaves detection running in its loop,
  // so an unattended monitor keeps listening behind it.
  const int openBoxes = OpenWindowThreadMessageBoxes();
  if (boxesWhenTickBegan_ && openBoxes > *boxesWhenTickBegan_) return;
  const std::optional<int> outerTick = std::exchange(boxesWhenTickBegan_, openBoxes);

  InvalidateRect(SpectrumStrip, true);
  // The worker publishes whole spectra; the tick decides on the latest one.
  const LevelSpectrum levels = PublishedLevels();
  WindowDetectionHost host(*this);
  ToneDetector detector(host, {environmentMode, functionCounts, peakBinShown, topBinCount},
                        {levels, PeakBin, binUsedTable, configRecord}, {BinHitCounters, decayPhase});
  if (const int function = detector.DetectionTick(); function != 0) RunFunction(function);
  boxesWhenTickBegan_ = outerTick;
}

void CMonitorDlg::RunFunction(int function) { ::RunFunction(driverTable, configRecord, function, closing_); }
