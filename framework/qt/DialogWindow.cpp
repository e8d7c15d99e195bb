#include "framework/qt/DialogWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "framework/qt/Controls.h"
#include "framework/qt/PaintSurface.h"
#include "framework/RadioGroups.h"

namespace {

Qt::WindowFlags FlagsOf(const DialogTemplate& dialogTemplate) {
  Qt::WindowFlags flags = (dialogTemplate.style & DialogStyle::TaskBar) ? Qt::Window : Qt::Dialog;
  flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
  if (dialogTemplate.style & DialogStyle::SystemMenu) flags |= Qt::WindowSystemMenuHint;
  return flags;
}

}  // namespace

CDialog::Window::Window(CDialog& dialog, QWidget* parent)
    : QDialog(parent, FlagsOf(dialog.Template())),
      units(BaseUnitsOf(DialogFontOf(dialog.Template()))),
      dialog_(dialog) {
  const DialogTemplate& dialogTemplate = dialog.Template();
  setFont(DialogFontOf(dialogTemplate));
  setWindowTitle(QString::fromLatin1(dialogTemplate.caption ? dialogTemplate.caption : ""));
  setFixedSize(MapDialogUnits(units, 0, 0, dialogTemplate.cx, dialogTemplate.cy).size());
  CreateControls();
  ChainTabStops();
  CreateSystemMenu();
}

void CDialog::Window::CreateControls() {
  const auto& templates = dialog_.Template().controls;
  for (const ControlTemplate& control : templates) controls_.push_back(CreateControl(control, units, this));
  // Group boxes come last in a template, but frame the controls created
  // before them and must not cover them.
  for (std::size_t i = 0; i < templates.size(); ++i) {
    if (templates[i].kind == ControlKind::GroupBox) controls_[i]->lower();
  }
  // Connected only now, so that the captions set above report nothing.
  for (std::size_t i = 0; i < templates.size(); ++i) ConnectNotifications(i);
  for (std::size_t i = 0; i < templates.size(); ++i) {
    if (templates[i].kind == ControlKind::RadioButton) PlaceRadioGroupTabStop(i);
  }
}

void CDialog::Window::ConnectNotifications(std::size_t index) {
  const ControlTemplate& control = dialog_.Template().controls[index];
  QWidget* widget = controls_[index];
  const int id = control.id;
  if (auto* radio = dynamic_cast<RadioControl*>(widget)) {
    radio->selectedByClick = [this, index] { ClearRestOfRadioGroup(index); };
    radio->arrowWithinGroup = [this, index](int step) { ChooseWithinRadioGroup(index, step); };
  }
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    connect(button, &QAbstractButton::clicked, this, [this, id] { RouteClick(id); });
  } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    connect(edit, &QLineEdit::textChanged, this, [this, id] {
      if (!dialog_.writingControlText_) dialog_.OnCommand(id, Notification::Changed);
    });
  }
}

// Every control that can take the focus is chained in creation order; its
// focus policy then decides whether Tab stops there, so a radio button that
// becomes its group's stop is met in its place.
void CDialog::Window::ChainTabStops() {
  QWidget* previous = nullptr;
  for (QWidget* control : controls_) {
    if (control->focusPolicy() == Qt::NoFocus) continue;
    if (previous != nullptr) setTabOrder(previous, control);
    previous = control;
  }
}

// Window managers on Linux own the title bar's menu, so the dialog carries one
// of its own: a right-click on the background or Alt+Space opens it.
void CDialog::Window::CreateSystemMenu() {
  systemMenu_ = new QMenu(this);
  QAction* close = systemMenu_->addAction(QStringLiteral("&Close"));
  close->setData(SC_CLOSE);
  connect(close, &QAction::triggered, this, [this] { dialog_.OnSysCommand(SC_CLOSE); });

  auto* openMenu = new QAction(this);
  openMenu->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Space));
  openMenu->setShortcutContext(Qt::WindowShortcut);
  addAction(openMenu);
  connect(openMenu, &QAction::triggered, this, [this] { systemMenu_->popup(mapToGlobal(QPoint(0, 0))); });
}

void CDialog::Window::AppendSystemMenuSeparator() { systemMenu_->addSeparator(); }

void CDialog::Window::AppendSystemMenuItem(unsigned commandId, const QString& text) {
  QAction* item = systemMenu_->addAction(text);
  item->setData(commandId);
  connect(item, &QAction::triggered, this, [this, commandId] { dialog_.OnSysCommand(commandId); });
}

QWidget* CDialog::Window::Control(int id) const {
  const auto index = IndexOfControl(dialog_.Template(), id);
  return index ? controls_[*index] : nullptr;
}

const ControlTemplate* CDialog::Window::TemplateOf(int id) const {
  const auto index = IndexOfControl(dialog_.Template(), id);
  return index ? &dialog_.Template().controls[*index] : nullptr;
}

void CDialog::Window::RouteClick(int id) {
  if (id == IDOK) {
    dialog_.OnOK();
  } else if (id == IDCANCEL) {
    dialog_.OnCancel();
  } else {
    dialog_.OnCommand(id, Notification::Clicked);
  }
}

void CDialog::Window::ClearRestOfRadioGroup(std::size_t selected) {
  const DialogTemplate& dialogTemplate = dialog_.Template();
  for (std::size_t i : RadioGroupFrom(dialogTemplate, GroupStartOf(dialogTemplate, selected))) {
    if (i != selected) static_cast<QAbstractButton*>(controls_[i])->setChecked(false);
  }
  PlaceRadioGroupTabStop(selected);
}

void CDialog::Window::CheckButton(int id, bool checked) {
  const auto index = IndexOfControl(dialog_.Template(), id);
  if (!index) return;
  auto* button = qobject_cast<QAbstractButton*>(controls_[*index]);
  if (button == nullptr) return;
  button->setChecked(checked);
  if (dialog_.Template().controls[*index].kind == ControlKind::RadioButton) PlaceRadioGroupTabStop(*index);
}

// Tab reaches a group of radio buttons at its choice, as the classic automatic
// buttons arrange it, and at its first button while nothing is chosen, so that
// every group can be reached from the keyboard even where the template gives
// its buttons no tab stop.
void CDialog::Window::PlaceRadioGroupTabStop(std::size_t member) {
  const DialogTemplate& dialogTemplate = dialog_.Template();
  const std::vector<std::size_t> group = RadioGroupFrom(dialogTemplate, GroupStartOf(dialogTemplate, member));
  const auto chosen = std::find_if(group.begin(), group.end(), [this](std::size_t i) {
    return static_cast<QAbstractButton*>(controls_[i])->isChecked();
  });
  const std::size_t tabStop = chosen != group.end() ? *chosen : group.front();
  for (std::size_t i : group) controls_[i]->setFocusPolicy(i == tabStop ? Qt::StrongFocus : Qt::ClickFocus);
}

// As the classic dialog manager does: the arrow keys move the focus through
// the group, and an automatic radio button that takes the focus this way is
// chosen, with the same notification as a click.
void CDialog::Window::ChooseWithinRadioGroup(std::size_t from, int step) {
  auto* next = static_cast<RadioControl*>(controls_[RadioNeighbour(dialog_.Template(), from, step)]);
  next->setFocus(Qt::TabFocusReason);
  next->click();
}

void CDialog::Window::FocusFirstTabStop() {
  const auto& templates = dialog_.Template().controls;
  for (std::size_t i = 0; i < templates.size(); ++i) {
    QWidget* control = controls_[i];
    if ((templates[i].style & ControlStyle::TabStop) && control->isEnabled() &&
        control->focusPolicy() != Qt::NoFocus) {
      dialog_.GotoDlgCtrl(templates[i].id);
      return;
    }
  }
}

void CDialog::Window::SetTimer(int id, unsigned periodMs) {
  QTimer*& timer = timers_[id];
  if (timer == nullptr) {
    timer = new QTimer(this);
    timer->setTimerType(Qt::PreciseTimer);
    connect(timer, &QTimer::timeout, this, [this, id] { dialog_.OnTimer(id); });
  }
  timer->start(static_cast<int>(periodMs));
}

void CDialog::Window::KillTimer(int id) {
  const auto found = timers_.find(id);
  if (found != timers_.end()) found->second->stop();
}

bool CDialog::Window::IsTimerRunning(int id) const {
  const auto found = timers_.find(id);
  return found != timers_.end() && found->second->isActive();
}

void CDialog::Window::Invalidate(const QRegion& region) {
  invalid_ += region;
  update(region);
}

void CDialog::Window::PaintInvalidNow() {
  if (!invalid_.isEmpty()) repaint(invalid_);
}

void CDialog::Window::PressEnter() {
  if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
    button->click();
    return;
  }
  // Otherwise Enter means the default button, or OK when there is none.
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    auto* button = qobject_cast<QPushButton*>(controls_[i]);
    if (button != nullptr && button->isDefault()) {
      RouteClick(dialog_.Template().controls[i].id);
      return;
    }
  }
  dialog_.OnOK();
}

void CDialog::Window::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape:
      dialog_.OnCancel();
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      PressEnter();
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

// Only EndDialog closes the window; the close box asks the dialog instead.
void CDialog::Window::closeEvent(QCloseEvent* event) {
  if (endRequested) {
    event->accept();
    return;
  }
  event->ignore();
  dialog_.OnCancel();
}

void CDialog::Window::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(event->rect(), palette().brush(QPalette::Window));
  invalid_ -= event->region();
  CPaintDC::Surface surface(painter);
  CPaintDC dc(surface);
  dialog_.OnPaint(dc);
}

void CDialog::Window::contextMenuEvent(QContextMenuEvent* event) { systemMenu_->popup(event->globalPos()); }
