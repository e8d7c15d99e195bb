#include "support/TestRun.h"

#include <gtest/gtest.h>

#include "framework/WinApp.h"
#include "support/MessageCapture.h"

namespace {
class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp("tqxfft") {}
  bool InitInstance() override { return false; }
};
}  // namespace

int RunAllTestsAsTheProgram() {
  TestApp app;
  FailOnUnexpectedMessageBoxes();
  return RUN_ALL_TESTS();
}
