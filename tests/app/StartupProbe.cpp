// Runs the monitor as its own process for the start-up tests: each message box
// is printed as "message <text>" and answered at once, and a normal start-up
// is closed again through the window's menu after a short run.
//   startup_probe [--open-fails]

#include <cstdio>
#include <cstring>

#include "app/MonitorApp.h"
#include "framework/dialog/Dialog.h"
#include "framework/MessageBox.h"
#include "sim/SimControl.h"
#include "support/DialogDriver.h"
#include "support/SimulatedModuleControl.h"

namespace {

constexpr auto kRun = 300ms;

class ProbeApp : public CMonitorApp {
 public:
  bool InitInstance() override {
    PostToWindowThread([this] {
      if (m_pMainWnd != nullptr) m_pMainWnd->SendSysCommand(SC_CLOSE);
    }, kRun);
    return CMonitorApp::InitInstance();
  }
};

ProbeApp theApp;

void FailSimulatedOpen() {
  if (tqxsim::SimControl* control = FindSimulatedModuleControl()) control->SetOpenFails(true);
}

}  // namespace

int main(int argc, char** argv) {
  SetMessageBoxHook([](std::string_view text) {
    std::printf("message %.*s\n", static_cast<int>(text.size()), text.data());
    std::fflush(stdout);
  });
  if (argc > 1 && std::strcmp(argv[1], "--open-fails") == 0) FailSimulatedOpen();
  const int code = RunApplication(argc, argv);
  std::printf("ended\n");
  return code;
}
