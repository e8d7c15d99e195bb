#pragma once
// The window behind a CDialog on Windows: the dialog manager's window, made
// from the template, reporting its events in the dialog's terms. Its window
// operations are native::Dialog's own; what is here turns the native events
// into the dialog's.
#include "framework/dialog/DialogWindow.h"
#include "framework/win32/Native.h"

class Win32DialogWindow final : public CDialog::Window, public native::Dialog, private native::DialogEvents {
 public:
  Win32DialogWindow(CDialog& dialog, const Win32DialogWindow* owner);

  // The CDialog behind it, not the native base class of the same name.
  using CDialog::Window::Dialog;

  bool Made() const { return Handle() != nullptr; }
  // The window a native dialog handle belongs to; nullptr for other windows.
  static Win32DialogWindow* FromHandle(void* handle);

 private:
  void Clicked(int id) override;
  void EditChanged(int id) override;
  void RadioArrow(int id, int step) override;
  void TimerFired(int id) override;
  void Paint(native::Painter& painter) override;
  void SystemCommand(unsigned commandId) override;
};
