// Renders the user's guide's pictures from the real windows, offscreen, so the
// guide always shows what the program draws: the main window while the
// simulated module's demo plays its first tone, and the Function Setup dialog
// editing function 1.
//   tqx-screenshots OUTPUT_FOLDER
// Run it in a folder that holds the demo's data file, with the simulated
// module first on the library search path (`make screenshots` does both).
#include <QApplication>
#include <QElapsedTimer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/MonitorDlg.h"
#include "config/FunctionSetupDlg.h"
#include "framework/MessageBox.h"
#include "framework/qt/QtAccess.h"
#include "framework/WinApp.h"

namespace {

using namespace std::chrono_literals;

// Long enough for about fifteen ticks over the demo's first tone: the spectrum
// strip shows the tone and function 1 has counted and switched K1.
constexpr auto kDemoToneTime = 1650ms;
// The dialog is pictured once its first paint is surely done.
constexpr auto kDialogSettleTime = 300ms;
constexpr int kShownFunction = 1;

class ScreenshotApp : public CWinApp {
 public:
  ScreenshotApp() : CWinApp("tqxfft") {}
  bool InitInstance() override { return false; }
};

void ProcessEventsFor(std::chrono::milliseconds duration) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < duration.count()) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool Save(const CDialog& dialog, const std::filesystem::path& file) {
  QWidget* widget = DialogWidget(dialog);
  if (widget != nullptr && widget->grab().save(QString::fromStdString(file.string()), "PNG")) {
    std::printf("screenshots: wrote %s\n", file.c_str());
    return true;
  }
  std::fprintf(stderr, "screenshots: cannot write %s\n", file.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: tqx-screenshots OUTPUT_FOLDER\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication toolkit(argc, argv);
  ShowMessageBoxesWithTheToolkit();
  QApplication::setQuitOnLastWindowClosed(false);
  ScreenshotApp app;
  // A message box would stand in front of what is pictured: the pictures are
  // not taken then.
  bool messageShown = false;
  SetMessageBoxHook([&messageShown](std::string_view text) {
    std::fprintf(stderr, "screenshots: the program said \"%.*s\"\n", static_cast<int>(text.size()), text.data());
    messageShown = true;
  });

  CMonitorDlg window;
  if (!window.Create()) return 1;
  ProcessEventsFor(kDemoToneTime);
  bool saved = !messageShown && Save(window, folder / "main-window.png");

  EditedFunction = kShownFunction;
  CFunctionSetupDlg setup;
  QTimer::singleShot(kDialogSettleTime, [&] {
    saved = !messageShown && Save(setup, folder / "function-setup.png") && saved;
    setup.EndDialog(IDCANCEL);
  });
  setup.DoModal();

  window.SendSysCommand(SC_CLOSE);
  window.DestroyWindow();
  return saved ? 0 : 1;
}
