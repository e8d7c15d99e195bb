// Runs the whole monitor as its own process with the real message boxes
// (offscreen): once it runs, the module's reads start failing, and as soon as
// the worker's "Read Error!" box shows, the main window is closed through its
// menu with the box still open. Prints "box <text>" for the box it saw and
// "ended" after the application returned; the exit code is the program's.
#include <dlfcn.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>

#include "app/MonitorApp.h"
#include "device/DriverApi.h"
#include "framework/Dialog.h"
#include "sim/SimControl.h"

namespace {

constexpr int kRunBeforeFaultMs = 300;
constexpr int kLookEveryMs = 10;

tqxsim::SimControl* Module() {
  void* library = dlopen(kDriverLibraryName, RTLD_NOW);
  auto get = library ? reinterpret_cast<tqxsim::TqxSimControlFunction>(dlsym(library, "TqxSimControl")) : nullptr;
  return get ? get() : nullptr;
}

class ProbeApp : public CMonitorApp {
 public:
  bool InitInstance() override {
    QTimer::singleShot(kRunBeforeFaultMs, [] {
      if (tqxsim::SimControl* module = Module()) module->SetReadsFail(true);
    });
    auto* look = new QTimer(QApplication::instance());
    QObject::connect(look, &QTimer::timeout, [this, look] {
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (box == nullptr || !box->isVisible() || m_pMainWnd == nullptr) continue;
        look->stop();
        std::printf("box %s\n", box->text().toStdString().c_str());
        std::fflush(stdout);
        m_pMainWnd->SendSysCommand(SC_CLOSE);
        return;
      }
    });
    look->start(kLookEveryMs);
    return CMonitorApp::InitInstance();
  }
};

ProbeApp theApp;

}  // namespace

int main(int argc, char** argv) {
  if (tqxsim::SimControl* module = Module()) module->SetMessagesOnStderr(false);
  const int code = RunApplication(argc, argv);
  std::printf("ended\n");
  return code;
}
