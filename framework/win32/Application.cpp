// The program's entry on Windows: the application object's InitInstance, then
// the message loop for as long as its main window stays open.
#include "framework/dialog/DialogWindow.h"
#include "framework/MessageBoxDisplay.h"
#include "framework/WinApp.h"
#include "framework/win32/Native.h"

namespace {

bool MainWindowOpen(const CWinApp& app) {
  const CDialog* main = app.m_pMainWnd;
  return main != nullptr && main->HasWindow() && !main->GetWindow()->endRequested;
}

}  // namespace

int RunApplication(int /*argc*/, char** /*argv*/) {
  native::UseStartingConsole();
  native::InitialiseControls();
  native::UseFineTimerGrain();
  ShowMessageBoxesWithTheToolkit();
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return 0;
  // An application whose InitInstance returned false has already done all its
  // work in modal loops.
  if (!app->InitInstance()) return 0;
  while (MainWindowOpen(*app) && native::WaitAndHandleMessage()) {
  }
  return 0;
}
