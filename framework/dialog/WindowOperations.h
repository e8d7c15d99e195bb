#pragma once
// What a window backend's window does for a CDialog: the native window with
// its controls, timers, invalid region and system menu. Plain types only, so
// that a backend may implement these where its toolkit's own headers are in
// scope (the Win32 backend's native dialog does, as windows.h and the
// framework's other headers never meet).
#include <string>
#include <string_view>

#include "framework/dialog/DialogUnits.h"
#include "framework/dialog/IconResource.h"
#include "framework/dialog/Rect.h"

struct WindowOperations {
  virtual ~WindowOperations() = default;

  // Runs the modal loop until End; returns the value given to End.
  virtual int RunModal() = 0;
  virtual void Show() = 0;
  // Ends the modal loop, or hides a window shown without one.
  virtual void End(int result) = 0;

  virtual void SetTitle(std::string_view text) = 0;
  virtual std::string Title() const = 0;
  // Controls by template id; an id the template lacks is ignored (reads give
  // "" and false).
  virtual void SetControlText(int id, std::string_view text) = 0;
  virtual std::string ControlText(int id) const = 0;
  // A radio button's group then takes its tab stop from its choice.
  virtual void CheckButton(int id, bool checked) = 0;
  virtual bool IsButtonChecked(int id) const = 0;
  // Focus to the control; an edit's text all selected.
  virtual void FocusControl(int id) = 0;
  // The first control with a tab stop that can take the focus.
  virtual void FocusFirstTabStop() = 0;
  // Typing stops at maxChars; text set by the program is not cut. 0 lifts it.
  virtual void LimitText(int id, int maxChars) = 0;

  virtual void SetTimer(int id, unsigned periodMs) = 0;
  virtual void KillTimer(int id) = 0;
  virtual bool IsTimerRunning(int id) const = 0;

  virtual void Invalidate(const CRect& rect, bool erase) = 0;
  virtual void InvalidateAll(bool erase) = 0;
  virtual void PaintInvalidNow() = 0;
  virtual CRect ClientRect() const = 0;
  virtual bool IsMinimized() const = 0;
  virtual void SetIcon(const IconResource& icon, bool big) = 0;
  virtual void AppendSystemMenuSeparator() = 0;
  virtual void AppendSystemMenuItem(unsigned commandId, std::string_view text) = 0;
  virtual DialogBaseUnits BaseUnits() const = 0;
  // The window's outer frame in screen pixels, the work area (the screen
  // less its task bars) of the screen that holds most of a frame, and a move
  // of the frame's top-left corner.
  virtual CRect Frame() const = 0;
  virtual CRect WorkAreaAt(const CRect& frame) const = 0;
  virtual void MoveFrameTo(int left, int top) = 0;
};
