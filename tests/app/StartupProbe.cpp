// Runs the monitor as its own process for the start-up tests: each message box
// is printed as "message <text>" and answered at once, and a normal start-up
// is closed again through the window's menu after a short run.
//   startup_probe [--open-fails]
#include <dlfcn.h>

#include <cstdio>
#include <cstring>

#include "app/MonitorApp.h"
#include "framework/Dialog.h"
#include "framework/MessageBox.h"
#include "sim/SimControl.h"
#include "support/DialogDriver.h"

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
  void* library = dlopen("libftd2xx.so", RTLD_NOW);
  if (library == nullptr) return;
  auto control = reinterpret_cast<tqxsim::TqxSimControlFunction>(dlsym(library, "TqxSimControl"));
  if (control != nullptr) control()->SetOpenFails(true);
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
