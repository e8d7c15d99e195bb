#pragma once
// Dialog templates as plain data: every control with its id, kind, caption,
// place in dialog units and styles, in creation order (which is also the tab
// order and decides where a radio group ends).
#include <span>

enum class ControlKind {
  PushButton,
  DefPushButton,
  Edit,
  Label,
  GroupBox,
  RadioButton,  // automatic: clicking selects it and clears the rest of its group
  CheckBox,     // automatic two-state box
  Icon,         // shows the icon resource named by ControlTemplate::resourceId
};

namespace ControlStyle {
inline constexpr unsigned None = 0;
inline constexpr unsigned Group = 1u << 0;        // starts a group (radio groups end before the next one)
inline constexpr unsigned TabStop = 1u << 1;
inline constexpr unsigned ReadOnly = 1u << 2;
inline constexpr unsigned Border = 1u << 3;
inline constexpr unsigned AutoHScroll = 1u << 4;
inline constexpr unsigned RightAlign = 1u << 5;
inline constexpr unsigned NoPrefix = 1u << 6;     // '&' is shown as it is
}  // namespace ControlStyle

struct ControlTemplate {
  int id;
  ControlKind kind;
  const char* text;  // caption; nullptr or "" for none
  int x, y, cx, cy;  // dialog units
  unsigned style = ControlStyle::None;
  int resourceId = 0;  // icon resource of an Icon control
};

namespace DialogStyle {
inline constexpr unsigned None = 0;
inline constexpr unsigned SystemMenu = 1u << 0;
inline constexpr unsigned ModalFrame = 1u << 1;
inline constexpr unsigned TaskBar = 1u << 2;      // listed in the task bar (a top-level window)
}  // namespace DialogStyle

struct DialogTemplate {
  int id;
  const char* caption;
  int cx, cy;  // dialog units
  const char* fontFace;
  int fontPoints;
  unsigned style;
  std::span<const ControlTemplate> controls;
};
