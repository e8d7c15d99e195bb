// A worker thread's message box: shown by the window thread, waited for by the
// worker alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "TestDialogs.h"
#include "framework/MessageBox.h"
#include "framework/WinThread.h"
#include "support/DialogDriver.h"
#include "support/MessageCapture.h"

namespace {

using namespace probe;

bool BoxShown() { return !VisibleMessageBoxes().empty(); }

class WorkerMessageBox : public ::testing::Test {
 protected:
  void TearDown() override {
    if (worker.joinable()) worker.join();
    ResetMessageBoxAbandonment();
  }

  void StartWorker(const char* text) {
    worker = std::thread([this, text] {
      onWindowThread = IsWindowThread();
      AfxMessageBox(text);
      returned = true;
    });
  }

  RealMessageBoxes real;
  std::thread worker;
  std::atomic<bool> onWindowThread{true};
  std::atomic<bool> returned{false};
};

TEST_F(WorkerMessageBox, IsShownByTheWindowThreadWhileTheWindowStaysUsable) {
  ProbeDialog dialog;
  std::vector<VisibleMessageBox> shown;
  bool waitedWhileShown = false;
  int countedOpen = -1;
  const int result = RunModal(dialog, [&] {
    StartWorker("error: too few bytes returned");
    ASSERT_TRUE(ProcessEventsUntil(BoxShown));
    shown = VisibleMessageBoxes();
    countedOpen = OpenWindowThreadMessageBoxes();

    // The dialog under the box still takes clicks and typing.
    ClickControl(dialog, kPushButton);
    TypeText(dialog, kNameEdit, "ok");
    waitedWhileShown = !returned;

    ASSERT_TRUE(AnswerMessageBox());
    ASSERT_TRUE(ProcessEventsUntil([&] { return returned.load(); }));
    dialog.EndDialog(IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_FALSE(onWindowThread);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "tqxfft");
  EXPECT_FALSE(shown[0].modal) << "the worker alone waits for it";
  EXPECT_EQ(countedOpen, 0) << "a box shown for another thread holds up no window-thread code";
  EXPECT_TRUE(waitedWhileShown);
  EXPECT_EQ(std::count(dialog.commands.begin(), dialog.commands.end(), std::pair(kPushButton, Notification::Clicked)), 1);
  EXPECT_EQ(dialog.GetDlgItemText(kNameEdit), "") << "the window is gone";
}

// It takes the keyboard from the window the user was typing in the moment it
// shows: Enter and Escape answer it, and neither reaches the window.
TEST_F(WorkerMessageBox, TakesTheKeyboardAsItShowsSoEnterAndEscapeAnswerItAndNotTheWindow) {
  ProbeDialog dialog;
  std::vector<bool> heldTheFocus;
  bool windowStillOpen = false;
  RunModal(dialog, [&] {
    for (const Key key : {Key::Enter, Key::Escape}) {
      TypeText(dialog, kNameEdit, "x");
      returned = false;
      StartWorker("error: too few bytes returned");
      ASSERT_TRUE(ProcessEventsUntil(BoxShown));
      heldTheFocus.push_back(ProcessEventsUntil(BoxHoldsTheFocus, 1s));
      EXPECT_TRUE(KeyAnswersTheBox(key, [&] { return returned.load(); }));
      worker.join();
    }
    windowStillOpen = IsShown(dialog);
    dialog.EndDialog(IDOK);
  });
  EXPECT_EQ(heldTheFocus, std::vector<bool>(2, true));
  EXPECT_TRUE(windowStillOpen) << "a key reached the window behind the box";
}

TEST_F(WorkerMessageBox, AbandoningReleasesTheWaitingWorkerClosesItsBoxAndAnswersLaterOnesAtOnce) {
  StartWorker("error: too few bytes returned");
  ASSERT_TRUE(ProcessEventsUntil(BoxShown));
  EXPECT_FALSE(returned);

  AbandonWaitingMessageBoxes();
  worker.join();
  EXPECT_TRUE(returned);
  EXPECT_TRUE(ProcessEventsUntil([] { return !BoxShown(); }));

  std::thread late([] { AfxMessageBox("nobody will answer this"); });
  late.join();
  ProcessEventsFor(50ms);
  EXPECT_FALSE(BoxShown());
}

TEST_F(WorkerMessageBox, ABoxOverADialogThatClosesReleasesTheWorker) {
  ProbeDialog dialog;
  RunModal(dialog, [&] {
    StartWorker("error: too few bytes returned");
    ASSERT_TRUE(ProcessEventsUntil(BoxShown));
    dialog.EndDialog(IDCANCEL);
  });
  EXPECT_TRUE(ProcessEventsUntil([&] { return returned.load(); }));
}

TEST(WorkerMessageBoxHook, RunsOnTheWorkersOwnThread) {
  MessageCapture boxes;
  std::atomic<bool> hookOnWindowThread{true};
  boxes.WhileOpen([&](std::string_view) { hookOnWindowThread = IsWindowThread(); });
  CWinThread worker([](void*) -> unsigned {
    AfxMessageBox("from the worker");
    return 3;
  }, nullptr);
  worker.Join();
  EXPECT_EQ(worker.ExitCode(), 3u);
  EXPECT_FALSE(hookOnWindowThread);
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"from the worker"});
}

}  // namespace
