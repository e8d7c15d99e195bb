#pragma once
// The toolkit's window behind a CDialog: it builds the controls from the
// template, turns the toolkit's events into the dialog's handlers, and keeps
// the timers, the invalid region and the dialog's own system menu.
#include <QDialog>
#include <QRegion>
#include <functional>
#include <map>
#include <vector>

#include "framework/dialog/DialogWindow.h"
#include "framework/dialog/RadioGroups.h"
#include "framework/qt/DialogUnits.h"

class QMenu;
class QTimer;

class QtDialogWindow final : public QDialog, public CDialog::Window {
 public:
  QtDialogWindow(CDialog& dialog, QWidget* parent);

  // nullptr when the template has no control with that id.
  QWidget* Control(int id) const;
  QMenu* SystemMenu() const { return systemMenu_; }

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
  DialogBaseUnits BaseUnits() const override { return units_; }
  CRect Frame() const override;
  CRect WorkAreaAt(const CRect& frame) const override;
  void MoveFrameTo(int left, int top) override { move(left, top); }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void CreateControls();
  void ConnectNotifications(std::size_t index);
  void ChainTabStops();
  void CreateSystemMenu();
  void ClearRestOfRadioGroup(std::size_t selected);
  void ChooseWithinRadioGroup(std::size_t from, int step);
  std::function<bool(std::size_t)> IsCheckedAt() const;
  void ApplyRadioGroupTabStop(const RadioGroupTabStop& placed);
  void PressEnter();
  void AddInvalid(const QRegion& region);

  const DialogBaseUnits units_;
  std::vector<QWidget*> controls_;  // in template order
  std::map<int, QTimer*> timers_;
  QRegion invalid_;
  QMenu* systemMenu_ = nullptr;
};
