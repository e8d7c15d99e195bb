#include "framework/dialog/RadioGroups.h"

#include <algorithm>

namespace {
bool StartsGroup(const ControlTemplate& control) { return (control.style & ControlStyle::Group) != 0; }
}  // namespace

std::optional<std::size_t> IndexOfControl(const DialogTemplate& dialogTemplate, int id) {
  for (std::size_t i = 0; i < dialogTemplate.controls.size(); ++i) {
    if (dialogTemplate.controls[i].id == id) return i;
  }
  return std::nullopt;
}

std::size_t GroupStartOf(const DialogTemplate& dialogTemplate, std::size_t index) {
  while (index > 0 && !StartsGroup(dialogTemplate.controls[index])) --index;
  return index;
}

std::vector<std::size_t> RadioGroupFrom(const DialogTemplate& dialogTemplate, std::size_t first) {
  std::vector<std::size_t> group;
  const auto& controls = dialogTemplate.controls;
  for (std::size_t i = first; i < controls.size(); ++i) {
    if (i != first && StartsGroup(controls[i])) break;
    if (controls[i].kind == ControlKind::RadioButton) group.push_back(i);
  }
  return group;
}

std::size_t RadioNeighbour(const DialogTemplate& dialogTemplate, std::size_t index, int step) {
  const std::vector<std::size_t> group = RadioGroupFrom(dialogTemplate, GroupStartOf(dialogTemplate, index));
  const auto at = std::find(group.begin(), group.end(), index);
  if (at == group.end()) return index;
  const auto size = static_cast<std::ptrdiff_t>(group.size());
  const std::ptrdiff_t position = ((at - group.begin()) + step % size + size) % size;
  return group[static_cast<std::size_t>(position)];
}

RadioGroupTabStop PlaceRadioGroupTabStop(const DialogTemplate& dialogTemplate, std::size_t member,
                                         const std::function<bool(std::size_t)>& isChecked) {
  RadioGroupTabStop placed{RadioGroupFrom(dialogTemplate, GroupStartOf(dialogTemplate, member))};
  if (placed.group.empty()) return placed;
  const auto chosen = std::find_if(placed.group.begin(), placed.group.end(), isChecked);
  placed.tabStop = chosen != placed.group.end() ? *chosen : placed.group.front();
  return placed;
}

std::vector<RadioGroupTabStop> PlaceEveryRadioGroupTabStop(const DialogTemplate& dialogTemplate,
                                                           const std::function<bool(std::size_t)>& isChecked) {
  std::vector<RadioGroupTabStop> placed;
  std::optional<std::size_t> placedGroup;
  for (std::size_t i = 0; i < dialogTemplate.controls.size(); ++i) {
    if (dialogTemplate.controls[i].kind != ControlKind::RadioButton) continue;
    const std::size_t start = GroupStartOf(dialogTemplate, i);
    if (placedGroup == start) continue;
    placedGroup = start;
    placed.push_back(PlaceRadioGroupTabStop(dialogTemplate, i, isChecked));
  }
  return placed;
}
