#pragma once
// The application object: runs the main window modally, then lets the program
// end.
#include "framework/WinApp.h"

inline constexpr const char* kAppName = "tqxfft";

class CMonitorApp : public CWinApp {
 public:
  CMonitorApp() : CWinApp(kAppName) {}
  bool InitInstance() override;
};
