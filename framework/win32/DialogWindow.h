#pragma once
// The window behind a CDialog on Windows: the dialog manager's window, made
// from the template, reporting its events in the dialog's terms. Radio groups
// are kept here with the core's group logic; everything native lies behind
// native::Dialog.
#include <cstddef>

#include "framework/DialogWindow.h"
#include "framework/win32/Native.h"

class Win32DialogWindow final : public CDialog::Window, private native::DialogEvents {
 public:
  Win32DialogWindow(CDialog& dialog, const Win32DialogWindow* owner);

  bool Made() const { return native_.Handle() != nullptr; }
  const native::Dialog& Native() const { return native_; }
  // The window a native dialog handle belongs to; nullptr for other windows.
  static Win32DialogWindow* FromHandle(void* handle);

  int RunModal() override;
  void Show() override;
  void End(int result) override;

  void SetTitle(std::string_view text) override;
  std::string Title() const override;
  void SetControlText(int id, std::string_view text) override;
  std::string ControlText(int id) const override;
  void CheckButton(int id, bool checked) override;
  bool IsButtonChecked(int id) const override;
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
  void MoveFrameTo(int left, int top) override { native_.MoveFrameTo(left, top); }

 private:
  void Clicked(int id) override;
  void EditChanged(int id) override;
  void RadioArrow(int id, int step) override;
  void TimerFired(int id) override;
  void Paint(native::Painter& painter) override;
  void SystemCommand(unsigned commandId) override;

  void PlaceRadioGroupTabStop(std::size_t member);

  native::Dialog native_;
};
