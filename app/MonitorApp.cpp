#include "app/MonitorApp.h"

#include "app/MonitorDlg.h"

bool CMonitorApp::InitInstance() {
  CMonitorDlg dialog;
  m_pMainWnd = &dialog;
  dialog.DoModal();
  m_pMainWnd = nullptr;
  // The window has closed: the application ends here, without a message loop.
  return false;
}
