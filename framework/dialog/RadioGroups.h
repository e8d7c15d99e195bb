#pragma once
// Where groups of a template begin and end. A group runs from a control with
// the Group style up to, not including, the next one; the first group also
// takes the controls before any Group style.
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "framework/dialog/DialogTemplate.h"

// Position of the first control with that id in creation order.
std::optional<std::size_t> IndexOfControl(const DialogTemplate& dialogTemplate, int id);

// The group that holds the control at `index`: where it starts.
std::size_t GroupStartOf(const DialogTemplate& dialogTemplate, std::size_t index);

// The radio buttons from `first` up to the next control that starts a group,
// in creation order; other kinds of control in between do not count.
std::vector<std::size_t> RadioGroupFrom(const DialogTemplate& dialogTemplate, std::size_t first);

// The radio button `step` buttons after the one at `index` (before it, for a
// negative step) within its group, wrapping round at the group's ends. An
// arrow key on a radio button (+1 for down and right, -1 for up and left)
// moves the focus there and chooses it with the same notification as a
// click, as the classic dialog manager does for automatic buttons.
std::size_t RadioNeighbour(const DialogTemplate& dialogTemplate, std::size_t index, int step);

// The radio buttons of the group that holds `member`, and which of them takes
// the group's tab stop: its choice, as the classic automatic buttons arrange
// it, or its first button while nothing is chosen, so that Tab reaches every
// group even where the template gives its buttons no tab stop.
struct RadioGroupTabStop {
  std::vector<std::size_t> group;
  std::size_t tabStop = 0;
};
// isChecked: whether the radio button at that index is checked now.
RadioGroupTabStop PlaceRadioGroupTabStop(const DialogTemplate& dialogTemplate, std::size_t member,
                                         const std::function<bool(std::size_t)>& isChecked);
// Every group's, for a window just made. A backend applies a placement by
// giving the tab stop to `tabStop` and taking it from the group's other buttons,
// when the window is made and after each check of a radio button.
std::vector<RadioGroupTabStop> PlaceEveryRadioGroupTabStop(const DialogTemplate& dialogTemplate,
                                                           const std::function<bool(std::size_t)>& isChecked);
