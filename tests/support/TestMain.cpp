// The main of every test that shows a window or a box: the window system up,
// the one application object, named like the program so boxes carry its
// caption, every box a failure unless a test expects it, and so is every
// window the driver finds not as its script expects.
#include <gtest/gtest.h>

#include "support/DialogDriver.h"
#include "support/MessageCapture.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const DrivenWindowSystem windows(argc, argv);
  DrivenApp app;
  FailOnUnexpectedMessageBoxes();
  SetDriverFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });
  return RUN_ALL_TESTS();
}
