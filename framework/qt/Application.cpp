// The program's entry on the toolkit: the application object's InitInstance
// inside the toolkit's application.
#include <QApplication>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "framework/dialog/Dialog.h"
#include "framework/WinApp.h"
#include "framework/qt/QtAccess.h"

namespace {

bool Unset(const char* variable) {
  const char* value = std::getenv(variable);
  return value == nullptr || value[0] == '\0';
}

// The toolkit aborts with a core dump when it finds no window system to show
// a window on; a program started over SSH or from a service says so plainly
// instead. Only the desktop platforms need a display: the offscreen one (tests,
// screenshots) does not.
bool DisplayMissing(int argc, char** argv) {
  std::string platform = Unset("QT_QPA_PLATFORM") ? "" : std::getenv("QT_QPA_PLATFORM");
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "-platform") == 0) platform = argv[i + 1];
  }
  const bool desktop = platform.empty() || platform.starts_with("xcb") || platform.starts_with("wayland");
  return desktop && Unset("DISPLAY") && Unset("WAYLAND_DISPLAY");
}

}  // namespace

int RunApplication(int argc, char** argv) {
  if (DisplayMissing(argc, argv)) {
    std::cerr << AfxGetAppName() << ": there is no display to show the window on (DISPLAY and WAYLAND_DISPLAY "
              << "are not set); start it on the desktop, or without one under xvfb-run: xvfb-run "
              << AfxGetAppName() << "\n";
    return kNoDisplayExitCode;
  }
  QApplication toolkit(argc, argv);
  ShowMessageBoxesWithTheToolkit();
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

