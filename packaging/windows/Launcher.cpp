// Starts the monitor from a Start Menu entry. The monitor keeps its data file
// "tqxdata.bin" in its working folder, and a menu launch has none worth the
// name, so it runs in the user's own data folder (%APPDATA%\tqxfft, made when
// missing): a setup made from the menu is found again from the menu.
//
//   tqxfft-launch.exe              the monitor beside it, on the driver
//                                  library the system finds
//   tqxfft-launch.exe --simulated  the copy in simulated\, which finds the
//                                  simulated module beside itself first
//
// Ends with the monitor's exit code; the monitor inherits the launcher's
// standard handles, so its messages reach a console that started it.
#include <process.h>
#include <stdlib.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "framework/MessageBox.h"
#include "framework/WinApp.h"

namespace {

constexpr int kLaunchFailed = 1;

class LauncherApp : public CWinApp {
 public:
  LauncherApp() : CWinApp("tqxfft") {}
  void Simulated(bool simulated) { simulated_ = simulated; }

  bool InitInstance() override { ExitProcess(Launch()); }

 private:
  int Refuse(const std::string& text) {
    AfxMessageBox(text);
    return kLaunchFailed;
  }

  int Launch() {
    const char* appData = std::getenv("APPDATA");
    if (appData == nullptr || appData[0] == '\0') {
      return Refuse("Your application data folder (%APPDATA%) could not be found.");
    }
    const std::filesystem::path dataFolder = std::filesystem::path(appData) / "tqxfft";
    std::error_code error;
    std::filesystem::create_directories(dataFolder, error);
    if (!error) std::filesystem::current_path(dataFolder, error);
    if (error) return Refuse("The data folder " + dataFolder.string() + " cannot be used.");

    // The C library's full path of this program, wherever it was started from.
    const std::filesystem::path monitor =
        std::filesystem::path(_pgmptr).parent_path() / (simulated_ ? L"simulated\\tqxfft.exe" : L"tqxfft.exe");
    // The program name is quoted, as the folder may hold spaces.
    const std::wstring quoted = L"\"" + monitor.wstring() + L"\"";
    const intptr_t exitCode = _wspawnl(_P_WAIT, monitor.c_str(), quoted.c_str(), nullptr);
    if (exitCode == -1) return Refuse("The monitor " + monitor.string() + " could not be started.");
    return static_cast<int>(exitCode);
  }

  bool simulated_ = false;
};

LauncherApp theApp;

}  // namespace

int main(int argc, char** argv) {
  theApp.Simulated(argc > 1 && std::strcmp(argv[1], "--simulated") == 0);
  return RunApplication(argc, argv);
}
