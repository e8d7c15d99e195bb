// The main of the tests on Windows: the system's dialog manager, with the
// common controls the program registers before its first window.
#include <gtest/gtest.h>

#include "framework/MessageBoxDisplay.h"
#include "framework/win32/Native.h"
#include "support/TestRun.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  native::InitialiseControls();
  ShowMessageBoxesWithTheToolkit();
  return RunAllTestsAsTheProgram();
}
