#include "app/MonitorDlg.h"

#include "app/AboutDlg.h"
#include "res/DialogTemplates.h"
#include "res/ProgramIcon.h"
#include "res/ResourceIds.h"

using namespace MainWindowIds;

namespace {

// The window's exchange walks the lines and functions in the order their
// controls were first bound, which is neither name nor number order; these
// tables keep that order in one place.

// lineChoice entry i belongs to the line at kLineChoiceLines[i] (name order,
// P00 to P03 then P10 to P17, as MainWindowIds numbers them).
constexpr std::array<int, kLineChoiceCount> kLineChoiceLines = {0, 4, 5, 6, 7, 8, 9, 10, 11, 1, 2, 3};
constexpr std::array<int, kFunctionCount> kNameExchangeOrder = {5, 6, 7, 8, 1, 2, 3, 4};
constexpr std::array<int, kFunctionCount - 1> kLaterCountExchangeOrder = {6, 7, 8, 1, 2, 3, 4};

int CountField(int function) { return CountFields[function - 1]; }
int NameField(int function) { return NameFields[function - 1]; }

}  // namespace

CMonitorDlg::CMonitorDlg() : CDialog(MainWindowTemplate()), appIcon(&ProgramIcon()) {
  // The About box's icon control finds the icon by its resource id.
  RegisterIconResource(ProgramIcon());
  lineChoice.fill(-1);
  functionNameShown.fill("--");
}

CMonitorDlg::~CMonitorDlg() = default;

void CMonitorDlg::DoDataExchange(CDataExchange& dx) {
  dx.Integer(IDC_PEAK_BIN, peakBinShown);
  dx.Integer(IDC_TOP_COUNT, topBinCount);
  dx.Radio(IDC_NOISY, environmentMode);
  for (int i = 0; i < kLineChoiceCount; ++i) dx.Radio(LineHighButtons[kLineChoiceLines[i]], lineChoice[i]);
  dx.Real(IDC_VOLTS1, manualVolts1);
  dx.Real(IDC_VOLTS2, manualVolts2);
  dx.Integer(CountField(5), functionCounts[5]);
  for (int function : kNameExchangeOrder) dx.Text(NameField(function), functionNameShown[function], kNameMaxChars);
  for (int function : kLaterCountExchangeOrder) dx.Integer(CountField(function), functionCounts[function]);
}

void CMonitorDlg::RefreshNames() {
  UpdateData(true);
  for (int function = 1; function <= kFunctionCount; ++function) {
    // A stored name longer than the field allows (only a file written by other
    // means holds one) is shown cut, so that no later copy of the controls
    // refuses it every 100 ms.
    functionNameShown[function] = FunctionNameText(configRecord, function).substr(0, kNameMaxChars);
  }
  UpdateData(false);
  UpdateWindow();
}

void CMonitorDlg::PauseTick() { KillTimer(TickTimerId); }

// Enter ends nothing here: the window closes only through the close request,
// so the worker, the device and the tick are always taken down in order.
void CMonitorDlg::OnOK() {}

void CMonitorDlg::OnCommand(int id, Notification code) {
  if (code == Notification::Changed) {
    if (id == IDC_VOLTS1 || id == IDC_VOLTS2) PauseTick();
    return;
  }
  for (int function = 1; function <= kFunctionCount; ++function) {
    if (id == SetupButtons[function - 1]) {
      OpenFunctionSetup(function);
      return;
    }
  }
  RunManualCommand(id);
}

void CMonitorDlg::OnSysCommand(unsigned commandId) {
  if ((commandId & 0xFFF0) == AboutCommandId) {
    CAboutDlg about;
    about.DoModal();
    return;
  }
  CDialog::OnSysCommand(commandId);
}

void CMonitorDlg::RefreshWindow() {
  UpdateData(true);
  UpdateData(false);
  UpdateWindow();
}

void CMonitorDlg::StartTickTimer() { SetTimer(TickTimerId, kTickPeriodMs); }
