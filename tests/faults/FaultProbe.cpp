// Runs the whole monitor as its own process with the real message boxes
// (offscreen): once it runs, the module's reads start failing, and as soon as
// the worker's "Read Error!" box shows, the main window is closed through its
// menu with the box still open. Prints "box <text>" for the box it saw and
// "ended" after the application returned; the exit code is the program's.

#include <cstdio>

#include "app/MonitorApp.h"
#include "framework/dialog/Dialog.h"
#include "sim/SimControl.h"
#include "support/DialogDriver.h"
#include "support/SimulatedModuleControl.h"

namespace {

constexpr auto kRunBeforeFault = 300ms;
constexpr auto kLookEvery = 10ms;

class ProbeApp : public CMonitorApp {
 public:
  bool InitInstance() override {
    PostToWindowThread([] {
      if (tqxsim::SimControl* module = FindSimulatedModuleControl()) module->SetReadsFail(true);
    }, kRunBeforeFault);
    LookForABox();
    return CMonitorApp::InitInstance();
  }

 private:
  void LookForABox() {
    PostToWindowThread([this] {
      const std::vector<VisibleMessageBox> boxes = VisibleMessageBoxes();
      if (boxes.empty() || m_pMainWnd == nullptr) {
        LookForABox();
        return;
      }
      std::printf("box %s\n", boxes.front().text.c_str());
      std::fflush(stdout);
      m_pMainWnd->SendSysCommand(SC_CLOSE);
    }, kLookEvery);
  }
};

ProbeApp theApp;

}  // namespace

int main(int argc, char** argv) {
  if (tqxsim::SimControl* module = FindSimulatedModuleControl()) module->SetMessagesOnStderr(false);
  const int code = RunApplication(argc, argv);
  std::printf("ended\n");
  return code;
}
