#pragma once
// A dialog window built from a template: controls by id, data exchange, command
// routing by id and notification, timers by id, painting and a system menu.
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "framework/dialog/DataExchange.h"
#include "framework/dialog/DialogTemplate.h"
#include "framework/dialog/IconResource.h"
#include "framework/dialog/PaintContext.h"
#include "framework/dialog/Types.h"

class CDialog {
 public:
  // A dialog without an owner is owned by the application's main window, if
  // there is one.
  explicit CDialog(const DialogTemplate& dialogTemplate, CDialog* owner = nullptr);
  virtual ~CDialog();
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;

  // Creates the window, runs OnInitDialog, and runs a modal loop until
  // EndDialog. Returns the value given to EndDialog.
  int DoModal();
  // Creates and shows the window without a modal loop (tests, and windows that
  // live beside others). DestroyWindow takes it down again; it must not be
  // called from the dialog's own handlers (EndDialog is the way out of those).
  bool Create();
  void DestroyWindow();
  void EndDialog(int result);

  // Runs DoDataExchange in one direction; false when a save was refused.
  bool UpdateData(bool saveAndValidate = true);
  // Loads the members into the controls, but for the controls the user has
  // changed since the last save: their members take the user's value instead
  // (left as they were for a text that would be refused). For work that
  // saves, handles the user's input and loads again, which must not undo what
  // the user did in between.
  void UpdateDataKeepingUserInput();
  // Whether the user changed the control (a click, an edit) after the last
  // save.
  bool ChangedByUserSinceSave(int id) const;

  void SetWindowText(std::string_view text);
  std::string GetWindowText() const;
  void SetDlgItemText(int id, std::string_view text);
  std::string GetDlgItemText(int id) const;
  void CheckDlgButton(int id, bool checked);
  bool IsDlgButtonChecked(int id) const;
  // Focus to the control, with all its text selected.
  void GotoDlgCtrl(int id);
  // Limits what can be typed into an edit control; 0 lifts the limit.
  void LimitText(int id, int maxChars);

  // Starting a running id again restarts its period.
  void SetTimer(int id, unsigned periodMs);
  void KillTimer(int id);
  bool IsTimerRunning(int id) const;

  void InvalidateRect(const CRect& rect, bool erase);
  void Invalidate(bool erase = true);
  // Paints what is invalid at once.
  void UpdateWindow();
  CRect GetClientRect() const;
  bool IsIconic() const;

  void SetIcon(const IconResource& icon, bool big);

  // Items of the window's own menu (right-click on the background, Alt+Space);
  // Close is always there. Choosing an item calls OnSysCommand with its id.
  void AppendSystemMenuSeparator();
  void AppendSystemMenuItem(unsigned commandId, std::string_view text);
  // What choosing an item of that menu does.
  void SendSysCommand(unsigned commandId) { OnSysCommand(commandId); }

  // Routes a notification as if the control had sent it (tests, and buttons).
  void SendCommand(int id, Notification code) { OnCommand(id, code); }

  // Converts dialog units to pixels with the dialog font's metrics.
  CRect MapDialogRect(const CRect& dialogUnits) const;

  const DialogTemplate& Template() const { return template_; }
  bool HasWindow() const;

  struct Window;  // the toolkit's window, hidden from window code
  Window* GetWindow() const { return window_.get(); }

 protected:
  virtual void DoDataExchange(CDataExchange& /*dx*/) {}
  // Base: loads the members into the controls; returns true to let the
  // framework put the focus on the first tab stop.
  virtual bool OnInitDialog();
  // Enter (when no push button has the focus and there is no default button,
  // or the default button is IDOK) and clicks of an IDOK button. Base: save,
  // then EndDialog(IDOK).
  virtual void OnOK();
  // Escape, the close box, the menu's Close and clicks of an IDCANCEL button.
  // Base: EndDialog(IDCANCEL).
  virtual void OnCancel();
  // A control's notification. Clicks of IDOK and IDCANCEL buttons go to OnOK
  // and OnCancel without passing here; the base sends those two ids there as
  // well (SendCommand) and ignores the rest.
  virtual void OnCommand(int id, Notification code);
  virtual void OnTimer(int id);
  // Only dialogs that override it paint anything of their own.
  virtual void OnPaint(CPaintDC& dc);
  // Base: SC_CLOSE reaches OnCancel; other ids do nothing.
  virtual void OnSysCommand(unsigned commandId);

 private:
  friend struct Window;
  // Creates the window and runs OnInitDialog; false when no window is left.
  bool CreateAndInitWindow();
  void NoteUserChange(int id) { changedByUser_.insert(id); }

  const DialogTemplate& template_;
  CDialog* owner_;
  std::unique_ptr<Window> window_;
  // Set while the program writes a control's text. Only the user's edits
  // report a change: a window that pauses something while the user types
  // must not pause it again when it shows a value in its own form (a typed
  // "2.50" written back as "2.5").
  bool writingControlText_ = false;
  // The controls the user changed since the controls were last saved.
  std::set<int> changedByUser_;
};
