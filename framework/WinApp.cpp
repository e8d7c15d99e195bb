#include "framework/WinApp.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "framework/Dialog.h"

namespace {
CWinApp* theApp = nullptr;
}

CWinApp::CWinApp(const char* appName) : appName_(appName) { theApp = this; }

CWinApp::~CWinApp() {
  if (theApp == this) theApp = nullptr;
}

CWinApp* AfxGetApp() { return theApp; }

const char* AfxGetAppName() { return theApp ? theApp->AppName() : ""; }

int RunApplication(int argc, char** argv) {
  QApplication toolkit(argc, argv);
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return 0;
  QApplication::setApplicationName(QString::fromLatin1(app->AppName()));
  // An application that keeps a window of its own after InitInstance runs the
  // toolkit's loop until that window closes; one whose InitInstance returned
  // false has already done all its work in modal loops.
  if (app->InitInstance() && app->m_pMainWnd != nullptr && app->m_pMainWnd->HasWindow()) {
    QApplication::exec();
  }
  return 0;
}

// The toolkit's application object still lives on RunApplication's stack when
// this is called, so static destructors must not run under it: flush what was
// written and leave without them.
void ExitProcess(int code) {
  std::cout.flush();
  std::cerr.flush();
  std::fflush(nullptr);
  std::_Exit(code);
}
