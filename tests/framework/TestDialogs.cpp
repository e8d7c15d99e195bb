#include "TestDialogs.h"

#include <algorithm>
#include <array>

#include "framework/dialog/IconResource.h"
#include "support/DialogDriver.h"

namespace {

using namespace probe;
using namespace ControlStyle;

constexpr std::array kProbeControls{
    ControlTemplate{kNumberEdit, ControlKind::Edit, nullptr, 10, 10, 40, 14, Border | TabStop},
    ControlTemplate{kVoltsEdit, ControlKind::Edit, nullptr, 60, 10, 40, 14, Border | TabStop},
    ControlTemplate{kNameEdit, ControlKind::Edit, nullptr, 110, 10, 80, 14, Border | TabStop},
    ControlTemplate{kFirstGroupA, ControlKind::RadioButton, "A", 10, 30, 30, 10, Group | TabStop},
    ControlTemplate{kFirstGroupB, ControlKind::RadioButton, "B", 10, 42, 30, 10},
    ControlTemplate{kGroupLabel, ControlKind::Label, "between", 45, 42, 40, 8},
    ControlTemplate{kFirstGroupC, ControlKind::RadioButton, "C", 10, 54, 30, 10},
    ControlTemplate{kSecondGroupX, ControlKind::RadioButton, "X", 100, 30, 30, 10, Group},
    ControlTemplate{kSecondGroupY, ControlKind::RadioButton, "Y", 100, 42, 30, 10},
    ControlTemplate{kCheck, ControlKind::CheckBox, "Check", 10, 70, 60, 10, Group | TabStop},
    ControlTemplate{kPushButton, ControlKind::PushButton, "Push", 10, 130, 50, 14, TabStop},
    ControlTemplate{IDOK, ControlKind::DefPushButton, "OK", 80, 130, 50, 14, TabStop},
    ControlTemplate{IDCANCEL, ControlKind::PushButton, "Cancel", 140, 130, 50, 14, TabStop},
    ControlTemplate{kReadOnlyEdit, ControlKind::Edit, nullptr, 100, 70, 60, 14, ReadOnly | RightAlign},
    ControlTemplate{kPrefixLabel, ControlKind::Label, "&Name && more", 10, 90, 80, 8},
    ControlTemplate{kNoPrefixLabel, ControlKind::Label, "A&B", 100, 90, 80, 8, NoPrefix},
    ControlTemplate{kIcon, ControlKind::Icon, nullptr, 170, 100, 20, 20, None, kIconResource},
    ControlTemplate{kGroupBox, ControlKind::GroupBox, "Box", 5, 2, 190, 64},
};

constexpr std::array kBareControls{
    ControlTemplate{IDC_STATIC, ControlKind::Label, "Nothing here", 10, 10, 100, 8},
};

// A plain red square icon, 32 and 16 pixels.
constexpr std::array<std::uint32_t, 1> kIconPalette{0xFF000000u | 0xC80000u};
const std::array<std::uint8_t, 32 * 32> kLargePixels{};
const std::array<std::uint8_t, 16 * 16> kSmallPixels{};
const std::array kIconImages{IconImage{32, kIconPalette, kLargePixels}, IconImage{16, kIconPalette, kSmallPixels}};
const IconResource kProbeIcon{kIconResource, kIconImages};

}  // namespace

const DialogTemplate& ProbeTemplate() {
  static const DialogTemplate dialogTemplate = [] {
    RegisterIconResource(kProbeIcon);
    return DialogTemplate{500, "Probe", 200, 150, "MS Sans Serif", 8,
                          DialogStyle::SystemMenu | DialogStyle::ModalFrame, kProbeControls};
  }();
  return dialogTemplate;
}

const DialogTemplate& BareTemplate() {
  static const DialogTemplate dialogTemplate{501, "Bare", 120, 60, "MS Sans Serif", 8,
                                             DialogStyle::SystemMenu | DialogStyle::ModalFrame, kBareControls};
  return dialogTemplate;
}

int ProbeDialog::ChangesOf(int id) const {
  return static_cast<int>(std::count(commands.begin(), commands.end(), std::pair{id, Notification::Changed}));
}

void ProbeDialog::DoDataExchange(CDataExchange& dx) {
  if (&Template() != &ProbeTemplate()) return;
  dx.Integer(kNumberEdit, number);
  dx.Real(kVoltsEdit, volts);
  dx.Text(kNameEdit, name, kNameLimit);
  dx.Radio(kFirstGroupA, firstGroup);
  dx.Radio(kSecondGroupX, secondGroup);
  dx.Check(kCheck, checked);
}

void ProbeDialog::OnOK() {
  ++okCalls;
  CDialog::OnOK();
}

void ProbeDialog::OnCancel() {
  ++cancelCalls;
  if (cancelEnds) CDialog::OnCancel();
}

void ProbeDialog::OnCommand(int id, Notification code) {
  commands.emplace_back(id, code);
  CDialog::OnCommand(id, code);
}

void ProbeDialog::OnTimer(int id) {
  timerIds.push_back(id);
  if (onTimer) onTimer(id);
}

void ProbeDialog::OnPaint(CPaintDC& dc) {
  ++paintCalls;
  if (paint) paint(dc);
}

void ProbeDialog::OnSysCommand(unsigned commandId) {
  sysCommands.push_back(commandId);
  CDialog::OnSysCommand(commandId);
}

bool BoxHoldsTheFocus() {
  const std::vector<VisibleMessageBox> boxes = VisibleMessageBoxes();
  return std::any_of(boxes.begin(), boxes.end(), [](const VisibleMessageBox& box) { return box.holdsTheFocus; });
}

bool KeyAnswersTheBox(Key key, const std::function<bool()>& answered) {
  PressKeyAtTheFocus(key);
  if (ProcessEventsUntil(answered, 1s)) return true;
  AnswerMessageBox();
  return false;
}
