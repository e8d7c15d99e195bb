// The main of every test that shows a window or a box: the window system up,
// the one application object, named like the program so boxes carry its
// caption, every box a failure unless a test expects it, and so is every
// window the driver finds not as its script expects.
#include <gtest/gtest.h>

#include "framework/WinApp.h"
#include "support/DialogDriver.h"
#include "support/DriverFailure.h"
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
  const DrivenWindowSystem windows(argc, argv);
  TestApp app;
  FailOnUnexpectedMessageBoxes();
  SetDriverFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });
  return RUN_ALL_TESTS();
}
