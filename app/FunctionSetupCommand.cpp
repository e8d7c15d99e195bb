#include "app/MonitorDlg.h"
#include "config/FunctionSetupDlg.h"

// The dialog is created without an explicit owner: the framework makes the
// main window its owner, and its modal loop keeps the tick running behind it.
void CMonitorDlg::OpenFunctionSetup(int function) {
  EditedFunction = function;
  CFunctionSetupDlg setup;
  if (setup.DoModal() == IDOK) RefreshNames();
}
