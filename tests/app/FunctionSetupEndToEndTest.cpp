// The Setup buttons of the running monitor, on the simulated module: each opens
// its function's dialog, and a function defined there works at once.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <string>

#include "app/MonitorDlg.h"
#include "config/BinUsedTable.h"
#include "config/ConfigFile.h"
#include "framework/MessageBox.h"
#include "framework/qt/QtAccess.h"
#include "framework/WinApp.h"
#include "res/ResourceIds.h"
#include "support/DialogDriver.h"
#include "support/SimulatedModuleControl.h"

namespace fs = std::filesystem;

namespace {

constexpr int kNewBin = 37;  // no function listens to it before the edit
constexpr double kToneAmplitudeVolts = 0.5;
constexpr double kBiasVolts = 2.5;
// K2 is bit 5 of port 0: closed when its line is an output driven high.
constexpr std::uint8_t kK2Mask = 1u << 5;
constexpr std::size_t kOutputPort0 = 0;
constexpr std::size_t kConfigurationPort0 = 6;

// The Function Setup dialog the monitor has opened, as the toolkit holds it.
class OpenSetupDialog {
 public:
  explicit OpenSetupDialog(QWidget* window) : window_(window) {}

  std::string Caption() const { return window_->windowTitle().toStdString(); }
  void Type(int id, const char* text) const {
    auto* edit = qobject_cast<QLineEdit*>(Control(id));
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    edit->insert(QString::fromLatin1(text));
  }
  void Click(int id) const {
    QWidget* control = Control(id);
    if (qobject_cast<QPushButton*>(control) != nullptr) {
      ClickThroughWindowSystem(control);
    } else {
      qobject_cast<QAbstractButton*>(control)->click();
    }
  }

 private:
  QWidget* Control(int id) const {
    QWidget* control = window_->findChild<QWidget*>(QString::number(id));
    EXPECT_NE(control, nullptr) << "no control " << id;
    return control;
  }

  QWidget* window_;
};

// Runs the script on the dialog that the next modal run opens, from inside its
// modal loop.
void WhenSetupOpens(std::function<void(const OpenSetupDialog&)> script) {
  QTimer::singleShot(0, [script = std::move(script)] {
    if (!ProcessEventsUntil([] { return QApplication::activeModalWidget() != nullptr; })) {
      ADD_FAILURE() << "no dialog opened";
      return;
    }
    script(OpenSetupDialog(QApplication::activeModalWidget()));
  });
}

// Each test runs the monitor in a working directory of its own, as the
// program's main window.
class FunctionSetupOnTheMonitor : public ::testing::Test {
 protected:
  void SetUp() override {
    sim.ResetToPowerOn();
    sim.SetMessagesOnStderr(false);
    sim.SetConstantInput(kBiasVolts);
    configRecord = {};
    binUsedTable = {};
    directory_ = fs::temp_directory_path() / ("tqx-function-setup-e2e-" + std::to_string(::getpid()));
    fs::remove_all(directory_);
    fs::create_directories(directory_);
    previousDirectory_ = fs::current_path();
    fs::current_path(directory_);
  }
  void TearDown() override {
    if (window_ != nullptr) Close();
    fs::current_path(previousDirectory_);
    fs::remove_all(directory_);
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

  bool RelayK2Closed() const {
    const auto registers = sim.ExpanderRegisters();
    return (registers[kConfigurationPort0] & kK2Mask) == 0 && (registers[kOutputPort0] & kK2Mask) != 0;
  }

  tqxsim::SimControl& sim = SimulatedModuleControl();
  std::unique_ptr<CMonitorDlg> window_;
  fs::path directory_;
  fs::path previousDirectory_;
};

TEST_F(FunctionSetupOnTheMonitor, EachSetupButtonOpensTheDialogOfItsOwnFunction) {
  CMonitorDlg& window = Start();
  for (int function = 1; function <= kFunctionCount; ++function) {
    std::string caption;
    WhenSetupOpens([&](const OpenSetupDialog& setup) {
      caption = setup.Caption();
      setup.Click(IDCANCEL);
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
  sim.SetBinToneInput(kNewBin, kToneAmplitudeVolts, kBiasVolts);
  ProcessEventsFor(300ms);
  ASSERT_FALSE(RelayK2Closed()) << "no function listens to the tone yet";

  WhenSetupOpens([](const OpenSetupDialog& setup) {
    setup.Type(IDC_BIN1, std::to_string(kNewBin).c_str());
    setup.Type(IDC_NAME, "Doorbell");
    setup.Type(IDC_REQUIRED_COUNT, "3");
    setup.Click(IDC_RELAY2);
    setup.Click(IDC_RELAY2_CLOSE);
    setup.Click(IDOK);
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
