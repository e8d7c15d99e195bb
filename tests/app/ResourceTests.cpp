#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "res/DialogTemplates.h"
#include "res/ProgramIcon.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"

namespace {

const ControlTemplate* FindControl(const DialogTemplate& dialog, int id) {
  const auto found = std::ranges::find(dialog.controls, id, &ControlTemplate::id);
  return found == dialog.controls.end() ? nullptr : &*found;
}

bool Has(const ControlTemplate& control, unsigned style) { return (control.style & style) != 0; }

// The radio groups as the window sees them: a group runs from a control that
// starts a group up to the next one, and only its radio buttons count.
std::vector<std::vector<int>> RadioGroups(const DialogTemplate& dialog) {
  std::vector<std::vector<int>> groups;
  bool inGroup = false;
  for (const ControlTemplate& control : dialog.controls) {
    if (Has(control, ControlStyle::Group)) {
      groups.emplace_back();
      inGroup = true;
    }
    if (control.kind == ControlKind::RadioButton && inGroup) groups.back().push_back(control.id);
  }
  std::erase_if(groups, [](const std::vector<int>& group) { return group.empty(); });
  return groups;
}

void ExpectPlace(const DialogTemplate& dialog, int id, int x, int y, int cx, int cy) {
  const ControlTemplate* control = FindControl(dialog, id);
  ASSERT_NE(control, nullptr) << "control " << id;
  EXPECT_EQ(control->x, x) << "control " << id;
  EXPECT_EQ(control->y, y) << "control " << id;
  EXPECT_EQ(control->cx, cx) << "control " << id;
  EXPECT_EQ(control->cy, cy) << "control " << id;
}

}  // namespace

TEST(DialogTemplates, EveryAddressedControlHasAnIdOfItsOwnWithinItsTemplate) {
  for (const DialogTemplate* dialog :
       {&MainWindowTemplate(), &AboutBoxTemplate(), &FunctionSetupTemplate()}) {
    std::multiset<int> ids;
    for (const ControlTemplate& control : dialog->controls)
      if (control.id != IDC_STATIC) ids.insert(control.id);
    for (int id : ids) EXPECT_EQ(ids.count(id), 1u) << "template " << dialog->id << ", id " << id;
  }
}

TEST(DialogTemplates, WindowsHaveTheirSizesFontsAndCaptions) {
  const DialogTemplate& main = MainWindowTemplate();
  const DialogTemplate& about = AboutBoxTemplate();
  const DialogTemplate& setup = FunctionSetupTemplate();
  EXPECT_EQ(main.id, IDD_MONITOR_DIALOG);
  EXPECT_EQ(about.id, IDD_ABOUTBOX);
  EXPECT_EQ(setup.id, IDD_FUNCTION_SETUP);
  EXPECT_EQ(std::pair(main.cx, main.cy), std::pair(208, 181));
  EXPECT_EQ(std::pair(about.cx, about.cy), std::pair(235, 55));
  EXPECT_EQ(std::pair(setup.cx, setup.cy), std::pair(193, 297));
  EXPECT_EQ(main.fontPoints, 12);
  EXPECT_EQ(about.fontPoints, 8);
  EXPECT_EQ(setup.fontPoints, 8);
  EXPECT_STREQ(main.caption, "TQX FFT V1.1");
  EXPECT_STREQ(about.caption, "About tqxfft");
  EXPECT_TRUE(main.style & DialogStyle::TaskBar);
  EXPECT_FALSE(setup.style & DialogStyle::TaskBar);
}

TEST(MainWindowTemplate, CreatesLineButtonsFirstAndTheGroupBoxLast) {
  using namespace MainWindowIds;
  const auto controls = MainWindowTemplate().controls;
  ASSERT_EQ(controls.size(), 91u);
  EXPECT_EQ(controls[0].id, IDC_P00_HIGH);
  EXPECT_EQ(controls[1].id, IDC_P00_LOW);
  EXPECT_EQ(controls[2].id, IDC_P01_HIGH);
  EXPECT_EQ(controls[23].id, IDC_P17_LOW);
  EXPECT_EQ(controls[24].id, IDC_SET_ANALOG1);
  EXPECT_EQ(controls[27].id, IDC_VOLTS2);
  EXPECT_EQ(controls[28].id, IDC_OPEN_K1);
  EXPECT_EQ(controls[35].id, IDC_CLOSE_K4);
  EXPECT_EQ(controls[36].id, IDC_COUNT_F1);
  EXPECT_EQ(controls[59].id, IDC_NAME_F8);
  EXPECT_EQ(controls[60].id, IDC_NOISY);
  EXPECT_EQ(controls[62].id, IDC_PEAK_BIN);
  EXPECT_STREQ(controls[63].text, "Bin:");
  EXPECT_EQ(controls[68].id, IDC_TOP_COUNT);
  EXPECT_STREQ(controls[70].text, "1");
  EXPECT_STREQ(controls[78].text, "P00");
  EXPECT_STREQ(controls[89].text, "P17");
  EXPECT_EQ(controls.back().kind, ControlKind::GroupBox);
  EXPECT_STREQ(controls.back().text, "Initial Setup");
}

TEST(MainWindowTemplate, EachLinePairIsARadioGroupOfItsOwnAndTheModesAreOneGroup) {
  using namespace MainWindowIds;
  std::vector<std::vector<int>> expected;
  for (int line = 0; line < kLineCount; ++line)
    expected.push_back({LineHighButtons[line], LineLowButtons[line]});
  expected.push_back({IDC_NOISY, IDC_QUIET});
  EXPECT_EQ(RadioGroups(MainWindowTemplate()), expected);
}

TEST(MainWindowTemplate, FocusStartsAtSetAnalog1BecauseNoLineButtonIsATabStop) {
  using namespace MainWindowIds;
  const auto controls = MainWindowTemplate().controls;
  const auto firstTabStop = std::ranges::find_if(
      controls, [](const ControlTemplate& c) { return Has(c, ControlStyle::TabStop); });
  ASSERT_NE(firstTabStop, controls.end());
  EXPECT_EQ(firstTabStop->id, IDC_SET_ANALOG1);
}

TEST(MainWindowTemplate, ControlsSitWhereTheLayoutPutsThem) {
  using namespace MainWindowIds;
  const DialogTemplate& main = MainWindowTemplate();
  ExpectPlace(main, IDC_P03_HIGH, 119, 13, 13, 8);
  ExpectPlace(main, IDC_P16_LOW, 152, 38, 13, 8);
  ExpectPlace(main, IDC_VOLTS2, 171, 49, 22, 12);
  ExpectPlace(main, IDC_CLOSE_K3, 115, 74, 39, 9);
  ExpectPlace(main, IDC_COUNT_F4, 15, 138, 13, 12);
  ExpectPlace(main, IDC_SETUP_F6, 130, 110, 25, 12);
  ExpectPlace(main, IDC_NAME_F8, 157, 138, 44, 12);
  ExpectPlace(main, IDC_TOP_COUNT, 84, 158, 17, 12);
  ExpectPlace(main, IDC_QUIET, 104, 161, 69, 10);
  const ControlTemplate& labelP03 = main.controls[81];  // breaks its row's rhythm: 105, not 107
  EXPECT_STREQ(labelP03.text, "P03");
  EXPECT_EQ(std::pair(labelP03.x, labelP03.y), std::pair(105, 16));
}

TEST(MainWindowTemplate, FieldsHaveTheStylesOfTheirKind) {
  using namespace MainWindowIds;
  const DialogTemplate& main = MainWindowTemplate();
  for (int function = 0; function < kFunctionRowCount; ++function) {
    const ControlTemplate* count = FindControl(main, CountFields[function]);
    const ControlTemplate* setup = FindControl(main, SetupButtons[function]);
    const ControlTemplate* name = FindControl(main, NameFields[function]);
    ASSERT_TRUE(count && setup && name) << "function " << function + 1;
    EXPECT_TRUE(Has(*count, ControlStyle::ReadOnly) && Has(*count, ControlStyle::Border));
    EXPECT_TRUE(Has(*name, ControlStyle::ReadOnly) && Has(*name, ControlStyle::Border));
    EXPECT_EQ(setup->kind, ControlKind::PushButton);
    EXPECT_STREQ(setup->text, "Setup");
  }
  const ControlTemplate* volts = FindControl(main, IDC_VOLTS1);
  EXPECT_FALSE(Has(*volts, ControlStyle::ReadOnly));
  EXPECT_TRUE(Has(*volts, ControlStyle::Border));
  const ControlTemplate* peak = FindControl(main, IDC_PEAK_BIN);
  EXPECT_TRUE(Has(*peak, ControlStyle::ReadOnly));
  EXPECT_FALSE(Has(*peak, ControlStyle::Border));
  for (const ControlTemplate& control : main.controls) {
    if (control.kind == ControlKind::PushButton || control.kind == ControlKind::Edit) {
      EXPECT_TRUE(Has(control, ControlStyle::TabStop)) << "control " << control.id;
    }
  }
}

TEST(AboutBoxTemplate, ShowsTheProgramIconTheVersionTextAndADefaultOk) {
  const auto controls = AboutBoxTemplate().controls;
  ASSERT_EQ(controls.size(), 3u);
  EXPECT_EQ(controls[0].kind, ControlKind::Icon);
  EXPECT_EQ(controls[0].resourceId, IDI_PROGRAM_ICON);
  EXPECT_EQ(std::tuple(controls[0].x, controls[0].y, controls[0].cx, controls[0].cy),
            std::tuple(11, 17, 20, 20));
  EXPECT_STREQ(controls[1].text, "tqxfft Version 1.0");
  EXPECT_TRUE(Has(controls[1], ControlStyle::NoPrefix));
  EXPECT_EQ(controls[2].id, IDOK);
  EXPECT_EQ(controls[2].kind, ControlKind::DefPushButton);
}

TEST(FunctionSetupTemplate, RadioGroupsAreTheLinesTheLineActionAndEachRelay) {
  using namespace FunctionSetupIds;
  const std::vector<std::vector<int>> expected = {
      {1044, 1045, 1046, 1047, 1048, 1049, 1050, 1051, 1052, 1053, 1054, 1055},
      {IDC_LINE_HIGH, IDC_LINE_LOW, IDC_LINE_TOGGLE},
      {IDC_RELAY1_CLOSE, IDC_RELAY1_OPEN, IDC_RELAY1_TOGGLE},
      {IDC_RELAY2_CLOSE, IDC_RELAY2_OPEN, IDC_RELAY2_TOGGLE},
      {IDC_RELAY3_CLOSE, IDC_RELAY3_OPEN, IDC_RELAY3_TOGGLE},
      {IDC_RELAY4_CLOSE, IDC_RELAY4_OPEN, IDC_RELAY4_TOGGLE},
  };
  EXPECT_EQ(RadioGroups(FunctionSetupTemplate()), expected);
  EXPECT_STREQ(FindControl(FunctionSetupTemplate(), IDC_RELAY1_OPEN)->text, "Open");
}

TEST(FunctionSetupTemplate, TabOrderStartsAtBin1AndSkipsEveryRadioButton) {
  using namespace FunctionSetupIds;
  const auto controls = FunctionSetupTemplate().controls;
  ASSERT_EQ(controls.size(), 48u);
  EXPECT_EQ(controls.front().id, IDC_BIN1);
  EXPECT_TRUE(Has(controls.front(), ControlStyle::TabStop));
  for (const ControlTemplate& control : controls) {
    if (control.kind == ControlKind::RadioButton) {
      EXPECT_FALSE(Has(control, ControlStyle::TabStop)) << "control " << control.id;
    }
  }
  EXPECT_STREQ(controls.back().text, "Function to be performed if tone(s) are heard:");
}

TEST(FunctionSetupTemplate, ControlsSitWhereTheLayoutPutsThem) {
  using namespace FunctionSetupIds;
  const DialogTemplate& setup = FunctionSetupTemplate();
  ExpectPlace(setup, IDC_BIN3, 135, 27, 40, 14);
  ExpectPlace(setup, IDC_REQUIRED_COUNT, 140, 78, 40, 14);
  ExpectPlace(setup, IDC_LINE_P12, 77, 136, 27, 10);
  ExpectPlace(setup, IDC_LINE_P17, 110, 147, 27, 10);
  ExpectPlace(setup, IDC_RELAY2, 102, 210, 39, 10);
  EXPECT_EQ(FindControl(setup, IDC_RELAY1_OPEN)->y, 211);
  EXPECT_EQ(FindControl(setup, IDC_RELAY3_TOGGLE)->x, 56);
  ExpectPlace(setup, IDOK, 7, 276, 116, 14);
  ExpectPlace(setup, IDC_COUNT_PROMPT, 7, 82, 129, 14);
  EXPECT_TRUE(Has(*FindControl(setup, IDC_COUNT_PROMPT), ControlStyle::RightAlign));
  EXPECT_FALSE(Has(*FindControl(setup, IDC_BINS_PROMPT), ControlStyle::Border));
  EXPECT_EQ(FindControl(setup, IDOK)->kind, ControlKind::DefPushButton);
}

TEST(StringTable, HoldsTheAboutItemTextAndAnswersEmptyForUnknownIds) {
  EXPECT_STREQ(LoadString(IDS_ABOUTBOX), "&About tqxfft...");
  EXPECT_STREQ(LoadString(102), "");
  EXPECT_STREQ(LoadString(0), "");
}

TEST(ProgramIcon, HoldsA32And16PixelImageOfAtMost16Colours) {
  const IconResource& icon = ProgramIcon();
  EXPECT_EQ(icon.id, IDI_PROGRAM_ICON);
  ASSERT_EQ(icon.images.size(), 2u);
  EXPECT_EQ(icon.images[0].size, 32);
  EXPECT_EQ(icon.images[1].size, 16);
  for (const IconImage& image : icon.images) {
    EXPECT_LE(image.palette.size(), 16u);
    ASSERT_EQ(image.pixels.size(), static_cast<std::size_t>(image.size * image.size));
    EXPECT_LT(*std::ranges::max_element(image.pixels), image.palette.size());
  }
}
