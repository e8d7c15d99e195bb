#include "framework/WinApp.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace {
CWinApp* theApp = nullptr;
}

CWinApp::CWinApp(const char* appName) : appName_(appName) { theApp = this; }

CWinApp::~CWinApp() {
  if (theApp == this) theApp = nullptr;
}

CWinApp* AfxGetApp() { return theApp; }

const char* AfxGetAppName() { return theApp ? theApp->AppName() : ""; }

// The window system's application object may still live on RunApplication's
// stack when this is called, so static destructors must not run under it:
// flush what was written and leave without them.
void ExitProcess(int code) {
  std::cout.flush();
  std::cerr.flush();
  std::fflush(nullptr);
  std::_Exit(code);
}
