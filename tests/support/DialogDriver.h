#pragma once
// Drives dialogs and message boxes in tests as a user would, and reads back
// what the window system shows, without any window toolkit's headers. Each
// backend implements this in tests/support/<backend>/DialogDriver.cpp; all of
// it runs on the window thread.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/WinApp.h"
#include "framework/dialog/Dialog.h"
#include "support/WindowFacts.h"

using namespace std::chrono_literals;

// The window system up on this thread for the program's life, with message
// boxes shown through it: the toolkit (offscreen unless a platform is named)
// on Linux, the common controls on Windows. Made once, before the first
// window.
class DrivenWindowSystem {
 public:
  DrivenWindowSystem(int& argc, char** argv);
  ~DrivenWindowSystem();
  DrivenWindowSystem(const DrivenWindowSystem&) = delete;
  DrivenWindowSystem& operator=(const DrivenWindowSystem&) = delete;

 private:
  struct Toolkit;
  std::unique_ptr<Toolkit> toolkit_;
};

// The one application object of a program that drives its own windows (the
// tests, the screenshot program, the latency benchmark): named like the
// program, so boxes carry its caption, with no start-up of its own.
class DrivenApp : public CWinApp {
 public:
  DrivenApp() : CWinApp("tqxfft") {}
  bool InitInstance() override { return false; }
};

// What the driver does when the windows are not as a script expects (no such
// control, a modal dialog still open at its time-out). The driver links no
// test framework, so that programs other than tests can drive windows too:
// the test main makes each report a failure of the running test, the
// screenshot program a message and a failed run. Until a handler is set,
// reports go to standard error. Set once, on the window thread, before the
// first window; the backends report on the window thread.
using DriverFailureHandler = std::function<void(const std::string& what)>;
void SetDriverFailureHandler(DriverFailureHandler handler);
void ReportDriverFailure(const std::string& what);

// Result of RunModal when the dialog was still open at the time-out.
inline constexpr int kModalTimedOut = -2;

// Runs dialog.DoModal() and calls `script` from inside its modal loop once the
// window shows. A dialog still open `timeout` later fails the test and is
// ended with kModalTimedOut, so a test never hangs.
int RunModal(CDialog& dialog, std::function<void()> script, std::chrono::milliseconds timeout = 10s);

// Handles the window system's events until `done` holds or the time is up;
// false on time-out.
bool ProcessEventsUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 5s);
inline void ProcessEventsFor(std::chrono::milliseconds duration) {
  ProcessEventsUntil([] { return false; }, duration);
}

// Runs `action` once, `delay` from now, from whichever event loop the window
// thread is in then (a modal dialog's or a message box's included). Called on
// the window thread; the action must not outlive what it captures.
void PostToWindowThread(std::function<void()> action, std::chrono::milliseconds delay = 0ms);

// The dialog whose modal loop runs innermost, or nullptr when none runs or a
// message box is the modal window on top.
CDialog* ActiveModalDialog();

// A mouse click on a push button's centre, through the window system, so a
// window that a modal one blocks does not take it; radio buttons and check
// boxes are clicked as the window system clicks them (same check change and
// notification).
void ClickControl(const CDialog& dialog, int id);
// A right-button click at a client point of the dialog's window.
void RightClick(const CDialog& dialog, int x, int y);
// Focus to the control, then the text typed key by key at the cursor.
void TypeText(const CDialog& dialog, int id, std::string_view text);
// Focus to the control, all its text selected, then the text typed over it.
void ReplaceText(const CDialog& dialog, int id, std::string_view text);

enum class Key { Enter, Escape, Tab, AltSpace, Backspace, End, Up, Down };
// To the control with the focus (the dialog itself when none has it).
void PressKey(const CDialog& dialog, Key key);
// To whatever has the keyboard's focus now, a message box included.
void PressKeyAtTheFocus(Key key);
// What the window manager's close box does.
void ClickCloseBox(const CDialog& dialog);

// Whether the dialog's window is shown now.
bool IsShown(const CDialog& dialog);
// Whether the window system has `owner`'s window as the owner of `dialog`'s.
bool IsOwnedBy(const CDialog& dialog, const CDialog& owner);
// Id of the control with the focus in the dialog's window, 0 when none.
int FocusedControlId(const CDialog& dialog);
// Id of the control that the window system finds at a client point (as a
// click there would), read from the control itself; 0 for the background.
int ControlIdAt(const CDialog& dialog, int x, int y);
// The selected part of an edit's text.
std::string SelectedText(const CDialog& dialog, int id);
// Top-left corner and size of a control in client pixels.
CRect ControlRect(const CDialog& dialog, int id);
// Where the window stands, in screen pixels: its outer frame, and the work
// area (the screen less its task bars) of the screen that holds most of it.
struct ScreenPlace {
  CRect frame;
  CRect workArea;
};
ScreenPlace PlaceOnScreen(const CDialog& dialog);
// The text each control of the window shows, in no set order: for telling
// apart controls that share an id.
std::vector<std::string> ControlTexts(const CDialog& dialog);

BuiltControl InspectControl(const CDialog& dialog, int id);

FontFacts DialogFont(const CDialog& dialog);
// Width in pixels of the text in the dialog's font.
int TextWidth(const CDialog& dialog, std::string_view text);

// Edge lengths in pixels of the images the window's icon holds (big and small).
std::vector<int> WindowIconSizes(const CDialog& dialog);

std::vector<SystemMenuItem> SystemMenuItems(const CDialog& dialog);
// What choosing the item from the open menu does; fails the test when the
// menu has no item with that id.
void ChooseSystemMenuItem(const CDialog& dialog, unsigned id);
// Activates the dialog's window, runs `gesture` and handles events until the
// dialog's system menu is open, then closes the menu again; false when it did
// not open within the time. The menu may run a loop of its own inside the
// gesture, so the check and the close are made from within it.
bool SystemMenuOpensOn(const CDialog& dialog, const std::function<void()>& gesture);

std::vector<VisibleMessageBox> VisibleMessageBoxes();
// Answers a message box with a mouse click on its OK button, through the
// window system: the modal box on top if there is one, else a box shown for
// another thread. False when no box is open.
bool AnswerMessageBox();

// The client area as drawn now, one COLORREF per pixel.
struct ClientPicture {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};
ClientPicture GrabClient(const CDialog& dialog);
