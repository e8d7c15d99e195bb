#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <thread>

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

TEST(WindowThreadMessageBox, IsAModalWarningCaptionedWithTheAppNameAndCountedWhileOpen) {
  RealMessageBoxes real;
  QString caption;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  int openWhileShown = 0;
  QTimer::singleShot(0, [&] {
    ASSERT_TRUE(ProcessEventsUntil([] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); }));
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    caption = box->windowTitle();
    text = box->text();
    icon = box->icon();
    buttons = box->standardButtons();
    openWhileShown = OpenWindowThreadMessageBoxes();
    box->button(QMessageBox::Ok)->click();
  });
  AfxMessageBox("Requested voltage out of range.  Please enter a value between 0 and 5 volts.");
  EXPECT_EQ(caption, "tqxfft");
  EXPECT_EQ(text, "Requested voltage out of range.  Please enter a value between 0 and 5 volts.");
  EXPECT_EQ(icon, QMessageBox::Warning);
  EXPECT_EQ(buttons, QMessageBox::Ok);
  EXPECT_EQ(openWhileShown, 1);
  EXPECT_EQ(OpenWindowThreadMessageBoxes(), 0);
}

}  // namespace
