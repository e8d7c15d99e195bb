#include "res/DialogTemplates.h"

#include <array>
#include <cstddef>
#include <iterator>

#include "res/ResourceIds.h"

namespace {

using enum ControlKind;
namespace Style = ControlStyle;

// Styles of the recurring kinds of field and button. Every edit scrolls
// horizontally, so no field caps its text at what fits in its width, below the
// limits the data exchange sets.
constexpr unsigned kButtonStyle = Style::TabStop;
constexpr unsigned kEditStyle = Style::Border | Style::AutoHScroll | Style::TabStop;
constexpr unsigned kBoxedReadOnlyStyle = Style::Border | Style::ReadOnly | Style::AutoHScroll | Style::TabStop;
constexpr unsigned kPlainReadOnlyStyle = Style::ReadOnly | Style::AutoHScroll | Style::TabStop;
constexpr unsigned kCheckBoxStyle = Style::TabStop;

constexpr const char* kFontFace = "MS Sans Serif";

// Collects a template's controls at compile time and refuses to compile when
// the number added differs from the number declared.
template <std::size_t Count>
class ControlList {
 public:
  constexpr void Add(const ControlTemplate& control) { controls[added++] = control; }

  constexpr std::array<ControlTemplate, Count> Finished() const {
    if (added != Count) throw "the template declares a different number of controls";
    return controls;
  }

 private:
  std::array<ControlTemplate, Count> controls{};
  std::size_t added = 0;
};

// ---------------------------------------------------------------------------
// Template 102, the main window.

namespace MainWindowLayout {

using namespace MainWindowIds;

// One expander line: its label and its "1"/"0" radio pair, both buttons in one
// column, 13 x 8 each.
struct LinePairRow {
  const char* name;
  int labelX, labelY;
  int highId, lowId;
  int buttonX, highY, lowY;
};

// clang-format off
constexpr LinePairRow kLinePairs[] = {
    // line   label x, y   "1" button    "0" button   x    "1" y "0" y
    {"P00",    8, 16,     IDC_P00_HIGH,  IDC_P00_LOW,  22, 13,   20},
    {"P01",   41, 16,     IDC_P01_HIGH,  IDC_P01_LOW,  55, 13,   20},
    {"P02",   74, 16,     IDC_P02_HIGH,  IDC_P02_LOW,  87, 13,   20},
    {"P03",  105, 16,     IDC_P03_HIGH,  IDC_P03_LOW, 119, 13,   20},
    {"P10",  138, 16,     IDC_P10_HIGH,  IDC_P10_LOW, 152, 13,   20},
    {"P11",  171, 16,     IDC_P11_HIGH,  IDC_P11_LOW, 185, 13,   20},
    {"P12",    8, 34,     IDC_P12_HIGH,  IDC_P12_LOW,  22, 31,   38},
    {"P13",   41, 34,     IDC_P13_HIGH,  IDC_P13_LOW,  55, 31,   38},
    {"P14",   74, 34,     IDC_P14_HIGH,  IDC_P14_LOW,  87, 31,   38},
    {"P15",  105, 34,     IDC_P15_HIGH,  IDC_P15_LOW, 119, 31,   38},
    {"P16",  138, 34,     IDC_P16_HIGH,  IDC_P16_LOW, 152, 31,   38},
    {"P17",  171, 34,     IDC_P17_HIGH,  IDC_P17_LOW, 185, 31,   38},
};
// clang-format on
constexpr int kLineLabelWidth = 13, kLineLabelHeight = 8;
constexpr int kLineButtonWidth = 13, kLineButtonHeight = 8;

// One function: its number label (8 x 8), Count field (13 x 12), Setup button
// (25 x 12) and Name field (44 x 12); the three controls share one y.
struct FunctionRow {
  const char* number;
  int labelX, labelY;
  int countId, setupId, nameId;
  int countX, setupX, nameX, y;
};

// clang-format off
constexpr FunctionRow kFunctionRows[] = {
    // no.  label x, y   Count         Setup         Name          Count x, Setup x, Name x, y
    {"1",    7,  99,     IDC_COUNT_F1, IDC_SETUP_F1, IDC_NAME_F1,   15,      30,       57,     96},
    {"2",    7, 112,     IDC_COUNT_F2, IDC_SETUP_F2, IDC_NAME_F2,   15,      30,       57,    110},
    {"3",    7, 126,     IDC_COUNT_F3, IDC_SETUP_F3, IDC_NAME_F3,   15,      30,       57,    124},
    {"4",    7, 141,     IDC_COUNT_F4, IDC_SETUP_F4, IDC_NAME_F4,   15,      30,       57,    138},
    {"5",  107,  99,     IDC_COUNT_F5, IDC_SETUP_F5, IDC_NAME_F5,  115,     130,      157,     96},
    {"6",  107, 112,     IDC_COUNT_F6, IDC_SETUP_F6, IDC_NAME_F6,  115,     130,      157,    110},
    {"7",  107, 126,     IDC_COUNT_F7, IDC_SETUP_F7, IDC_NAME_F7,  115,     130,      157,    124},
    {"8",  107, 141,     IDC_COUNT_F8, IDC_SETUP_F8, IDC_NAME_F8,  115,     130,      157,    138},
};
// clang-format on
constexpr int kNumberLabelWidth = 8, kNumberLabelHeight = 8;
constexpr int kCountFieldWidth = 13, kSetupButtonWidth = 25, kNameFieldWidth = 44;
constexpr int kFunctionRowHeight = 12;

constexpr std::size_t kMainWindowControlCount = 91;

consteval std::array<ControlTemplate, kMainWindowControlCount> BuildMainWindowControls() {
  ControlList<kMainWindowControlCount> list;

  // Each "1" starts a group, so every pair is a radio group of its own. The
  // line buttons are for the mouse: none is a tab stop.
  for (const LinePairRow& line : kLinePairs) {
    list.Add({line.highId, RadioButton, "1", line.buttonX, line.highY, kLineButtonWidth,
              kLineButtonHeight, Style::Group});
    list.Add({line.lowId, RadioButton, "0", line.buttonX, line.lowY, kLineButtonWidth,
              kLineButtonHeight});
  }

  list.Add({IDC_SET_ANALOG1, PushButton, "Set Analog 1", 15, 49, 50, 12, kButtonStyle});
  list.Add({IDC_VOLTS1, Edit, "", 70, 49, 22, 12, kEditStyle});
  list.Add({IDC_SET_ANALOG2, PushButton, "Set Analog 2", 116, 49, 50, 12, kButtonStyle});
  list.Add({IDC_VOLTS2, Edit, "", 171, 49, 22, 12, kEditStyle});

  list.Add({IDC_OPEN_K1, PushButton, "Open K1", 15, 63, 39, 9, kButtonStyle});
  list.Add({IDC_CLOSE_K1, PushButton, "Close K1", 15, 74, 39, 9, kButtonStyle});
  list.Add({IDC_OPEN_K2, PushButton, "Open K2", 56, 63, 39, 9, kButtonStyle});
  list.Add({IDC_CLOSE_K2, PushButton, "Close K2", 56, 74, 39, 9, kButtonStyle});
  list.Add({IDC_OPEN_K3, PushButton, "Open K3", 115, 63, 39, 9, kButtonStyle});
  list.Add({IDC_CLOSE_K3, PushButton, "Close K3", 115, 74, 39, 9, kButtonStyle});
  list.Add({IDC_OPEN_K4, PushButton, "Open K4", 156, 63, 39, 9, kButtonStyle});
  list.Add({IDC_CLOSE_K4, PushButton, "Close K4", 156, 74, 39, 9, kButtonStyle});

  for (const FunctionRow& row : kFunctionRows) {
    list.Add({row.countId, Edit, "", row.countX, row.y, kCountFieldWidth, kFunctionRowHeight,
              kBoxedReadOnlyStyle});
    list.Add({row.setupId, PushButton, "Setup", row.setupX, row.y, kSetupButtonWidth,
              kFunctionRowHeight, kButtonStyle});
    list.Add({row.nameId, Edit, "", row.nameX, row.y, kNameFieldWidth, kFunctionRowHeight,
              kBoxedReadOnlyStyle});
  }

  // The mode group is a tab stop at its first button, so the keyboard can
  // reach the choice; the group runs to the end of the window, and no radio
  // button follows.
  list.Add({IDC_NOISY, RadioButton, "Noisy Environment", 104, 152, 69, 10,
            Style::Group | Style::TabStop});
  list.Add({IDC_QUIET, RadioButton, "Quiet Environment", 104, 161, 69, 10});
  list.Add({IDC_PEAK_BIN, Edit, "", 36, 158, 17, 12, kPlainReadOnlyStyle});
  list.Add({IDC_STATIC, Label, "Bin:", 20, 158, 13, 8});
  list.Add({IDC_STATIC, Label, "Counts:", 15, 87, 25, 8});
  list.Add({IDC_STATIC, Label, "Name:", 57, 87, 21, 8});
  list.Add({IDC_STATIC, Label, "Counts:", 115, 87, 25, 8});
  list.Add({IDC_STATIC, Label, "Name:", 147, 87, 21, 8});
  list.Add({IDC_TOP_COUNT, Edit, "", 84, 158, 17, 12, kPlainReadOnlyStyle});
  list.Add({IDC_STATIC, Label, "Counts:", 56, 158, 25, 8});

  for (const FunctionRow& row : kFunctionRows)
    list.Add({IDC_STATIC, Label, row.number, row.labelX, row.labelY, kNumberLabelWidth,
              kNumberLabelHeight});
  for (const LinePairRow& line : kLinePairs)
    list.Add({IDC_STATIC, Label, line.name, line.labelX, line.labelY, kLineLabelWidth,
              kLineLabelHeight});

  list.Add({IDC_STATIC, GroupBox, "Initial Setup", 5, 4, 196, 82});
  return list.Finished();
}

constexpr auto kMainWindowControls = BuildMainWindowControls();

constexpr DialogTemplate kMainWindow{
    IDD_MONITOR_DIALOG, "TQX FFT V1.1", 208, 181, kFontFace, 12,
    DialogStyle::SystemMenu | DialogStyle::ModalFrame | DialogStyle::TaskBar,
    kMainWindowControls};

}  // namespace MainWindowLayout

// ---------------------------------------------------------------------------
// Template 100, the About box.

constexpr ControlTemplate kAboutBoxControls[] = {
    {IDC_STATIC, Icon, "", 11, 17, 20, 20, Style::None, IDI_PROGRAM_ICON},
    {IDC_STATIC, Label, "tqxfft Version 1.0", 40, 10, 119, 8, Style::NoPrefix},
    {IDOK, DefPushButton, "OK", 178, 7, 50, 14, Style::Group | Style::TabStop},
};

constexpr DialogTemplate kAboutBox{
    IDD_ABOUTBOX, "About tqxfft", 235, 55, kFontFace, 8,
    DialogStyle::SystemMenu | DialogStyle::ModalFrame, kAboutBoxControls};

// ---------------------------------------------------------------------------
// Template 129, the Function Setup dialog.

namespace FunctionSetupLayout {

using namespace FunctionSetupIds;

// The prompts are edits, and like every edit of this dialog they are tab stops.
constexpr unsigned kPromptStyle = kPlainReadOnlyStyle;

// The line buttons, 27 x 10, in three rows of four.
constexpr const char* kLineNames[] = {"P00", "P01", "P02", "P03", "P10", "P11",
                                      "P12", "P13", "P14", "P15", "P16", "P17"};
constexpr int kLinesPerRow = 4;
constexpr int kLineColumnX[kLinesPerRow] = {16, 46, 77, 110};
constexpr int kLineRowY[] = {125, 136, 147};
constexpr int kLineRadioWidth = 27, kRadioHeight = 10;

// A three-button action group (High/Low/Toggle or Close/Open/Toggle) in one
// column. The buttons' size is ours to choose: 40 x 10 fits "Toggle" and keeps
// clear of the controls to the right and of the dialog's edge.
struct ActionColumn {
  int ids[3];
  int x;
  int y[3];
};
constexpr int kActionRadioWidth = 40;

constexpr const char* kLineActions[] = {"High", "Low", "Toggle"};
constexpr const char* kRelayActions[] = {"Close", "Open", "Toggle"};

constexpr ActionColumn kLineActionColumn{
    {IDC_LINE_HIGH, IDC_LINE_LOW, IDC_LINE_TOGGLE}, 148, {125, 136, 147}};

// One relay: its check box (height 10) and its action column.
struct RelayRow {
  int checkBoxId;
  const char* caption;
  int x, y, cx;
  ActionColumn actions;
};

constexpr RelayRow kRelayRows[] = {
    {IDC_RELAY1, "Relay 1", 15, 209, 38,
     {{IDC_RELAY1_CLOSE, IDC_RELAY1_OPEN, IDC_RELAY1_TOGGLE}, 55, {200, 211, 222}}},
    {IDC_RELAY2, "Relay 2", 102, 210, 39,
     {{IDC_RELAY2_CLOSE, IDC_RELAY2_OPEN, IDC_RELAY2_TOGGLE}, 144, {200, 211, 222}}},
    {IDC_RELAY3, "Relay 3", 15, 249, 38,
     {{IDC_RELAY3_CLOSE, IDC_RELAY3_OPEN, IDC_RELAY3_TOGGLE}, 56, {239, 250, 261}}},
    {IDC_RELAY4, "Relay 4", 102, 249, 39,
     {{IDC_RELAY4_CLOSE, IDC_RELAY4_OPEN, IDC_RELAY4_TOGGLE}, 144, {239, 250, 261}}},
};

constexpr std::size_t kFunctionSetupControlCount = 48;

template <std::size_t Count>
constexpr void AddActionGroup(ControlList<Count>& list, const ActionColumn& column,
                              const char* const (&captions)[3]) {
  for (int i = 0; i < 3; ++i)
    list.Add({column.ids[i], RadioButton, captions[i], column.x, column.y[i], kActionRadioWidth,
              kRadioHeight, i == 0 ? Style::Group : Style::None});
}

consteval std::array<ControlTemplate, kFunctionSetupControlCount> BuildFunctionSetupControls() {
  ControlList<kFunctionSetupControlCount> list;

  list.Add({IDC_BIN1, Edit, "", 17, 27, 40, 14, kEditStyle});
  list.Add({IDC_BIN2, Edit, "", 76, 27, 40, 14, kEditStyle});
  list.Add({IDC_BIN3, Edit, "", 135, 27, 40, 14, kEditStyle});
  list.Add({IDC_NAME, Edit, "", 17, 57, 158, 14, kEditStyle});
  list.Add({IDC_REQUIRED_COUNT, Edit, "", 140, 78, 40, 14, kEditStyle});

  list.Add({IDC_DIGITAL_OUTPUT, CheckBox, "Digital Output", 16, 112, 63, 10, kCheckBoxStyle});
  for (int line = 0; line < static_cast<int>(std::size(kLineNames)); ++line)
    list.Add({IDC_LINE_P00 + line, RadioButton, kLineNames[line], kLineColumnX[line % kLinesPerRow],
              kLineRowY[line / kLinesPerRow], kLineRadioWidth, kRadioHeight,
              line == 0 ? Style::Group : Style::None});
  AddActionGroup(list, kLineActionColumn, kLineActions);

  list.Add({IDC_ANALOG1, CheckBox, "Analog Channel 1", 16, 165, 72, 10, kCheckBoxStyle});
  list.Add({IDC_ANALOG1_VOLTS, Edit, "", 91, 161, 40, 14, kEditStyle});
  list.Add({IDC_ANALOG2, CheckBox, "Analog Channel 2", 16, 185, 72, 10, kCheckBoxStyle});
  list.Add({IDC_ANALOG2_VOLTS, Edit, "", 91, 181, 40, 14, kEditStyle});

  for (const RelayRow& relay : kRelayRows) {
    list.Add({relay.checkBoxId, CheckBox, relay.caption, relay.x, relay.y, relay.cx, 10,
              kCheckBoxStyle});
    AddActionGroup(list, relay.actions, kRelayActions);
  }

  list.Add({IDOK, DefPushButton, "Record Changes", 7, 276, 116, 14, kButtonStyle});
  list.Add({IDCANCEL, PushButton, "Cancel", 147, 276, 39, 14, kButtonStyle});
  list.Add({IDC_BINS_PROMPT, Edit, "", 17, 5, 149, 13, kPromptStyle});
  list.Add({IDC_STATIC, Label, "Enter 1 to 3 bin numbers:", 17, 17, 82, 8});
  list.Add({IDC_NAME_PROMPT, Edit, "", 18, 43, 159, 14, kPromptStyle});
  list.Add({IDC_COUNT_PROMPT, Edit, "", 7, 82, 129, 14, kPromptStyle | Style::RightAlign});
  list.Add({IDC_STATIC, Label, "Function to be performed if tone(s) are heard:", 19, 99, 147, 8});
  return list.Finished();
}

constexpr auto kFunctionSetupControls = BuildFunctionSetupControls();

constexpr DialogTemplate kFunctionSetup{
    IDD_FUNCTION_SETUP, "Function Setup", 193, 297, kFontFace, 8,
    DialogStyle::SystemMenu | DialogStyle::ModalFrame, kFunctionSetupControls};

}  // namespace FunctionSetupLayout

}  // namespace

const DialogTemplate& MainWindowTemplate() { return MainWindowLayout::kMainWindow; }

const DialogTemplate& AboutBoxTemplate() { return kAboutBox; }

const DialogTemplate& FunctionSetupTemplate() { return FunctionSetupLayout::kFunctionSetup; }
