// The main window's part of the 100 ms tick: the strip to redraw, the
// window's members and controls for the decisions in detect/, and the
// function that the tick completed.
#include "app/MonitorDlg.h"
#include "config/BinUsedTable.h"
#include "detect/DetectionState.h"
#include "detect/FunctionActions.h"
#include "detect/ToneDetector.h"
#include "dsp/PeakSearch.h"
#include "dsp/PublishedLevels.h"
#include "framework/MessageBox.h"
#include "framework/MessagePump.h"

namespace {

class WindowDetectionHost final : public DetectionHost {
 public:
  explicit WindowDetectionHost(CMonitorDlg& window) : window_(window) {}

  void SaveControls() override { window_.UpdateData(true); }
  void LoadControlsAndUpdate() override {
    window_.UpdateData(false);
    window_.UpdateWindow();
  }
  void PumpOneMessage() override { ::PumpOneMessage(); }

 private:
  CMonitorDlg& window_;
};

}  // namespace

void CMonitorDlg::DetectionTick() {
  // Every message box runs a message loop that goes on dispatching this timer.
  // A tick working inside it could run a function whose failing writes open
  // boxes of their own, whose loops run further ticks, without end while the
  // module is gone. So no tick works while a box of this thread is open;
  // counting resumes once it is dismissed.
  if (OpenWindowThreadMessageBoxes() > 0) return;

  InvalidateRect(SpectrumStrip, true);
  // The worker publishes whole spectra; the tick decides on the latest one.
  const LevelSpectrum levels = PublishedLevels();
  WindowDetectionHost host(*this);
  ToneDetector detector(host, {environmentMode, functionCounts, peakBinShown, topBinCount},
                        {levels, PeakBin, binUsedTable, configRecord}, {BinHitCounters, decayPhase});
  if (const int function = detector.DetectionTick(); function != 0) RunFunction(function);
}

void CMonitorDlg::RunFunction(int function) { ::RunFunction(driverTable, configRecord, function, closing_); }
