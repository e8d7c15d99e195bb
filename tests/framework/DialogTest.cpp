#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "TestDialogs.h"
#include "framework/WinApp.h"
#include "framework/dialog/WindowPlacement.h"
#include "support/DialogDriver.h"
#include "support/MessageCapture.h"

namespace {

using namespace probe;

class Dialog : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dialog.Create()); }
  void TearDown() override { dialog.DestroyWindow(); }

  ProbeDialog dialog;
};

TEST_F(Dialog, DialogUnitsAreQuartersOfTheAverageCharacterWidthAndEighthsOfItsHeight) {
  const int averageWidth = (TextWidth(dialog, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") + 26) / 52;
  const int height = DialogFont(dialog).lineHeight;
  EXPECT_EQ(dialog.MapDialogRect(CRect{4, 8, 40, 80}), (CRect{averageWidth, height, averageWidth * 10, height * 10}));
  EXPECT_EQ(dialog.MapDialogRect(CRect{2, 4, 0, 0}), (CRect{(averageWidth + 1) / 2, (height + 1) / 2, 0, 0}))
      << "halves round up";

  const CRect client = dialog.MapDialogRect(CRect{0, 0, 200, 150});
  EXPECT_EQ(dialog.GetClientRect(), client);
  const CRect edit = dialog.MapDialogRect(CRect{10, 10, 40, 14});
  EXPECT_EQ(ControlRect(dialog, kNumberEdit),
            (CRect{edit.left, edit.top, edit.left + edit.right, edit.top + edit.bottom}));
}

TEST_F(Dialog, AFaceTheSystemLacksFallsBackToASansFontOfTheTemplatesSize) {
  const FontFacts font = DialogFont(dialog);
  EXPECT_EQ(font.pointSize, 8);
  EXPECT_FALSE(font.fixedPitch);
  EXPECT_GT(font.lineHeight, 0);
}

TEST_F(Dialog, ControlsAreBuiltByKindWithTheirStylesAndNamedByTheirIds) {
  const BuiltControl edit = InspectControl(dialog, kNumberEdit);
  ASSERT_EQ(edit.kind, ControlKind::Edit);
  const CRect editPlace = ControlRect(dialog, kNumberEdit);
  EXPECT_EQ(ControlIdAt(dialog, editPlace.left + 2, editPlace.top + 2), kNumberEdit);
  EXPECT_TRUE(edit.framed);
  EXPECT_FALSE(edit.readOnly);

  const BuiltControl readOnly = InspectControl(dialog, kReadOnlyEdit);
  ASSERT_EQ(readOnly.kind, ControlKind::Edit);
  EXPECT_FALSE(readOnly.framed);
  EXPECT_TRUE(readOnly.readOnly);
  EXPECT_TRUE(readOnly.rightAligned);

  EXPECT_EQ(InspectControl(dialog, IDOK).kind, ControlKind::DefPushButton);
  EXPECT_EQ(InspectControl(dialog, kPushButton).kind, ControlKind::PushButton);

  const BuiltControl check = InspectControl(dialog, kCheck);
  ASSERT_EQ(check.kind, ControlKind::CheckBox);
  EXPECT_FALSE(check.threeState);
  EXPECT_EQ(InspectControl(dialog, kFirstGroupA).kind, ControlKind::RadioButton);
  EXPECT_EQ(InspectControl(dialog, kGroupBox).kind, ControlKind::GroupBox);

  EXPECT_EQ(dialog.GetDlgItemText(kPrefixLabel), "Name & more");
  EXPECT_EQ(dialog.GetDlgItemText(kNoPrefixLabel), "A&B");
  EXPECT_EQ(dialog.GetWindowText(), "Probe");
}

TEST_F(Dialog, AnIconControlShowsTheRegisteredIconAtItsOwnSize) {
  ASSERT_EQ(InspectControl(dialog, kIcon).kind, ControlKind::Icon);
  const CRect place = ControlRect(dialog, kIcon);
  EXPECT_EQ(place.Width(), kIconSize);
  EXPECT_EQ(place.Height(), kIconSize);
  EXPECT_EQ(GrabClient(dialog).At(place.left + kIconSize / 2, place.top + kIconSize / 2), kIconColour);
}

TEST_F(Dialog, TheGroupBoxStaysBehindTheControlsItFrames) {
  const CRect radio = ControlRect(dialog, kFirstGroupA);
  const int x = (radio.left + radio.right) / 2;
  const int y = (radio.top + radio.bottom) / 2;
  const CRect groupBox = ControlRect(dialog, kGroupBox);
  ASSERT_TRUE(x >= groupBox.left && x < groupBox.right && y >= groupBox.top && y < groupBox.bottom);
  EXPECT_EQ(ControlIdAt(dialog, x, y), kFirstGroupA);
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
  ChooseSystemMenuItem(dialog, SC_CLOSE);
  EXPECT_EQ(dialog.cancelCalls, 3);
  EXPECT_EQ(dialog.sysCommands, std::vector<unsigned>{SC_CLOSE});
  EXPECT_TRUE(IsShown(dialog)) << "only EndDialog closes the window";
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
    openAfterRefusal = IsShown(dialog);
    ReplaceText(dialog, kNumberEdit, "8");
    ClickControl(dialog, IDOK);
  });
  EXPECT_TRUE(openAfterRefusal);
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Please enter an integer."});
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(dialog.number, 8);
}

// Along one axis, the work area from 40 to 840.
TEST(WindowPlacement, CentredOverItsOwnerOrItsScreenAndKeptInsideTheWorkArea) {
  const struct {
    const char* what;
    int length, overFrom, overTo;
    int start;
  } cases[] = {
      {"no owner: over the area", 100, 40, 840, 390},
      {"over its owner", 100, 140, 440, 240},
      {"owner past the end", 100, 740, 1040, 740},
      {"owner past the start", 100, -300, 0, 40},
      {"longer than the area", 900, 40, 840, 40},
  };
  for (const auto& c : cases) EXPECT_EQ(PlaceAlongAxis(c.length, c.overFrom, c.overTo, 40, 840), c.start) << c.what;
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
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(dialog.DoModal(), 42);
  EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
}

TEST(ModalDialog, WithoutAnOwnerItIsOwnedByTheApplicationsMainWindow) {
  ProbeDialog mainWindow;
  ASSERT_TRUE(mainWindow.Create());
  AfxGetApp()->m_pMainWnd = &mainWindow;
  ProbeDialog child;
  bool owned = false;
  RunModal(child, [&] {
    owned = IsOwnedBy(child, mainWindow);
    child.EndDialog(IDCANCEL);
  });
  AfxGetApp()->m_pMainWnd = nullptr;
  EXPECT_TRUE(owned);
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
  constexpr auto kPeriod = 300ms;
  dialog.SetTimer(kTimerId, kPeriod.count());
  ProcessEventsFor(150ms);
  ASSERT_TRUE(dialog.timerIds.empty());
  const auto restarted = std::chrono::steady_clock::now();
  dialog.SetTimer(kTimerId, kPeriod.count());
  ASSERT_TRUE(ProcessEventsUntil([&] { return !dialog.timerIds.empty(); }));
  EXPECT_GE(std::chrono::steady_clock::now() - restarted, kPeriod - 10ms);
}

TEST_F(Dialog, TheSystemMenuHoldsCloseThenTheAppendedItemsWhichReachOnSysCommand) {
  constexpr unsigned kAboutId = 16;
  dialog.AppendSystemMenuSeparator();
  dialog.AppendSystemMenuItem(kAboutId, "&About tqxfft...");
  const std::vector<SystemMenuItem> items = SystemMenuItems(dialog);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].id, SC_CLOSE);
  EXPECT_TRUE(items[1].separator);
  EXPECT_EQ(items[2], (SystemMenuItem{kAboutId, "&About tqxfft...", false}));
  ChooseSystemMenuItem(dialog, kAboutId);
  EXPECT_EQ(dialog.sysCommands, std::vector<unsigned>{kAboutId});
  EXPECT_EQ(dialog.cancelCalls, 0);
}

TEST_F(Dialog, AltSpaceAndARightClickOnTheBackgroundOpenTheSystemMenu) {
  ASSERT_TRUE(SystemMenuOpensOn(dialog, [&] { PressKey(dialog, Key::AltSpace); }));
  EXPECT_TRUE(SystemMenuOpensOn(dialog, [&] { RightClick(dialog, 2, 2); }));
}

TEST_F(Dialog, SetIconGivesTheWindowEveryImageOfTheIcon) {
  const IconResource* icon = FindIconResource(kIconResource);
  ASSERT_NE(icon, nullptr);
  dialog.SetIcon(*icon, true);
  dialog.SetIcon(*icon, false);
  const std::vector<int> sizes = WindowIconSizes(dialog);
  EXPECT_NE(std::find(sizes.begin(), sizes.end(), 32), sizes.end());
  EXPECT_NE(std::find(sizes.begin(), sizes.end(), 16), sizes.end());
}

}  // namespace
