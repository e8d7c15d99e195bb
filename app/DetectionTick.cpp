#include "app/MonitorDlg.h"

void CMonitorDlg::DetectionTick() {}
