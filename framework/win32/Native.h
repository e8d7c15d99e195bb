#pragma once
// The Win32 backend's seam, in names that clash with nothing: the framework's
// side of the backend (the CDialog window, the paint context, message boxes,
// the message loop) includes this and the framework's headers; the files that
// implement it, in native/, include NativeWindows.h and no framework header beyond the
// plain data ones (DialogTemplate.h, IconResource.h, RadioGroups.h,
// WindowOperations.h).
// Everything here runs on the window thread, except WakeTarget::Wake.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "framework/dialog/DialogTemplate.h"
#include "framework/dialog/IconResource.h"
#include "framework/dialog/WindowOperations.h"

namespace native {

struct Extent {
  int x;
  int y;
};

// Client pixels; right and bottom lie just outside.
struct Bounds {
  int left;
  int top;
  int right;
  int bottom;
};

// 0x00BBGGRR, the layout of the framework's COLORREF.
using Colour = std::uint32_t;

// Called once before the first window: the common controls, visual styles.
void InitialiseControls();
// For the program's life, sleeps and timed waits of a millisecond's grain: at
// the system's default of about 16 ms, the acquisition worker's 10 ms pause
// between frames would last half as long again.
void UseFineTimerGrain();
// A window program's standard output and error lead nowhere unless its
// starter redirected them. Started from a console, it writes to that console
// instead (the C and C++ streams, and the handles its own children inherit);
// started from the Start Menu it has none, and nothing changes. Called first,
// before anything is written.
void UseStartingConsole();
// In screen pixels, the work area (the monitor less its task bars) of the
// monitor nearest the frame.
Bounds WorkAreaAt(const Bounds& frame);
// The system's icon sizes in pixels.
Extent LargeIconSize();
Extent SmallIconSize();

// Width of `alphabet` and the height of a character cell in the template's
// font at the screen's resolution, in pixels.
Extent TemplateFontExtent(const DialogTemplate& dialogTemplate, std::string_view alphabet);

// The device context of one paint, with the dialog's font selected. Pens are
// made as they are asked for and kept while the next one asks the same.
class Painter {
 public:
  Painter(void* deviceContext, void* font);
  ~Painter();
  Painter(const Painter&) = delete;
  Painter& operator=(const Painter&) = delete;

  // On a background of `background`, opaque.
  void Text(int x, int y, std::string_view text, Colour background, Colour foreground);
  // Outlined with the pen, filled white.
  void Frame(const Bounds& bounds, int penWidth, Colour penColour);
  // Up to, not including, (x1, y1).
  void Line(int x0, int y0, int x1, int y1, int penWidth, Colour penColour);
  void Icon(int x, int y, const IconResource& icon);
  // Of the monitor the window is on now (96 at 100 %).
  int DotsPerInch() const;

 private:
  void UsePen(int width, Colour colour);

  void* dc_;
  void* originalFont_;
  void* originalPen_ = nullptr;
  void* pen_ = nullptr;
  int penWidth_ = 0;
  Colour penColour_ = 0;
};

// What a dialog reports, from inside its message handling.
class DialogEvents {
 public:
  // A button's click; also Enter (the default button's id, or IDOK's) and
  // Escape (IDCANCEL's), as the dialog manager sends them.
  virtual void Clicked(int id) = 0;
  virtual void EditChanged(int id) = 0;
  // An arrow key on a radio button: +1 towards the next, -1 the previous.
  virtual void RadioArrow(int id, int step) = 0;
  virtual void TimerFired(int id) = 0;
  virtual void Paint(Painter& painter) = 0;
  // The close box and the system menu's items, by command id.
  virtual void SystemCommand(unsigned commandId) = 0;

 protected:
  ~DialogEvents() = default;
};

// A dialog made by the system's dialog manager from the template, held in
// memory. It is made hidden, controls and all, so that the program can fill
// them before it shows. It implements the window operations the framework's
// CDialog::Window asks for, which the backend's window inherits from it.
class Dialog : public virtual WindowOperations {
 public:
  Dialog(const DialogTemplate& dialogTemplate, const Dialog* owner, DialogEvents& events);
  ~Dialog() override;
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Shows the dialog with its owner disabled and handles messages until End;
  // returns End's result. Ended before: returns that result at once.
  int RunModal() override;
  void Show() override;
  // Hides the dialog and ends its modal loop, if it runs one.
  void End(int result) override;

  void SetTitle(std::string_view text) override;
  std::string Title() const override;
  void SetControlText(int id, std::string_view text) override;
  std::string ControlText(int id) const override;
  void CheckButton(int id, bool checked) override;
  bool IsButtonChecked(int id) const override;
  // As the dialog manager moves the focus (an edit's text all selected, the
  // default button following a push button); held until the dialog shows
  // when it is hidden.
  void FocusControl(int id) override;
  void FocusFirstTabStop() override;
  void LimitText(int id, int maxChars) override;

  void SetTimer(int id, unsigned periodMs) override;
  void KillTimer(int id) override;
  bool IsTimerRunning(int id) const override;

  void Invalidate(const CRect& rect, bool erase) override;
  void InvalidateAll(bool erase) override;
  void PaintInvalidNow() override;
  CRect ClientRect() const override;
  bool IsMinimized() const override;
  void SetIcon(const IconResource& icon, bool big) override;
  void AppendSystemMenuSeparator() override;
  void AppendSystemMenuItem(unsigned commandId, std::string_view text) override;
  DialogBaseUnits BaseUnits() const override;
  CRect Frame() const override;
  CRect WorkAreaAt(const CRect& frame) const override;
  void MoveFrameTo(int left, int top) override;

  void SetTabStop(int id, bool tabStop);
  void Click(int id);
  // The window's handle, for test drivers.
  void* Handle() const;
  // The dialog whose modal loop runs innermost, or nullptr.
  static void* InnermostModal();
  // What a window made by a Dialog reports to; nullptr for other windows.
  static DialogEvents* EventsOf(void* handle);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Handles the next message of the thread's queue, waiting for one; false when
// it is the request to quit, which stays queued for the outer loops.
bool WaitAndHandleMessage();
// Handles one waiting message, if there is one; never waits.
void HandleWaitingMessage();

// The message boxes: modal ones over the active window, and boxes that block
// nothing for callers on other threads, owned by the innermost modal dialog
// so they go when it does.
void ShowModalMessageBox(std::string_view caption, std::string_view text);
// `gone` runs once, when the box goes (OK, Escape, close box, owner closing,
// CloseOtherThreadMessageBoxes).
void OpenOtherThreadMessageBox(std::string_view caption, std::string_view text, std::function<void()> gone);
void CloseOtherThreadMessageBoxes();
// Whether the window is one of those boxes for other threads.
bool IsOtherThreadMessageBox(void* window);

// A hidden window of the thread that makes it, which calls `woken` there each
// time any thread calls Wake.
class WakeTarget {
 public:
  explicit WakeTarget(void (*woken)());
  ~WakeTarget();
  WakeTarget(const WakeTarget&) = delete;
  WakeTarget& operator=(const WakeTarget&) = delete;

  void Wake() const;

 private:
  void* window_;
};

}  // namespace native
