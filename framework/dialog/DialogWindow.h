#pragma once
// What a window backend puts behind a CDialog: a window with the operations
// of WindowOperations.h that reports its events in the dialog's terms. The
// dialog's own logic (modal flow, data exchange, default handlers) stays in
// the framework's core and reaches the window only through this interface.
// Window code never includes this.
#include <memory>

#include "framework/dialog/Dialog.h"
#include "framework/dialog/DialogUnits.h"
#include "framework/dialog/WindowOperations.h"

// The backend's window derives from this; its operations come from
// WindowOperations, a virtual base, so that a backend may inherit their
// implementation from a class of its own (the Win32 native dialog) instead of
// forwarding each one.
struct CDialog::Window : virtual WindowOperations {
  explicit Window(CDialog& dialog) : dialog_(dialog) {}
  ~Window() override = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // The dialog this window stands behind, for code that starts from a native
  // window (a test driver finding the modal dialog on top).
  CDialog& Dialog() const { return dialog_; }

  // Set by EndDialog, so a modal loop that has not started yet never starts.
  bool endRequested = false;

 protected:
  // What the backend reports, in the dialog's terms. A click of an IDOK or
  // IDCANCEL button reaches OnOK or OnCancel; other clicks OnCommand.
  void ReportClick(int id);
  // An edit's text changed; only the user's edits reach the dialog.
  void ReportEditChange(int id);
  void ReportTimer(int id);
  void ReportPaint(CPaintDC& dc);
  void ReportSysCommand(unsigned commandId);
  // Enter with no push button focused: the default button, or OK.
  void ReportOK();
  // Escape and the close box.
  void ReportCancel();
  const DialogTemplate& Template() const { return dialog_.Template(); }

 private:
  CDialog& dialog_;
};

// Made by the backend. owner: the window of the dialog's owner, or nullptr.
std::unique_ptr<CDialog::Window> CreateDialogWindow(CDialog& dialog, CDialog::Window* owner);
// Base units of the template's font, for a dialog that has no window yet.
DialogBaseUnits TemplateBaseUnits(const DialogTemplate& dialogTemplate);
