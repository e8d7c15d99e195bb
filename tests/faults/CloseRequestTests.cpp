// A close request at every moment that matters: while the worker's frame is
// on the wire, inside a tick's pump, while a function runs, and with a message
// box open. The close always finishes, and nothing reaches the module after it.
#include <chrono>

#include "ModuleTraffic.h"
#include "app/DetectionWindow.h"
#include "device/SharedBus.h"
#include "dsp/AcquisitionWorker.h"
#include "framework/MessageBox.h"

namespace {

using namespace MainWindowIds;

constexpr int kToneBin = 30;
constexpr auto kCloseTimeLimit = 2s;

class CloseRequest : public DetectionWindow {
 protected:
  // The module is closed, its engine off, the bus free and the worker gone,
  // and no frame follows for a while.
  void ExpectClosedAndQuiet(std::uint64_t writesAtClose) {
    EXPECT_FALSE(sim.IsOpen());
    EXPECT_FALSE(sim.SerialEngineOn());
    EXPECT_EQ(BusBusy.load(), 0);
    EXPECT_EQ(WorkerRunning.load(), 0);
    ProcessEventsFor(150ms);
    EXPECT_EQ(sim.WriteCount(), writesAtClose) << "a frame reached the module after the close";
  }

  static ConfigRecord K1OnTheTone() {
    ConfigRecord stored{};
    Listen(stored, 1, kToneBin, 1);
    stored.relay1Enabled[1] = 1;
    return stored;
  }
};

// The frame takes about 31 ms; the close lands at a different point of it in
// each round.
TEST_F(CloseRequest, DuringTheWorkersFrameAtAnyPointFinishesAndSilencesTheModule) {
  ASSERT_FALSE(WriteConfigFile(ConfigRecord{}));
  for (int round = 0; round < 8; ++round) {
    // A window object is opened once in the program's life: each round has its own.
    CMonitorDlg roundWindow;
    ASSERT_TRUE(roundWindow.Create());
    ASSERT_TRUE(ProcessEventsUntil([] { return PeakBin.load() >= kFirstPeakBin; }));
    ProcessEventsFor(std::chrono::milliseconds(5 * round));
    const auto started = std::chrono::steady_clock::now();
    roundWindow.SendSysCommand(SC_CLOSE);
    EXPECT_LT(std::chrono::steady_clock::now() - started, kCloseTimeLimit) << "round " << round;
    ExpectClosedAndQuiet(sim.WriteCount());
    roundWindow.DestroyWindow();
    PowerOnSilently(sim);
  }
}

TEST_F(CloseRequest, InsideATicksPumpLeavesTheFunctionThatTickCompletedUnsent) {
  Start(K1OnTheTone());
  ClickControl(window, IDC_QUIET);  // the peak alone decides, at the moment of the scan
  window.ActInsideATick([this] { window.SendSysCommand(SC_CLOSE); }, [] { return PeakBin.load() == kToneBin; });
  sim.SetBinToneInput(kToneBin, kLoudToneVolts, tqxsim::kInputBiasVolts);
  ASSERT_TRUE(ProcessEventsUntil([&] { return !sim.IsOpen(); }));
  const std::uint64_t writesAtClose = sim.WriteCount();

  EXPECT_TRUE(window.actedInsideTick);
  EXPECT_FALSE(K1Closed());
  ExpectClosedAndQuiet(writesAtClose);
}

// The main window whose module starts refusing every write at the tick that
// hears the tone: the function that tick completes meets the failure at its
// first step, while the sample that completed it is already in.
class WindowWhoseWritesFailOnTheTone : public CMonitorDlg {
 public:
  explicit WindowWhoseWritesFailOnTheTone(tqxsim::SimControl& module) : module_(module) {}

 protected:
  void OnTimer(int id) override {
    if (PeakBin.load() == kToneBin) module_.SetWritesFail(true);
    CMonitorDlg::OnTimer(id);
  }

 private:
  tqxsim::SimControl& module_;
};

// The first failing write of the run opens a box, and the user closes the
// window behind it: the rest of the run sends nothing.
TEST_F(CloseRequest, WhileAFunctionRunsStopsTheRestOfItsSteps) {
  ConfigRecord stored = K1OnTheTone();
  stored.lineEnabled[1] = 1;
  stored.lineSelect[1] = 4;  // P10
  stored.lineAction[1] = 2;
  stored.analog1Enabled[1] = 1;
  stored.analog1Volts[1] = 2.0f;
  stored.relay2Enabled[1] = 1;
  ASSERT_FALSE(WriteConfigFile(stored));
  WindowWhoseWritesFailOnTheTone failing(sim);
  ASSERT_TRUE(failing.Create());

  MessageCapture messages;
  std::uint64_t writesAtClose = 0;
  messages.WhileOpen([&](std::string_view) {
    if (writesAtClose != 0) return;
    failing.SendSysCommand(SC_CLOSE);
    writesAtClose = sim.WriteCount();
  });
  sim.SetBinToneInput(kToneBin, kLoudToneVolts, tqxsim::kInputBiasVolts);
  ASSERT_TRUE(ProcessEventsUntil([&] { return writesAtClose != 0; }));

  EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Error writing to DAC. 3"});
  ExpectClosedAndQuiet(writesAtClose);
  EXPECT_EQ(sim.AnalogChannel(1).channelByte, 0);
  failing.DestroyWindow();
}

TEST_F(CloseRequest, WithTheWindowsOwnBoxOpenEndsTheWindowAndTheBoxStillAnswers) {
  RealMessageBoxes realBoxes;
  ASSERT_NO_FATAL_FAILURE(Start());
  ReplaceText(window, IDC_VOLTS1, "9");
  std::uint64_t writesAtClose = 0;
  bool closedBehindTheBox = false;
  PostToWindowThread([&] {
    ASSERT_TRUE(ProcessEventsUntil([] { return !VisibleMessageBoxes().empty(); }));
    ClickCloseBox(window);
    writesAtClose = sim.WriteCount();
    closedBehindTheBox = !sim.IsOpen();
    EXPECT_TRUE(AnswerMessageBox());
  });
  const auto started = std::chrono::steady_clock::now();
  ClickControl(window, IDC_SET_ANALOG1);

  EXPECT_LT(std::chrono::steady_clock::now() - started, kCloseTimeLimit);
  EXPECT_TRUE(closedBehindTheBox);
  ExpectClosedAndQuiet(writesAtClose);
  EXPECT_EQ(sim.AnalogChannel(1).channelByte, 0);
}

}  // namespace
