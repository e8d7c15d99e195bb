// The Setup buttons of the running monitor, on the simulated module: each opens
// its function's dialog, and a function defined there works at once.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "MonitorOnTheModule.h"
#include "app/MonitorDlg.h"
#include "framework/WinApp.h"
#include "res/ResourceIds.h"
#include "support/DialogDriver.h"

namespace fs = std::filesystem;

namespace {

constexpr int kNewBin = 37;  // no function listens to it before the edit
constexpr double kToneAmplitudeVolts = 0.5;

// Runs the script on the dialog that the next modal run opens, from inside its
// modal loop.
void WhenSetupOpens(std::function<void(CDialog&)> script) {
  PostToWindowThread([script = std::move(script)] {
    if (!ProcessEventsUntil([] { return ActiveModalDialog() != nullptr; })) {
      ADD_FAILURE() << "no dialog opened";
      return;
    }
    script(*ActiveModalDialog());
  });
}

// The monitor runs as the program's main window; a test may close it and
// start it again.
class FunctionSetupOnTheMonitor : public MonitorOnTheModule {
 protected:
  FunctionSetupOnTheMonitor() : MonitorOnTheModule("tqx-function-setup-e2e") {}

  void TearDown() override {
    if (window_ != nullptr) Close();
    MonitorOnTheModule::TearDown();
  }

  CMonitorDlg& Start() {
    // Every close abandons the worker's boxes for good; each start is a new run.
    ResetMessageBoxAbandonment();
    window_ = std::make_unique<CMonitorDlg>();
    AfxGetApp()->m_pMainWnd = window_.get();
    EXPECT_TRUE(window_->Create());
    return *window_;
  }
  void Close() {
    window_->SendSysCommand(SC_CLOSE);
    window_->DestroyWindow();
    AfxGetApp()->m_pMainWnd = nullptr;
    window_.reset();
  }

  bool RelayK2Closed() const { return RelayClosed(ExpanderLine::K2); }

  std::unique_ptr<CMonitorDlg> window_;
};

TEST_F(FunctionSetupOnTheMonitor, EachSetupButtonOpensTheDialogOfItsOwnFunction) {
  CMonitorDlg& window = Start();
  for (int function = 1; function <= kFunctionCount; ++function) {
    std::string caption;
    WhenSetupOpens([&](CDialog& setup) {
      caption = setup.GetWindowText();
      ClickControl(setup, IDCANCEL);
    });
    ClickControl(window, MainWindowIds::SetupButtons[function - 1]);
    EXPECT_EQ(caption, "Function #" + std::to_string(function) + " Setup");
  }
  EXPECT_FALSE(fs::exists(kDataFileName)) << "Cancel writes nothing";
}

class DefiningAFunctionOnTheMonitor : public FunctionSetupOnTheMonitor,
                                      public ::testing::WithParamInterface<int> {};

TEST_P(DefiningAFunctionOnTheMonitor, SwitchesItsRelayOnItsToneWithoutARestart) {
  using namespace FunctionSetupIds;
  CMonitorDlg& window = Start();
  ClickControl(window, GetParam() == kQuietEnvironment ? MainWindowIds::IDC_QUIET : MainWindowIds::IDC_NOISY);
  sim.SetBinToneInput(kNewBin, kToneAmplitudeVolts, tqxsim::kInputBiasVolts);
  ProcessEventsFor(300ms);
  ASSERT_FALSE(RelayK2Closed()) << "no function listens to the tone yet";

  WhenSetupOpens([](CDialog& setup) {
    ReplaceText(setup, IDC_BIN1, std::to_string(kNewBin));
    ReplaceText(setup, IDC_NAME, "Doorbell");
    ReplaceText(setup, IDC_REQUIRED_COUNT, "3");
    ClickControl(setup, IDC_RELAY2);
    ClickControl(setup, IDC_RELAY2_CLOSE);
    ClickControl(setup, IDOK);
  });
  ClickControl(window, MainWindowIds::IDC_SETUP_F2);

  EXPECT_EQ(window.GetDlgItemText(MainWindowIds::IDC_NAME_F2), "Doorbell");
  EXPECT_TRUE(ProcessEventsUntil([&] { return RelayK2Closed(); }, 3s)) << "the relay never closed";

  // The next run of the program finds the function as it was defined.
  Close();
  configRecord = {};
  binUsedTable = {};
  CMonitorDlg& restarted = Start();
  EXPECT_EQ(restarted.GetDlgItemText(MainWindowIds::IDC_NAME_F2), "Doorbell");
  EXPECT_EQ(configRecord.triggerBin1[2], kNewBin);
  EXPECT_EQ(configRecord.relay2Enabled[2], 1);
  EXPECT_EQ(binUsedTable[kNewBin - 1], 1);
}

INSTANTIATE_TEST_SUITE_P(InBothEnvironmentModes, DefiningAFunctionOnTheMonitor,
                         ::testing::Values(kNoisyEnvironment, kQuietEnvironment),
                         [](const ::testing::TestParamInfo<int>& mode) {
                           return mode.param == kQuietEnvironment ? "Quiet" : "Noisy";
                         });

}  // namespace
