#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "TestDialogs.h"
#include "framework/qt/QtAccess.h"
#include "framework/WinApp.h"
#include "support/DialogDriver.h"
#include "support/MessageCapture.h"

namespace {

using namespace probe;

class Dialog : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dialog.Create()); }
  void TearDown() override { dialog.DestroyWindow(); }

  QWidget* Control(int id) const { return ControlWidget(dialog, id); }

  ProbeDialog dialog;
};

TEST_F(Dialog, DialogUnitsAreQuartersOfTheAverageCharacterWidthAndEighthsOfItsHeight) {
  const QFontMetrics metrics(DialogWidget(dialog)->font());
  const int averageWidth =
      (metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) + 26) / 52;
  EXPECT_EQ(dialog.MapDialogRect(CRect{4, 8, 40, 80}), (CRect{averageWidth, metrics.height(), averageWidth * 10,
                                                            metrics.height() * 10}));
  EXPECT_EQ(dialog.MapDialogRect(CRect{2, 4, 0, 0}),
            (CRect{(averageWidth + 1) / 2, (metrics.height() + 1) / 2, 0, 0}))
      << "halves round up";

  const CRect client = dialog.MapDialogRect(CRect{0, 0, 200, 150});
  EXPECT_EQ(dialog.GetClientRect(), client);
  const CRect edit = dialog.MapDialogRect(CRect{10, 10, 40, 14});
  EXPECT_EQ(ControlRect(dialog, kNumberEdit),
            (CRect{edit.left, edit.top, edit.left + edit.right, edit.top + edit.bottom}));
}

TEST_F(Dialog, AFaceTheSystemLacksFallsBackToASansFontOfTheTemplatesSize) {
  const QFont font = DialogWidget(dialog)->font();
  EXPECT_EQ(font.pointSize(), 8);
  EXPECT_FALSE(QFontInfo(font).fixedPitch());
  EXPECT_GT(QFontMetrics(font).height(), 0);
}

TEST_F(Dialog, ControlsAreBuiltByKindWithTheirStylesAndNamedByTheirIds) {
  auto* edit = qobject_cast<QLineEdit*>(Control(kNumberEdit));
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->objectName(), "101");
  EXPECT_TRUE(edit->hasFrame());
  EXPECT_FALSE(edit->isReadOnly());

  auto* readOnly = qobject_cast<QLineEdit*>(Control(kReadOnlyEdit));
  ASSERT_NE(readOnly, nullptr);
  EXPECT_FALSE(readOnly->hasFrame());
  EXPECT_TRUE(readOnly->isReadOnly());
  EXPECT_TRUE(readOnly->alignment() & Qt::AlignRight);

  auto* ok = qobject_cast<QPushButton*>(Control(IDOK));
  auto* push = qobject_cast<QPushButton*>(Control(kPushButton));
  ASSERT_TRUE(ok && push);
  EXPECT_TRUE(ok->isDefault());
  EXPECT_FALSE(push->isDefault());

  ASSERT_NE(qobject_cast<QCheckBox*>(Control(kCheck)), nullptr);
  EXPECT_FALSE(qobject_cast<QCheckBox*>(Control(kCheck))->isTristate());
  ASSERT_NE(qobject_cast<QRadioButton*>(Control(kFirstGroupA)), nullptr);
  ASSERT_NE(qobject_cast<QGroupBox*>(Control(kGroupBox)), nullptr);

  EXPECT_EQ(dialog.GetDlgItemText(kPrefixLabel), "Name & more");
  EXPECT_EQ(dialog.GetDlgItemText(kNoPrefixLabel), "A&B");
  EXPECT_EQ(dialog.GetWindowText(), "Probe");
}

TEST_F(Dialog, AnIconControlShowsTheRegisteredIconAtItsOwnSize) {
  auto* icon = qobject_cast<QLabel*>(Control(kIcon));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->size(), QSize(kIconSize, kIconSize));
  const QImage image = icon->pixmap().toImage();
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.pixel(kIconSize / 2, kIconSize / 2), 0xFFC80000u);
}

TEST_F(Dialog, TheGroupBoxStaysBehindTheControlsItFrames) {
  QWidget* radio = Control(kFirstGroupA);
  const QPoint inside = radio->geometry().center();
  ASSERT_TRUE(Control(kGroupBox)->geometry().contains(inside));
  EXPECT_EQ(DialogWidget(dialog)->childAt(inside), radio);
}

TEST_F(Dialog, AfterInitTheFirstTabStopHasTheFocusWithItsTextSelected) {
  dialog.DestroyWindow();
  dialog.number = 1234;
  ASSERT_TRUE(dialog.Create());
  EXPECT_EQ(FocusedControlId(dialog), kNumberEdit);
  EXPECT_EQ(SelectedText(dialog, kNumberEdit), "1234");
}

// A group of radio buttons is one stop, at its choice, or at its first button
// while nothing is chosen, whether or not the template made it a tab stop.
TEST_F(Dialog, TabMovesThroughTheTabStopsInCreationOrderAndReachesEveryRadioGroup) {
  const auto tabOrder = [&] {
    std::vector<int> order;
    for (int i = 0; i < 9; ++i) {
      PressKey(dialog, Key::Tab);
      order.push_back(FocusedControlId(dialog));
    }
    return order;
  };
  EXPECT_EQ(tabOrder(), (std::vector{kVoltsEdit, kNameEdit, kFirstGroupA, kSecondGroupX, kCheck, kPushButton,
                                     IDOK, IDCANCEL, kNumberEdit}));
  dialog.CheckDlgButton(kFirstGroupC, true);
  dialog.CheckDlgButton(kSecondGroupY, true);
  EXPECT_EQ(tabOrder(), (std::vector{kVoltsEdit, kNameEdit, kFirstGroupC, kSecondGroupY, kCheck, kPushButton,
                                     IDOK, IDCANCEL, kNumberEdit}));
}

// As the classic dialog manager does: the arrows move through the group and
// choose, wrapping round within it; the next group is not reached.
TEST_F(Dialog, ArrowKeysChooseWithinARadioGroupWrappingRound) {
  ClickControl(dialog, kFirstGroupA);
  dialog.GotoDlgCtrl(kFirstGroupA);
  dialog.commands.clear();
  std::vector<int> chosen;
  for (Key key : {Key::Down, Key::Down, Key::Down, Key::Up}) {
    PressKey(dialog, key);
    chosen.push_back(FocusedControlId(dialog));
    EXPECT_TRUE(dialog.IsDlgButtonChecked(chosen.back()));
  }
  EXPECT_EQ(chosen, (std::vector{kFirstGroupB, kFirstGroupC, kFirstGroupA, kFirstGroupC}));
  EXPECT_FALSE(dialog.IsDlgButtonChecked(kFirstGroupA));
  EXPECT_EQ(dialog.commands.size(), 4u) << "each choice is notified as a click";
}

TEST_F(Dialog, ClicksAndTheUsersEditsReachOnCommandButTheProgramsWritesDoNot) {
  dialog.commands.clear();
  ClickControl(dialog, kPushButton);
  ClickControl(dialog, kFirstGroupB);
  ClickControl(dialog, kCheck);
  TypeText(dialog, kNameEdit, "ab");
  dialog.SetDlgItemText(kNumberEdit, "9");
  dialog.CheckDlgButton(kSecondGroupX, true);
  EXPECT_EQ(dialog.commands, (std::vector<std::pair<int, Notification>>{
                                 {kPushButton, Notification::Clicked},
                                 {kFirstGroupB, Notification::Clicked},
                                 {kCheck, Notification::Clicked},
                                 {kNameEdit, Notification::Changed},
                                 {kNameEdit, Notification::Changed},
                             }));
}

TEST_F(Dialog, EnterOnAFocusedPushButtonClicksThatButtonOnly) {
  dialog.GotoDlgCtrl(kPushButton);
  dialog.commands.clear();
  PressKey(dialog, Key::Enter);
  EXPECT_EQ(dialog.commands, (std::vector<std::pair<int, Notification>>{{kPushButton, Notification::Clicked}}));
  EXPECT_EQ(dialog.okCalls, 0);
}

TEST_F(Dialog, EscapeTheCloseBoxAndTheMenusCloseAllAskOnCancelWithoutClosing) {
  dialog.cancelEnds = false;
  PressKey(dialog, Key::Escape);
  ClickCloseBox(dialog);
  SystemMenu(dialog)->actions().front()->trigger();
  EXPECT_EQ(dialog.cancelCalls, 3);
  EXPECT_EQ(dialog.sysCommands, std::vector<unsigned>{SC_CLOSE});
  EXPECT_TRUE(DialogWidget(dialog)->isVisible()) << "only EndDialog closes the window";
}

TEST(ModalDialog, EnterInAnEditIsTheDefaultButtonWhichSavesAndEnds) {
  ProbeDialog dialog;
  const int result = RunModal(dialog, [&] {
    ReplaceText(dialog, kNumberEdit, "17");
    PressKey(dialog, Key::Enter);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(dialog.okCalls, 1);
  EXPECT_EQ(dialog.number, 17);
  EXPECT_FALSE(dialog.HasWindow());
}

TEST(ModalDialog, EnterWithoutAnyButtonAsksOnOK) {
  ProbeDialog dialog(BareTemplate());
  EXPECT_EQ(RunModal(dialog, [&] { PressKey(dialog, Key::Enter); }), IDOK);
  EXPECT_EQ(dialog.okCalls, 1);
}

TEST(ModalDialog, TheCancelButtonEndsWithIdCancelAndSavesNothing) {
  ProbeDialog dialog;
  const int result = RunModal(dialog, [&] {
    ReplaceText(dialog, kNumberEdit, "17");
    ClickControl(dialog, IDCANCEL);
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(dialog.number, 0);
}

TEST(ModalDialog, ARefusedSaveKeepsTheDialogOpenUntilTheTextIsMended) {
  ProbeDialog dialog;
  MessageCapture boxes;
  bool openAfterRefusal = false;
  const int result = RunModal(dialog, [&] {
    ReplaceText(dialog, kNumberEdit, "x");
    ClickControl(dialog, IDOK);
    openAfterRefusal = DialogWidget(dialog)->isVisible();
    ReplaceText(dialog, kNumberEdit, "8");
    ClickControl(dialog, IDOK);
  });
  EXPECT_TRUE(openAfterRefusal);
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Please enter an integer."});
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(dialog.number, 8);
}

class EndsAtOnce : public ProbeDialog {
 protected:
  bool OnInitDialog() override {
    EndDialog(42);
    return true;
  }
};

TEST(ModalDialog, EndingDuringInitialisationNeverEntersTheModalLoop) {
  EndsAtOnce dialog;
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(dialog.DoModal(), 42);
  EXPECT_LT(clock.elapsed(), 5000);
}

TEST(ModalDialog, WithoutAnOwnerItIsOwnedByTheApplicationsMainWindow) {
  ProbeDialog mainWindow;
  ASSERT_TRUE(mainWindow.Create());
  AfxGetApp()->m_pMainWnd = &mainWindow;
  ProbeDialog child;
  QWidget* parent = nullptr;
  RunModal(child, [&] {
    parent = DialogWidget(child)->parentWidget();
    child.EndDialog(IDCANCEL);
  });
  AfxGetApp()->m_pMainWnd = nullptr;
  EXPECT_EQ(parent, DialogWidget(mainWindow));
}

TEST_F(Dialog, ATimerFiresOnTheWindowThreadUntilKilled) {
  constexpr int kTimerId = 100;
  dialog.SetTimer(kTimerId, 20);
  EXPECT_TRUE(dialog.IsTimerRunning(kTimerId));
  ASSERT_TRUE(ProcessEventsUntil([&] { return dialog.timerIds.size() >= 3; }));
  EXPECT_EQ(dialog.timerIds, std::vector<int>(dialog.timerIds.size(), kTimerId));

  dialog.KillTimer(kTimerId);
  EXPECT_FALSE(dialog.IsTimerRunning(kTimerId));
  const std::size_t ticks = dialog.timerIds.size();
  ProcessEventsFor(100ms);
  EXPECT_EQ(dialog.timerIds.size(), ticks);
}

TEST_F(Dialog, SettingARunningTimerAgainRestartsItsPeriod) {
  constexpr int kTimerId = 7;
  constexpr int kPeriodMs = 300;
  QElapsedTimer clock;
  dialog.SetTimer(kTimerId, kPeriodMs);
  ProcessEventsFor(150ms);
  ASSERT_TRUE(dialog.timerIds.empty());
  clock.start();
  dialog.SetTimer(kTimerId, kPeriodMs);
  ASSERT_TRUE(ProcessEventsUntil([&] { return !dialog.timerIds.empty(); }));
  EXPECT_GE(clock.elapsed(), kPeriodMs - 10);
}

TEST_F(Dialog, TheSystemMenuHoldsCloseThenTheAppendedItemsWhichReachOnSysCommand) {
  constexpr unsigned kAboutId = 16;
  dialog.AppendSystemMenuSeparator();
  dialog.AppendSystemMenuItem(kAboutId, "&About tqxfft...");
  const QList<QAction*> items = SystemMenu(dialog)->actions();
  ASSERT_EQ(items.size(), 3);
  EXPECT_EQ(items[0]->data().toUInt(), SC_CLOSE);
  EXPECT_TRUE(items[1]->isSeparator());
  EXPECT_EQ(items[2]->text(), "&About tqxfft...");
  items[2]->trigger();
  EXPECT_EQ(dialog.sysCommands, std::vector<unsigned>{kAboutId});
  EXPECT_EQ(dialog.cancelCalls, 0);
}

TEST_F(Dialog, AltSpaceAndARightClickOnTheBackgroundOpenTheSystemMenu) {
  QMenu* menu = SystemMenu(dialog);
  QWidget* window = DialogWidget(dialog);
  window->activateWindow();
  ASSERT_TRUE(ProcessEventsUntil([&] { return QApplication::activeWindow() == window; }));
  PressKey(dialog, Key::AltSpace);
  ASSERT_TRUE(ProcessEventsUntil([&] { return menu->isVisible(); }));
  menu->hide();

  QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(2, 2), window->mapToGlobal(QPoint(2, 2)));
  QApplication::sendEvent(window, &rightClick);
  EXPECT_TRUE(ProcessEventsUntil([&] { return menu->isVisible(); }));
  menu->hide();
}

TEST_F(Dialog, SetIconGivesTheWindowEveryImageOfTheIcon) {
  const IconResource* icon = FindIconResource(kIconResource);
  ASSERT_NE(icon, nullptr);
  dialog.SetIcon(*icon, true);
  dialog.SetIcon(*icon, false);
  const QList<QSize> sizes = DialogWidget(dialog)->windowIcon().availableSizes();
  EXPECT_TRUE(sizes.contains(QSize(32, 32)));
  EXPECT_TRUE(sizes.contains(QSize(16, 16)));
}

}  // namespace
