// The main window's start-up and shutdown sequences: the order in which the
// configuration, the driver library, the device, the expander, the worker and
// the tick come into being, and the order in which they go again.
#include <chrono>
#include <thread>

#include "app/MonitorDlg.h"
#include "config/BinUsedTable.h"
#include "config/ConfigFile.h"
#include "detect/DetectionState.h"
#include "device/DeviceCalls.h"
#include "device/Expander.h"
#include "device/SerialEngine.h"
#include "device/SharedBus.h"
#include "dsp/AcquisitionWorker.h"
#include "framework/MessageBox.h"
#include "framework/WinApp.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"

namespace {

constexpr const char* kDriverLoadFailure = "Error  loading the DLL drivers.  Program will now terminate";
constexpr const char* kDeviceOpenFailure = "Error: Could not open a device. Program will now terminate.";
constexpr int kDeviceNumber = 0;
constexpr std::chrono::milliseconds kSettleAfterCloseMs{100};

}  // namespace

bool CMonitorDlg::StartUp() {
  CDialog::OnInitDialog();  // members into controls: names "--", numbers "0"

  if (const char* about = LoadString(IDS_ABOUTBOX); about[0] != '\0') {
    AppendSystemMenuSeparator();
    AppendSystemMenuItem(AboutCommandId, about);
  }
  SetIcon(*appIcon, true);
  SetIcon(*appIcon, false);

  decayPhase = 0;
  // Design note: a data file that exists but cannot be read is reported (a
  // missing one is the normal first run); the record stays empty for the run.
  if (ReadConfigFile(configRecord)) AfxMessageBox(kDataFileMessage);
  BinHitCounters.fill(0);
  BuildBinUsedTable();

  if (BindDriver(driverTable) != 0) {
    WorkerRunning = 0;
    AfxMessageBox(kDriverLoadFailure);
    ExitProcess(0);
  }
  if (DeviceOpen(driverTable, kDeviceNumber) != kDriverOk) {
    AfxMessageBox(kDeviceOpenFailure);
    ExitProcess(0);
  }
  SetupSerialEngine(driverTable, *this);
  DrainReceiveQueue(driverTable);
  ReadExpanderPair(driverTable, ExpanderShadow.configuration[0], ExpanderShadow.configuration[1],
                   kConfigurationRegister);
  ReadExpanderPair(driverTable, ExpanderShadow.outputs[0], ExpanderShadow.outputs[1], kOutputRegister);

  BusBusy = 0;
  StartWorker();
  StartTickTimer();
  RefreshNames();
  return true;
}

void CMonitorDlg::StartWorker() {
  WorkerRunning = 1;
  // The worker reaches the device through the window's driver table.
  workerThread = AfxBeginThread(AcquisitionThreadProc, &driverTable);
}

// The worker leaves within one cycle of the flag clearing. A worker waiting on
// one of its message boxes is released first: nobody will answer it now.
void CMonitorDlg::StopWorker() {
  WorkerRunning = 0;
  AbandonWaitingMessageBoxes();
  if (workerThread) workerThread->Join();
}

void CMonitorDlg::CloseRequest() {
  // A close can arrive again from a message loop nested inside this one.
  if (closing_) return;
  closing_ = true;

  KillTimer(TickTimerId);
  // The device is reset and closed only once no frame of the worker can be in
  // flight; from then on every device operation is refused quietly, so a tick
  // this close was dispatched from cannot reach the closed device.
  StopWorker();
  CloseDeviceLink(driverTable);
  std::this_thread::sleep_for(kSettleAfterCloseMs);

  // The members are not used once the window has gone, so the final copy of
  // the controls is left out: it could only refuse a voltage field and keep
  // the window open over a closed device.
  EndDialog(IDOK);
}
