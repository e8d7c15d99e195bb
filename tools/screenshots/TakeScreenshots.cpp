// Renders the user's guide's pictures from the real windows, so the guide
// always shows what the program draws: the main window while the simulated
// module's demo plays its first tone, and the Function Setup dialog editing
// function 1. On Linux the windows are Qt's, offscreen; on Windows they are
// the dialog manager's (under Wine on a virtual display), and only the main
// window is pictured, as main-window-windows.png, since the guide shows only
// that one twice.
//   tqx-screenshots OUTPUT_FOLDER [SUFFIX]
// SUFFIX goes at the end of each picture's name: the run on a screen scaled
// to 150 % writes main-window-150.png beside main-window.png.
// Run it in a folder that holds the demo's data file, with the simulated
// module first on the library search path (`make screenshots` and
// `make screenshots-windows` do both).
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "GuidePictures.h"
#include "PngFile.h"
#include "app/MonitorDlg.h"
#include "config/FunctionSetupDlg.h"
#include "framework/MessageBox.h"
#include "support/DialogDriver.h"

namespace {

using namespace std::chrono_literals;

// Long enough for about fifteen ticks over the demo's first tone: the spectrum
// strip shows the tone and function 1 has counted and switched K1.
constexpr auto kDemoToneTime = 1650ms;
// The dialog is pictured once its first paint is surely done.
constexpr auto kDialogSettleTime = 300ms;
constexpr int kShownFunction = 1;

// The grabbed pixels are COLORREFs (0x00BBGGRR).
std::vector<std::uint32_t> ToArgb(const ClientPicture& picture) {
  std::vector<std::uint32_t> argb;
  argb.reserve(picture.pixels.size());
  for (const COLORREF pixel : picture.pixels) {
    argb.push_back(0xFF000000u | (pixel & 0xFFu) << 16 | (pixel & 0xFF00u) | (pixel >> 16 & 0xFFu));
  }
  return argb;
}

bool Save(const CDialog& dialog, const std::filesystem::path& file) {
  const ClientPicture picture = GrabClient(dialog);
  if (WritePng(file, picture.width, picture.height, ToArgb(picture), PngColours::Rgb)) {
    std::printf("screenshots: wrote %s\n", file.string().c_str());
    return true;
  }
  std::fprintf(stderr, "screenshots: cannot write %s\n", file.string().c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: tqx-screenshots OUTPUT_FOLDER [SUFFIX]\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  const std::string suffix = argc == 3 ? argv[2] : "";
  const auto picture = [&](std::string_view name) { return folder / (std::string(name) + suffix + ".png"); };
  std::filesystem::create_directories(folder);
  const DrivenWindowSystem windows(argc, argv);
  DrivenApp app;
  // A message box would stand in front of what is pictured: the pictures are
  // not taken then.
  bool messageShown = false;
  SetMessageBoxHook([&messageShown](std::string_view text) {
    std::fprintf(stderr, "screenshots: the program said \"%.*s\"\n", static_cast<int>(text.size()), text.data());
    messageShown = true;
  });
  // A window not as the script expects would picture the wrong thing: the run
  // fails, though it goes on to close the windows.
  bool driverFailed = false;
  SetDriverFailureHandler([&driverFailed](const std::string& what) {
    std::fprintf(stderr, "screenshots: %s\n", what.c_str());
    driverFailed = true;
  });

  CMonitorDlg window;
  if (!window.Create()) return 1;
  ProcessEventsFor(kDemoToneTime);
  bool saved = !messageShown && Save(window, picture(kMainWindowPicture));

  if (kFunctionSetupPictured) {
    EditedFunction = kShownFunction;
    CFunctionSetupDlg setup;
    PostToWindowThread(
        [&] {
          saved = !messageShown && Save(setup, picture("function-setup")) && saved;
          setup.EndDialog(IDCANCEL);
        },
        kDialogSettleTime);
    setup.DoModal();
  }

  window.SendSysCommand(SC_CLOSE);
  window.DestroyWindow();
  return saved && !driverFailed ? 0 : 1;
}
