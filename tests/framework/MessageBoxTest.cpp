#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <thread>

#include "TestDialogs.h"
#include "framework/MessageBox.h"
#include "support/DialogDriver.h"
#include "support/MessageCapture.h"

namespace {

TEST(MessageBoxHook, CapturesEveryTextInOrderFromAnyThread) {
  MessageCapture boxes;
  AfxMessageBox("one");
  std::thread worker([] { AfxMessageBox("two"); });
  worker.join();
  AfxMessageBox("three");
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"one", "two", "three"}));
}

TEST(MessageBoxHook, AnUnexpectedBoxFailsTheTestInsteadOfWaiting) {
  EXPECT_NONFATAL_FAILURE(AfxMessageBox("surprise"), "unexpected message box: \"surprise\"");
}

TEST(MessageBoxHook, TheCaptureGivesTheHookBackWhenItGoes) {
  {
    MessageCapture inner;
    {
      MessageCapture innermost;
      AfxMessageBox("deep");
      EXPECT_EQ(inner.Count(), 0u);
    }
    AfxMessageBox("shallow");
    EXPECT_EQ(inner.Texts(), std::vector<std::string>{"shallow"});
  }
  EXPECT_NONFATAL_FAILURE(AfxMessageBox("after"), "unexpected message box");
}

// Raised over a dialog the user types in, it takes the keyboard the moment
// it shows: Enter answers it and does not reach the dialog.
TEST(WindowThreadMessageBox, IsAModalWarningCaptionedWithTheAppNameAndCountedWhileOpen) {
  RealMessageBoxes real;
  ProbeDialog dialog;
  std::vector<VisibleMessageBox> shown;
  int openWhileShown = 0;
  bool dialogStillOpen = false;
  RunModal(dialog, [&] {
    TypeText(dialog, probe::kNameEdit, "x");
    PostToWindowThread([&] {
      ASSERT_TRUE(ProcessEventsUntil([] { return !VisibleMessageBoxes().empty(); }));
      ProcessEventsUntil(BoxHoldsTheFocus, 1s);
      shown = VisibleMessageBoxes();
      openWhileShown = OpenWindowThreadMessageBoxes();
      EXPECT_TRUE(KeyAnswersTheBox(Key::Enter, [] { return VisibleMessageBoxes().empty(); }));
    });
    AfxMessageBox("Requested voltage out of range.  Please enter a value between 0 and 5 volts.");
    dialogStillOpen = IsShown(dialog);
    dialog.EndDialog(IDOK);
  });
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "tqxfft");
  EXPECT_EQ(shown[0].text, "Requested voltage out of range.  Please enter a value between 0 and 5 volts.");
  EXPECT_TRUE(shown[0].exclamationIcon);
  EXPECT_TRUE(shown[0].okButtonOnly);
  EXPECT_TRUE(shown[0].modal);
  EXPECT_TRUE(shown[0].holdsTheFocus);
  EXPECT_TRUE(dialogStillOpen) << "Enter reached the dialog behind the box";
  EXPECT_EQ(openWhileShown, 1);
  EXPECT_EQ(OpenWindowThreadMessageBoxes(), 0);
}

}  // namespace
