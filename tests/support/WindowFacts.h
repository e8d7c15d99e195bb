#pragma once
// What the test driver reads back from the window system, as plain data: the
// same on both backends, and free of the framework's window headers, so the
// Win32 driver's Windows-facing half can fill it in too.
#include <string>

#include "framework/dialog/DialogTemplate.h"

// What the window system built for a control, read back from the control.
struct BuiltControl {
  ControlKind kind = ControlKind::Label;  // DefPushButton for the default button
  bool framed = false;                    // an edit's border
  bool readOnly = false;
  bool rightAligned = false;              // an edit's text
  bool threeState = false;                // a check box's
};

// The font the dialog's window draws in: its size in points, the height of a
// line of text in pixels, and whether its glyphs all have one width.
struct FontFacts {
  int pointSize = 0;
  int lineHeight = 0;
  bool fixedPitch = false;
};

// The dialog's system menu, top to bottom; a separator has id 0 and no text.
struct SystemMenuItem {
  unsigned id = 0;
  std::string text;  // with its '&' marker
  bool separator = false;
  bool operator==(const SystemMenuItem&) const = default;
};

// A message box on the screen now: its caption, its text, whether it shows the
// exclamation icon with one OK button and nothing else, and whether it blocks
// the windows under it (a box of the window thread's) or leaves them usable (a
// box shown for another thread), and whether the keyboard's focus is in it.
struct VisibleMessageBox {
  std::string caption;
  std::string text;
  bool exclamationIcon = false;
  bool okButtonOnly = false;
  bool modal = false;
  bool holdsTheFocus = false;
};
