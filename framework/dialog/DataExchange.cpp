#include "framework/dialog/DataExchange.h"

#include <algorithm>

#include "framework/dialog/Dialog.h"
#include "framework/MessageBox.h"
#include "framework/TextConversion.h"
#include "framework/dialog/RadioGroups.h"

namespace {

// Writing only a differing text keeps the control from reporting a change
// that did not happen.
void LoadText(CDialog& dialog, int id, const std::string& text) {
  if (dialog.GetDlgItemText(id) != text) dialog.SetDlgItemText(id, text);
}

std::vector<int> RadioGroupIds(const DialogTemplate& dialogTemplate, int firstId) {
  std::vector<int> ids;
  const auto first = IndexOfControl(dialogTemplate, firstId);
  if (!first) return ids;
  for (std::size_t i : RadioGroupFrom(dialogTemplate, *first)) ids.push_back(dialogTemplate.controls[i].id);
  return ids;
}

}  // namespace

CDataExchange::CDataExchange(CDialog& dialog, Direction direction) : dialog_(dialog), direction_(direction) {}

bool CDataExchange::Reads(int id) const {
  return direction_ == Save || (direction_ == LoadKeepingUserInput && dialog_.ChangedByUserSinceSave(id));
}

void CDataExchange::Integer(int id, std::int32_t& value) {
  if (failed_) return;
  if (!Reads(id)) {
    LoadText(dialog_, id, FormatInteger(value));
    return;
  }
  if (const auto parsed = ParseInteger(dialog_.GetDlgItemText(id))) {
    value = *parsed;
  } else {
    Refuse(id, kIntegerRefusal);
  }
}

void CDataExchange::Real(int id, float& value) {
  if (failed_) return;
  if (!Reads(id)) {
    LoadText(dialog_, id, FormatReal(value));
    return;
  }
  if (const auto parsed = ParseReal(dialog_.GetDlgItemText(id))) {
    value = *parsed;
  } else {
    Refuse(id, kNumberRefusal);
  }
}

void CDataExchange::Text(int id, std::string& value, int maxChars) {
  if (failed_) return;
  if (!Reads(id)) {
    LoadText(dialog_, id, value);
    if (maxChars > 0) dialog_.LimitText(id, maxChars);
    return;
  }
  std::string text = dialog_.GetDlgItemText(id);
  if (maxChars > 0 && text.size() > static_cast<std::size_t>(maxChars)) {
    Refuse(id, TooLongMessage(maxChars));
  } else {
    value = std::move(text);
  }
}

void CDataExchange::Radio(int firstId, std::int32_t& index) {
  if (failed_) return;
  const std::vector<int> group = RadioGroupIds(dialog_.Template(), firstId);
  if (std::none_of(group.begin(), group.end(), [this](int id) { return Reads(id); })) {
    for (std::size_t i = 0; i < group.size(); ++i) {
      dialog_.CheckDlgButton(group[i], index >= 0 && static_cast<std::size_t>(index) == i);
    }
    return;
  }
  index = -1;
  for (std::size_t i = 0; i < group.size(); ++i) {
    if (dialog_.IsDlgButtonChecked(group[i])) {
      index = static_cast<std::int32_t>(i);
      break;
    }
  }
}

// The boxes are two-state, and what they enable runs only for a stored 1: any
// other value shows cleared, so a box never shows on what will not happen, and
// reads back as 0.
void CDataExchange::Check(int id, std::int32_t& state) {
  if (failed_) return;
  if (Reads(id)) {
    state = dialog_.IsDlgButtonChecked(id) ? 1 : 0;
    return;
  }
  if (state < 0 || state > 2) state = 0;
  dialog_.CheckDlgButton(id, state == 1);
}

// Only a save refuses: a load that keeps the user's input leaves a text the
// user is still typing as it stands, with its member as it was.
void CDataExchange::Refuse(int id, const std::string& message) {
  if (direction_ != Save) return;
  failed_ = true;
  AfxMessageBox(message);
  dialog_.GotoDlgCtrl(id);
}
