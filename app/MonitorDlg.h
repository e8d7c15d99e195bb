#pragma once
// The monitor's main window: the lines, relays and analog outputs, the eight
// functions with their counts and names, the peak bin and the environment mode.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "config/ConfigRecord.h"
#include "detect/ToneDetector.h"
#include "device/DriverTable.h"
#include "device/SerialEngine.h"
#include "framework/dialog/Dialog.h"
#include "framework/WinThread.h"

// Window timer of the 100 ms detection tick.
inline constexpr int TickTimerId = 100;
// Command of the About item of the window's menu (ids 16 to 31 reach it).
inline constexpr unsigned AboutCommandId = 16;

// The spectrum strip's rectangle in client pixels, as the last paint placed it
// (all zero before the first); the tick invalidates it (SpectrumStrip.cpp).
extern CRect SpectrumStrip;

inline constexpr int kLineChoiceCount = 12;

class CMonitorDlg : public CDialog, private SerialEngineHost {
 public:
  CMonitorDlg();
  ~CMonitorDlg() override;

  // Copies the eight names from the configuration record into the Name fields.
  void RefreshNames();
  // The voltage fields' change handler: stops the tick until a Set Analog.
  void PauseTick();
  // Behind the eight Setup buttons: edits one function (FunctionSetupCommand.cpp).
  void OpenFunctionSetup(int function);
  // The 100 ms detection tick (DetectionTick.cpp).
  void DetectionTick();
  // Runs the actions of a function whose count is complete; sends nothing once
  // the close has begun (DetectionTick.cpp).
  void RunFunction(int function);
  // Behind "Set Analog 1" and "Set Analog 2" (ManualCommands.cpp).
  void SetManualAnalog(int channel);

  // The members, bound to the controls by DoDataExchange. Counts and names
  // are indexed by function number 1 to 8 (entry 0 is unused).
  std::unique_ptr<CWinThread> workerThread;
  std::int32_t peakBinShown = 0;
  std::int32_t topBinCount = 0;
  std::int32_t environmentMode = kNoisyEnvironment;
  // Which button of each "1"/"0" pair is selected (-1 none, 0 "1", 1 "0"), in
  // the order P00, P10 to P17, P01 to P03.
  std::array<std::int32_t, kLineChoiceCount> lineChoice;
  float manualVolts1 = 0.0f;
  float manualVolts2 = 0.0f;
  std::array<std::int32_t, kFunctionCount + 1> functionCounts{};
  std::array<std::string, kFunctionCount + 1> functionNameShown;
  const IconResource* appIcon;
  DriverTable driverTable;

 protected:
  void DoDataExchange(CDataExchange& dx) override;
  bool OnInitDialog() override { return StartUp(); }
  void OnOK() override;
  void OnCancel() override { CloseRequest(); }
  void OnCommand(int id, Notification code) override;
  void OnSysCommand(unsigned commandId) override;
  void OnTimer(int /*id*/) override { DetectionTick(); }
  void OnPaint(CPaintDC& dc) override { PaintWindow(dc); }

 private:
  // The start-up and shutdown sequences (MonitorLifecycle.cpp).
  bool StartUp();
  void CloseRequest();
  void StartWorker();
  void StopWorker();

  // The spectrum strip (SpectrumStrip.cpp).
  void PaintWindow(CPaintDC& dc);
  // The line, relay and Set Analog buttons; false for any other id
  // (ManualCommands.cpp).
  bool RunManualCommand(int id);

  // SerialEngineHost
  void RefreshWindow() override;
  void StartTickTimer() override;

  bool closing_ = false;
  // While a tick runs: the number of window-thread boxes that were open when
  // it began. Nested ticks run from the message loops that a tick pumps.
  std::optional<int> boxesWhenTickBegan_;
};
