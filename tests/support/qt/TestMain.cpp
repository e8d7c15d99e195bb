// The main of the tests on Linux: the toolkit on its offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>

#include "framework/MessageBoxDisplay.h"
#include "support/TestRun.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication toolkit(argc, argv);
  ShowMessageBoxesWithTheToolkit();
  // Tests open and close windows one after another; the last one closing must
  // not end anything.
  QApplication::setQuitOnLastWindowClosed(false);
  return RunAllTestsAsTheProgram();
}
