#include "app/MonitorDlg.h"

bool CMonitorDlg::RunManualCommand(int /*id*/) { return false; }
