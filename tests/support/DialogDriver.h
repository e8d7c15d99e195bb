#pragma once
// Drives dialogs in tests as a user would, without the toolkit's headers:
// modal runs with a script, clicks, typing, keys, and pictures of the client
// area.
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Dialog.h"

using namespace std::chrono_literals;

// Result of RunModal when the dialog was still open at the time-out.
inline constexpr int kModalTimedOut = -2;

// Runs dialog.DoModal() and calls `script` from inside its modal loop once the
// window shows. A dialog still open `timeout` later fails the test and is
// ended with kModalTimedOut, so a test never hangs.
int RunModal(CDialog& dialog, std::function<void()> script, std::chrono::milliseconds timeout = 10s);

// Handles the toolkit's events until `done` holds or the time is up; false on
// time-out.
bool ProcessEventsUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 5s);
void ProcessEventsFor(std::chrono::milliseconds duration);

// A mouse click on a push button's centre, through the window system, so a
// window that a modal one blocks does not take it; radio buttons and check
// boxes are clicked as the toolkit clicks them (same check change and
// notification).
void ClickControl(const CDialog& dialog, int id);
// The same click on any widget (tests that hold the toolkit's objects).
class QWidget;
void ClickThroughWindowSystem(QWidget* widget);
// Focus to the control, then the text typed key by key at the cursor.
void TypeText(const CDialog& dialog, int id, std::string_view text);
// Focus to the control, all its text selected, then the text typed over it.
void ReplaceText(const CDialog& dialog, int id, std::string_view text);

enum class Key { Enter, Escape, Tab, AltSpace, Backspace, Up, Down };
// To the control with the focus (the dialog itself when none has it).
void PressKey(const CDialog& dialog, Key key);
// What the window manager's close box does.
void ClickCloseBox(const CDialog& dialog);

// Id of the control with the focus in the dialog's window, 0 when none.
int FocusedControlId(const CDialog& dialog);
// The selected part of an edit's text.
std::string SelectedText(const CDialog& dialog, int id);
// Top-left corner and size of a control in client pixels.
CRect ControlRect(const CDialog& dialog, int id);

// The client area as drawn now, one COLORREF per pixel.
struct ClientPicture {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};
ClientPicture GrabClient(const CDialog& dialog);
