// The main of every GUI test: the toolkit on its offscreen platform, and the
// one application object, named like the program so boxes carry its caption.
#include <gtest/gtest.h>

#include <QApplication>

#include "framework/MessageBoxDisplay.h"
#include "framework/WinApp.h"
#include "support/MessageCapture.h"

namespace {
class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp("tqxfft") {}
  bool InitInstance() override { return false; }
};
}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication toolkit(argc, argv);
  ShowMessageBoxesWithTheToolkit();
  // Tests open and close windows one after another; the last one closing must
  // not end anything.
  QApplication::setQuitOnLastWindowClosed(false);
  TestApp app;
  FailOnUnexpectedMessageBoxes();
  return RUN_ALL_TESTS();
}
