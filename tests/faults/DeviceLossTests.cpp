// The module failing or vanishing under the running monitor: the worker's
// messages come one at a time, the window keeps answering, the manual commands
// say what failed, and the window still closes cleanly.
#include <atomic>
#include <thread>

#include "ModuleTraffic.h"
#include "app/DetectionWindow.h"
#include "device/SharedBus.h"
#include "dsp/AcquisitionWorker.h"
#include "framework/MessageBox.h"

namespace {

using namespace MainWindowIds;

const std::string kWriteConfig = "Error writing to DAC. 3";
const std::string kWriteOutputs = "Error writing to DAC. 1";
const std::string kWriteDac = "Error writing to DAC. 5";

using DeviceLoss = DetectionWindow;

// A box answered at once would let the worker show the next right away; here
// each one is held open a while, so two at the same time would be seen.
TEST_F(DeviceLoss, TheWorkersReadFailuresComeOneAtATimeAndNeverPileUp) {
  MessageCapture messages;
  std::atomic<int> open{0};
  std::atomic<int> mostOpen{0};
  messages.WhileOpen([&](std::string_view) {
    const int now = ++open;
    mostOpen = std::max(mostOpen.load(), now);
    std::this_thread::sleep_for(30ms);
    --open;
  });
  ASSERT_NO_FATAL_FAILURE(Start());
  sim.SetReadsFail(true);
  ASSERT_TRUE(ProcessEventsUntil([&] { return messages.Count() >= 5; }));
  sim.SetReadsFail(false);
  ProcessEventsFor(150ms);

  EXPECT_EQ(mostOpen.load(), 1);
  for (const std::string& text : messages.Texts()) EXPECT_EQ(text, "Read Error!");
}

// The whole reply is lost, so nothing of the worker's is left queued when the
// window writes behind its box.
TEST_F(DeviceLoss, WithTheWorkersBoxOpenTheWindowStillSwitchesARelayAndShowsOneBoxOnly) {
  RealMessageBoxes realBoxes;
  ASSERT_NO_FATAL_FAILURE(Start());
  sim.DropReplyBytes(kAdcReplyBytes);
  ASSERT_TRUE(ProcessEventsUntil([] { return !VisibleMessageBoxes().empty(); }));
  ProcessEventsFor(300ms);  // several cycles' worth of time
  ASSERT_EQ(VisibleMessageBoxes().size(), 1u);
  EXPECT_EQ(VisibleMessageBoxes()[0].text, "error: too few bytes returned");

  ClickControl(window, IDC_CLOSE_K1);
  EXPECT_TRUE(K1Closed()) << "the box is modal for the worker only";
  EXPECT_EQ(VisibleMessageBoxes().size(), 1u);

  ClickCloseBox(window);  // with the box still open
  EXPECT_FALSE(sim.IsOpen());
  EXPECT_EQ(BusBusy.load(), 0);
  EXPECT_TRUE(ProcessEventsUntil([] { return VisibleMessageBoxes().empty(); }))
      << "the worker's box goes with the window";
}

TEST_F(DeviceLoss, AfterAnUnplugEachManualCommandReportsItsFailedWritesInOrder) {
  MessageCapture messages;
  ASSERT_NO_FATAL_FAILURE(Start());
  sim.UnplugAfter(0);
  ProcessEventsFor(200ms);
  EXPECT_TRUE(messages.Texts().empty()) << "a sample frame whose write fails says nothing";

  ClickControl(window, IDC_CLOSE_K2);
  EXPECT_EQ(messages.Texts(), (std::vector<std::string>{kWriteConfig, kWriteConfig, kWriteConfig, kWriteOutputs}));

  ReplaceText(window, IDC_VOLTS2, "1.5");
  ClickControl(window, IDC_SET_ANALOG2);
  EXPECT_EQ(messages.Texts().back(), kWriteDac);
  EXPECT_EQ(messages.Count(), 5u);
  EXPECT_TRUE(window.IsTimerRunning(TickTimerId)) << "the tick runs on";
}

// The unplug lands at a different moment of the worker's cycle each round: at
// most one message follows it, since every call fails from then on.
TEST_F(DeviceLoss, AnUnplugAtAnyMomentOfTheCycleGivesTheWorkerAtMostOneMessage) {
  MessageCapture messages;
  const std::vector<std::string> workerTexts{"Read Error!", "error: too few bytes returned"};
  for (int round = 0; round < 6; ++round) {
    // A window object is opened once in the program's life: each round has its own.
    CMonitorDlg roundWindow;
    ASSERT_TRUE(roundWindow.Create());
    ASSERT_TRUE(ProcessEventsUntil([] { return PeakBin.load() >= kFirstPeakBin; }));
    const std::size_t before = messages.Count();
    sim.UnplugAfter(3.0 + 6.0 * round);
    ProcessEventsFor(250ms);
    EXPECT_LE(messages.Count() - before, 1u) << "round " << round;
    roundWindow.SendSysCommand(SC_CLOSE);
    EXPECT_EQ(BusBusy.load(), 0);
    roundWindow.DestroyWindow();
    PowerOnSilently(sim);
  }
  for (const std::string& text : messages.Texts()) {
    EXPECT_TRUE(std::find(workerTexts.begin(), workerTexts.end(), text) != workerTexts.end()) << text;
  }
}

}  // namespace
