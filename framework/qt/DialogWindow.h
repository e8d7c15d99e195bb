#pragma once
// The toolkit's window behind a CDialog: it builds the controls from the
// template, turns the toolkit's events into the dialog's handlers, and keeps
// the timers, the invalid region and the dialog's own system menu.
#include <QDialog>
#include <QRegion>
#include <map>
#include <vector>

#include "framework/Dialog.h"
#include "framework/qt/DialogUnits.h"

class QMenu;
class QTimer;

struct CDialog::Window : public QDialog {
  Window(CDialog& dialog, QWidget* parent);

  // nullptr when the template has no control with that id.
  QWidget* Control(int id) const;
  const ControlTemplate* TemplateOf(int id) const;

  void SetTimer(int id, unsigned periodMs);
  void KillTimer(int id);
  bool IsTimerRunning(int id) const;

  void Invalidate(const QRegion& region);
  void PaintInvalidNow();

  void FocusFirstTabStop();
  // Checks or clears a button; a radio button's group then takes its tab stop
  // from its choice.
  void CheckButton(int id, bool checked);
  void AppendSystemMenuSeparator();
  void AppendSystemMenuItem(unsigned commandId, const QString& text);
  QMenu* SystemMenu() const { return systemMenu_; }

  // Set by EndDialog, so a modal loop that has not started yet never starts.
  bool endRequested = false;
  const DialogBaseUnits units;

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
  void RouteClick(int id);
  void ClearRestOfRadioGroup(std::size_t selected);
  void ChooseWithinRadioGroup(std::size_t from, int step);
  void PlaceRadioGroupTabStop(std::size_t member);
  void PressEnter();

  CDialog& dialog_;
  std::vector<QWidget*> controls_;  // in template order
  std::map<int, QTimer*> timers_;
  QRegion invalid_;
  QMenu* systemMenu_ = nullptr;
};
