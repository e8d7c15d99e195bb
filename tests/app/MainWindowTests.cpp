// The main window brought up and taken down on the simulated module, as the
// program does it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/MonitorDlg.h"
#include "config/BinUsedTable.h"
#include "config/ConfigFile.h"
#include "device/Expander.h"
#include "device/SharedBus.h"
#include "dsp/AcquisitionWorker.h"
#include "dsp/PeakSearch.h"
#include "framework/MessageBox.h"
#include "res/DialogTemplates.h"
#include "res/ResourceIds.h"
#include "support/DialogDriver.h"
#include "support/MessageCapture.h"
#include "support/ScratchFolder.h"
#include "support/SimulatedModuleControl.h"

using namespace MainWindowIds;

namespace {

// Each test runs in a working directory of its own, where the data file lives.
class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    sim.ResetToPowerOn();
    sim.SetMessagesOnStderr(false);
    // Every close abandons the worker's boxes for good; each test is a new run.
    ResetMessageBoxAbandonment();
    configRecord = {};
    binUsedTable = {};
  }
  void TearDown() override {
    if (window.HasWindow()) Close();
  }

  void Close() {
    window.SendSysCommand(SC_CLOSE);
    window.DestroyWindow();
  }

  std::string Text(int id) const { return window.GetDlgItemText(id); }

  ScratchFolder folder_{"tqx-main-window"};
  tqxsim::SimControl& sim = SimulatedModuleControl();
  CMonitorDlg window;
};

TEST_F(MainWindow, StartsWithoutADataFileShowingZerosAndEmptyNames) {
  ASSERT_TRUE(window.Create());

  EXPECT_EQ(window.GetWindowText(), "TQX FFT V1.1");
  EXPECT_EQ(Text(IDC_PEAK_BIN), "0");
  EXPECT_EQ(Text(IDC_TOP_COUNT), "0");
  EXPECT_TRUE(window.IsDlgButtonChecked(IDC_NOISY));
  EXPECT_FALSE(window.IsDlgButtonChecked(IDC_QUIET));
  for (int line = 0; line < kLineCount; ++line) {
    EXPECT_FALSE(window.IsDlgButtonChecked(LineHighButtons[line])) << line;
    EXPECT_FALSE(window.IsDlgButtonChecked(LineLowButtons[line])) << line;
  }
  EXPECT_EQ(Text(IDC_VOLTS1), "0");
  EXPECT_EQ(Text(IDC_VOLTS2), "0");
  for (int row = 0; row < kFunctionRowCount; ++row) {
    EXPECT_EQ(Text(CountFields[row]), "0") << row;
    EXPECT_EQ(Text(NameFields[row]), "") << row;
  }
  EXPECT_THAT(binUsedTable, ::testing::Each(0));
  // The first tab stop has the focus.
  EXPECT_EQ(FocusedControlId(window), IDC_SET_ANALOG1);
}

TEST_F(MainWindow, ShowsTheStoredNamesCutToWhatItsFieldsHold) {
  ConfigRecord stored{};
  StoreFunctionName(stored, 1, "Gate bell");
  StoreFunctionName(stored, 8, "A name of twenty-nine letter");
  stored.triggerBin1[3] = 33;
  ASSERT_FALSE(WriteConfigFile(stored));

  ASSERT_TRUE(window.Create());
  EXPECT_EQ(Text(IDC_NAME_F1), "Gate bell");
  EXPECT_EQ(Text(IDC_NAME_F8), "A name of twenty-nine let");
  EXPECT_EQ(Text(IDC_NAME_F2), "");
  EXPECT_EQ(binUsedTable[32], 1);
  // The cut name is copied back without a refusal.
  EXPECT_TRUE(window.UpdateData(true));
}

TEST_F(MainWindow, PlacesEveryControlOfItsTemplateInDialogUnits) {
  ASSERT_TRUE(window.Create());
  const CRect client = window.GetClientRect();
  EXPECT_EQ(client, window.MapDialogRect(CRect{0, 0, 208, 181}));
  for (const ControlTemplate& control : MainWindowTemplate().controls) {
    if (control.id == IDC_STATIC) continue;
    // Place and size are each converted, as the window system does it.
    const CRect place = window.MapDialogRect(CRect{control.x, control.y, control.cx, control.cy});
    const CRect expected{place.left, place.top, place.left + place.right, place.top + place.bottom};
    EXPECT_EQ(ControlRect(window, control.id), expected) << "control " << control.id;
  }
}

TEST_F(MainWindow, StartUpReadsTheExpanderIntoItsShadowAndStartsTheWorker) {
  ASSERT_TRUE(window.Create());
  EXPECT_EQ(ExpanderShadow.configuration, (std::array<std::uint8_t, 2>{0xFF, 0xFF}));
  EXPECT_EQ(ExpanderShadow.outputs, (std::array<std::uint8_t, 2>{0xFF, 0xFF}));
  EXPECT_EQ(WorkerRunning.load(), 1);
  EXPECT_TRUE(ProcessEventsUntil([] { return PeakBin.load() >= 15; }));
  EXPECT_TRUE(sim.SerialEngineOn());
}

TEST_F(MainWindow, TheCloseRequestStopsTheWorkerThenResetsAndClosesTheDevice) {
  ASSERT_TRUE(window.Create());
  ClickCloseBox(window);
  EXPECT_EQ(WorkerRunning.load(), 0);
  EXPECT_FALSE(sim.SerialEngineOn());
  EXPECT_FALSE(sim.IsOpen());
  EXPECT_EQ(BusBusy.load(), 0);
  EXPECT_EQ(sim.ProtocolErrorCount(), 0u);
  EXPECT_EQ(sim.InterleavedWriteCount(), 0u);
  const std::uint64_t writes = sim.WriteCount();
  ProcessEventsFor(150ms);
  EXPECT_EQ(sim.WriteCount(), writes) << "nothing reaches the device after the close";
  window.DestroyWindow();
}

TEST_F(MainWindow, EnterDoesNotEndTheProgram) {
  ASSERT_TRUE(window.Create());
  ReplaceText(window, IDC_VOLTS1, "2.5");
  PressKey(window, Key::Enter);
  ProcessEventsFor(50ms);
  EXPECT_TRUE(sim.IsOpen());
  EXPECT_TRUE(IsShown(window));
}

TEST_F(MainWindow, ClosingWhileTheWorkerWaitsOnItsMessageBoxDoesNotHang) {
  RealMessageBoxes realBoxes;
  ASSERT_TRUE(window.Create());
  sim.SetReadsFail(true);
  auto workerBoxShown = [] {
    return ::testing::Value(VisibleMessageBoxes(),
                            ::testing::Contains(::testing::Field(&VisibleMessageBox::text, "Read Error!")));
  };
  ASSERT_TRUE(ProcessEventsUntil(workerBoxShown));
  ClickCloseBox(window);
  EXPECT_EQ(WorkerRunning.load(), 0);
  EXPECT_FALSE(sim.IsOpen());
}

// Whether the frame's middle is that of `over`, within the few pixels of a
// frame the window system adds once the window shows, and the frame lies
// inside the work area.
constexpr int kFrameSlackPx = 4;

void ExpectCentredAndOnScreen(const ScreenPlace& place, const CRect& over, const char* what) {
  const auto middle = [](int from, int to) { return (from + to) / 2; };
  EXPECT_NEAR(middle(place.frame.left, place.frame.right), middle(over.left, over.right), kFrameSlackPx) << what;
  EXPECT_NEAR(middle(place.frame.top, place.frame.bottom), middle(over.top, over.bottom), kFrameSlackPx) << what;
  EXPECT_GE(place.frame.left, place.workArea.left) << what;
  EXPECT_GE(place.frame.top, place.workArea.top) << what;
  EXPECT_LE(place.frame.right, place.workArea.right) << what;
  EXPECT_LE(place.frame.bottom, place.workArea.bottom) << what;
}

// The main window opens in the middle of its screen, the About box over the
// middle of the main window.
TEST_F(MainWindow, TheAboutItemOfItsMenuOpensTheAboutBoxCentredOverTheWindow) {
  ASSERT_TRUE(window.Create());
  ASSERT_THAT(SystemMenuItems(window),
              ::testing::Contains(SystemMenuItem{AboutCommandId, "&About tqxfft...", false}));
  const ScreenPlace main = PlaceOnScreen(window);
  if (main.frame.Width() <= main.workArea.Width() && main.frame.Height() <= main.workArea.Height()) {
    ExpectCentredAndOnScreen(main, main.workArea, "the main window");
  }

  std::string caption;
  std::vector<std::string> texts;
  ScreenPlace about;
  PostToWindowThread([&] {
    ASSERT_TRUE(ProcessEventsUntil([] { return ActiveModalDialog() != nullptr; }));
    CDialog& box = *ActiveModalDialog();
    caption = box.GetWindowText();
    texts = ControlTexts(box);
    about = PlaceOnScreen(box);
    ClickCloseBox(box);
  });
  ChooseSystemMenuItem(window, AboutCommandId);
  EXPECT_EQ(caption, "About tqxfft");
  EXPECT_THAT(texts, ::testing::Contains("tqxfft Version 1.0"));
  ExpectCentredAndOnScreen(about, PlaceOnScreen(window).frame, "the About box");
  // The monitor runs on behind the About box.
  EXPECT_TRUE(sim.IsOpen());
}

}  // namespace
