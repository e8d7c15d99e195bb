#include "app/MonitorDlg.h"

void CMonitorDlg::OpenFunctionSetup(int /*function*/) {}
