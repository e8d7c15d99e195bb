#include <gtest/gtest.h>

#include "TestDialogs.h"
#include "framework/TextConversion.h"
#include "support/DialogDriver.h"
#include "support/MessageCapture.h"

namespace {

using namespace probe;

class DataExchange : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dialog.Create()); }
  void TearDown() override { dialog.DestroyWindow(); }

  std::vector<bool> FirstGroupChecks() const {
    return {dialog.IsDlgButtonChecked(kFirstGroupA), dialog.IsDlgButtonChecked(kFirstGroupB),
            dialog.IsDlgButtonChecked(kFirstGroupC)};
  }

  ProbeDialog dialog;
};

TEST_F(DataExchange, LoadWritesEveryMemberIntoItsControl) {
  dialog.number = -5;
  dialog.volts = 2.5f;
  dialog.name = "pump";
  dialog.firstGroup = 1;
  dialog.secondGroup = 0;
  dialog.checked = 1;
  ASSERT_TRUE(dialog.UpdateData(false));
  EXPECT_EQ(dialog.GetDlgItemText(kNumberEdit), "-5");
  EXPECT_EQ(dialog.GetDlgItemText(kVoltsEdit), "2.5");
  EXPECT_EQ(dialog.GetDlgItemText(kNameEdit), "pump");
  EXPECT_EQ(FirstGroupChecks(), (std::vector{false, true, false}));
  EXPECT_TRUE(dialog.IsDlgButtonChecked(kSecondGroupX));
  EXPECT_TRUE(dialog.IsDlgButtonChecked(kCheck));
}

TEST_F(DataExchange, SaveReadsWhatTheUserEnteredBackIntoTheMembers) {
  ReplaceText(dialog, kNumberEdit, " 42 ");
  ReplaceText(dialog, kVoltsEdit, ".5");
  ReplaceText(dialog, kNameEdit, "Door bell");
  ClickControl(dialog, kFirstGroupC);
  ClickControl(dialog, kCheck);
  ASSERT_TRUE(dialog.UpdateData(true));
  EXPECT_EQ(dialog.number, 42);
  EXPECT_EQ(dialog.volts, 0.5f);
  EXPECT_EQ(dialog.name, "Door bell");
  EXPECT_EQ(dialog.firstGroup, 2) << "the label inside the group is not counted";
  EXPECT_EQ(dialog.secondGroup, -1);
  EXPECT_EQ(dialog.checked, 1);
}

TEST_F(DataExchange, ARefusedIntegerFocusesItsTextAndLeavesLaterMembersAlone) {
  dialog.volts = 1.0f;
  dialog.name = "old";
  dialog.SetDlgItemText(kNumberEdit, "4x");
  dialog.SetDlgItemText(kVoltsEdit, "3");
  dialog.SetDlgItemText(kNameEdit, "new");
  dialog.GotoDlgCtrl(kNameEdit);
  MessageCapture boxes;
  int focusWhileBoxOpen = -1;
  boxes.WhileOpen([&](std::string_view) { focusWhileBoxOpen = FocusedControlId(dialog); });

  EXPECT_FALSE(dialog.UpdateData(true));
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{kIntegerRefusal}) << "one message, and only one";
  EXPECT_EQ(focusWhileBoxOpen, kNameEdit) << "the focus moves after the message";
  EXPECT_EQ(FocusedControlId(dialog), kNumberEdit);
  EXPECT_EQ(SelectedText(dialog, kNumberEdit), "4x");
  EXPECT_EQ(dialog.volts, 1.0f);
  EXPECT_EQ(dialog.name, "old");
}

TEST_F(DataExchange, ARefusedNumberKeepsTheMembersSavedBeforeIt) {
  dialog.name = "old";
  dialog.SetDlgItemText(kNumberEdit, "7");
  dialog.SetDlgItemText(kVoltsEdit, "2,5");
  dialog.SetDlgItemText(kNameEdit, "new");
  MessageCapture boxes;
  EXPECT_FALSE(dialog.UpdateData(true));
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{kNumberRefusal});
  EXPECT_EQ(dialog.number, 7);
  EXPECT_EQ(dialog.name, "old");
  EXPECT_EQ(FocusedControlId(dialog), kVoltsEdit);
  EXPECT_EQ(SelectedText(dialog, kVoltsEdit), "2,5");
}

TEST_F(DataExchange, ATextOverItsLimitIsRefusedWithTheLimitInTheMessage) {
  dialog.SetDlgItemText(kNameEdit, std::string(kNameLimit + 1, 'n'));
  MessageCapture boxes;
  EXPECT_FALSE(dialog.UpdateData(true));
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Please enter no more than 10 characters."});
  EXPECT_EQ(dialog.name, "");

  dialog.SetDlgItemText(kNameEdit, std::string(kNameLimit, 'n'));
  EXPECT_TRUE(dialog.UpdateData(true));
  EXPECT_EQ(dialog.name, std::string(kNameLimit, 'n'));
}

TEST_F(DataExchange, LoadLimitsTypingButShowsALongerStoredTextInFull) {
  ASSERT_TRUE(dialog.UpdateData(false));
  TypeText(dialog, kNameEdit, "abcdefghijklmn");
  EXPECT_EQ(dialog.GetDlgItemText(kNameEdit), "abcdefghij");

  dialog.name = "a stored name of 29 characters";
  ASSERT_TRUE(dialog.UpdateData(false));
  EXPECT_EQ(dialog.GetDlgItemText(kNameEdit), dialog.name);
}

// A window that pauses something while the user types must not pause it when
// it shows a value in its own form: a typed 2.50 is written back as 2.5.
TEST_F(DataExchange, LoadsReportNoChangeEvenWhenTheyRewriteWhatTheUserTyped) {
  ASSERT_TRUE(dialog.UpdateData(false));
  ReplaceText(dialog, kVoltsEdit, "2.50");
  const int typed = dialog.ChangesOf(kVoltsEdit);
  ASSERT_GT(typed, 0);
  ASSERT_TRUE(dialog.UpdateData(true));
  ASSERT_TRUE(dialog.UpdateData(false));
  EXPECT_EQ(dialog.GetDlgItemText(kVoltsEdit), "2.5");
  EXPECT_EQ(dialog.ChangesOf(kVoltsEdit), typed);
}

TEST_F(DataExchange, RadioLoadSelectsByIndexWithinItsGroupAndMinusOneClearsIt) {
  dialog.secondGroup = 1;
  dialog.firstGroup = 2;
  ASSERT_TRUE(dialog.UpdateData(false));
  EXPECT_EQ(FirstGroupChecks(), (std::vector{false, false, true}));
  EXPECT_TRUE(dialog.IsDlgButtonChecked(kSecondGroupY)) << "the next group is its own";

  dialog.firstGroup = -1;
  ASSERT_TRUE(dialog.UpdateData(false));
  EXPECT_EQ(FirstGroupChecks(), (std::vector{false, false, false}));

  dialog.firstGroup = 3;
  ASSERT_TRUE(dialog.UpdateData(false));
  EXPECT_EQ(FirstGroupChecks(), (std::vector{false, false, false})) << "beyond the group selects nothing";

  ASSERT_TRUE(dialog.UpdateData(true));
  EXPECT_EQ(dialog.firstGroup, -1);
  EXPECT_EQ(dialog.secondGroup, 1);
}

TEST_F(DataExchange, ClickingARadioButtonClearsOnlyItsOwnGroup) {
  ClickControl(dialog, kFirstGroupA);
  ClickControl(dialog, kSecondGroupX);
  ClickControl(dialog, kFirstGroupB);
  ClickControl(dialog, kFirstGroupB);
  EXPECT_EQ(FirstGroupChecks(), (std::vector{false, true, false})) << "a second click keeps it selected";
  EXPECT_TRUE(dialog.IsDlgButtonChecked(kSecondGroupX));
  ASSERT_TRUE(dialog.UpdateData(true));
  EXPECT_EQ(dialog.firstGroup, 1);
  EXPECT_EQ(dialog.secondGroup, 0);
}

// Only a stored 1 enables anything, so only a 1 may show as checked.
TEST_F(DataExchange, CheckShowsOnlyOneAsCheckedAndSetsAStateOutsideZeroToTwoToZeroFirst) {
  for (std::int32_t outside : {3, -1}) {
    dialog.checked = outside;
    dialog.CheckDlgButton(kCheck, true);
    ASSERT_TRUE(dialog.UpdateData(false));
    EXPECT_EQ(dialog.checked, 0) << outside;
    EXPECT_FALSE(dialog.IsDlgButtonChecked(kCheck)) << outside;
  }
  dialog.checked = 2;
  ASSERT_TRUE(dialog.UpdateData(false));
  EXPECT_EQ(dialog.checked, 2);
  EXPECT_FALSE(dialog.IsDlgButtonChecked(kCheck));
  ASSERT_TRUE(dialog.UpdateData(true));
  EXPECT_EQ(dialog.checked, 0);
}

TEST(DataExchangeWithoutWindow, UpdateDataFailsWithoutAsking) {
  ProbeDialog dialog;
  EXPECT_FALSE(dialog.UpdateData(true));
  EXPECT_FALSE(dialog.UpdateData(false));
}

}  // namespace
