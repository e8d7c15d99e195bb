#include "app/MonitorDlg.h"

void CMonitorDlg::PaintWindow(CPaintDC& /*dc*/) {}
