// The "Initial Setup" group's commands: every line and relay, and both analog
// channels, driven by hand.
#include <array>

#include "app/MonitorDlg.h"
#include "device/DacFrame.h"
#include "device/Expander.h"
#include "framework/MessageBox.h"
#include "res/ResourceIds.h"

using namespace MainWindowIds;

namespace {

// Each line's "1" and "0" and each relay's "Close" and "Open" drive one
// expander line; which button of a pair shows as selected does not matter.
struct OutputButton {
  int id;
  ExpanderLine line;
  LineAction action;
};

constexpr std::array<OutputButton, 32> kOutputButtons{{
    {IDC_P00_HIGH, ExpanderLine::P00, LineAction::High}, {IDC_P00_LOW, ExpanderLine::P00, LineAction::Low},
    {IDC_P01_HIGH, ExpanderLine::P01, LineAction::High}, {IDC_P01_LOW, ExpanderLine::P01, LineAction::Low},
    {IDC_P02_HIGH, ExpanderLine::P02, LineAction::High}, {IDC_P02_LOW, ExpanderLine::P02, LineAction::Low},
    {IDC_P03_HIGH, ExpanderLine::P03, LineAction::High}, {IDC_P03_LOW, ExpanderLine::P03, LineAction::Low},
    {IDC_P10_HIGH, ExpanderLine::P10, LineAction::High}, {IDC_P10_LOW, ExpanderLine::P10, LineAction::Low},
    {IDC_P11_HIGH, ExpanderLine::P11, LineAction::High}, {IDC_P11_LOW, ExpanderLine::P11, LineAction::Low},
    {IDC_P12_HIGH, ExpanderLine::P12, LineAction::High}, {IDC_P12_LOW, ExpanderLine::P12, LineAction::Low},
    {IDC_P13_HIGH, ExpanderLine::P13, LineAction::High}, {IDC_P13_LOW, ExpanderLine::P13, LineAction::Low},
    {IDC_P14_HIGH, ExpanderLine::P14, LineAction::High}, {IDC_P14_LOW, ExpanderLine::P14, LineAction::Low},
    {IDC_P15_HIGH, ExpanderLine::P15, LineAction::High}, {IDC_P15_LOW, ExpanderLine::P15, LineAction::Low},
    {IDC_P16_HIGH, ExpanderLine::P16, LineAction::High}, {IDC_P16_LOW, ExpanderLine::P16, LineAction::Low},
    {IDC_P17_HIGH, ExpanderLine::P17, LineAction::High}, {IDC_P17_LOW, ExpanderLine::P17, LineAction::Low},
    {IDC_CLOSE_K1, ExpanderLine::K1, LineAction::High},  {IDC_OPEN_K1, ExpanderLine::K1, LineAction::Low},
    {IDC_CLOSE_K2, ExpanderLine::K2, LineAction::High},  {IDC_OPEN_K2, ExpanderLine::K2, LineAction::Low},
    {IDC_CLOSE_K3, ExpanderLine::K3, LineAction::High},  {IDC_OPEN_K3, ExpanderLine::K3, LineAction::Low},
    {IDC_CLOSE_K4, ExpanderLine::K4, LineAction::High},  {IDC_OPEN_K4, ExpanderLine::K4, LineAction::Low},
}};

}  // namespace

bool CMonitorDlg::RunManualCommand(int id) {
  if (id == IDC_SET_ANALOG1 || id == IDC_SET_ANALOG2) {
    SetManualAnalog(id == IDC_SET_ANALOG1 ? 1 : 2);
    return true;
  }
  for (const OutputButton& button : kOutputButtons) {
    if (button.id == id) {
      DriveExpanderLine(driverTable, button.line, button.action);
      return true;
    }
  }
  return false;
}

void CMonitorDlg::SetManualAnalog(int channel) {
  // A voltage field that holds no number has already been refused with its
  // message. The tick stays stopped (typing stopped it) and nothing is
  // written: a running tick would refuse the same field every 100 ms.
  if (!UpdateData(true)) return;
  // Typing stopped the tick; pressing the button ends that pause, whether or
  // not the voltage is then accepted.
  StartTickTimer();
  const float volts = channel == 1 ? manualVolts1 : manualVolts2;
  if (!AnalogVoltsInRange(volts)) {
    AfxMessageBox(kVoltsOutOfRangeMessage);
    return;
  }
  WriteAnalogChannel(driverTable, channel, volts);
}
