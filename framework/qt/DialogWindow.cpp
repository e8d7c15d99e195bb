#include "framework/qt/DialogWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "framework/dialog/RadioGroups.h"
#include "framework/qt/Controls.h"
#include "framework/qt/IconImages.h"
#include "framework/qt/Latin1.h"
#include "framework/qt/PaintSurface.h"

namespace {

Qt::WindowFlags FlagsOf(const DialogTemplate& dialogTemplate) {
  Qt::WindowFlags flags = (dialogTemplate.style & DialogStyle::TaskBar) ? Qt::Window : Qt::Dialog;
  flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
  if (dialogTemplate.style & DialogStyle::SystemMenu) flags |= Qt::WindowSystemMenuHint;
  return flags;
}

}  // namespace

QtDialogWindow::QtDialogWindow(CDialog& dialog, QWidget* parent)
    : QDialog(parent, FlagsOf(dialog.Template())),
      CDialog::Window(dialog),
      units_(BaseUnitsOf(DialogFontOf(dialog.Template()))) {
  const DialogTemplate& dialogTemplate = dialog.Template();
  setFont(DialogFontOf(dialogTemplate));
  setWindowTitle(QString::fromLatin1(dialogTemplate.caption ? dialogTemplate.caption : ""));
  setFixedSize(MapDialogUnits(units_, 0, 0, dialogTemplate.cx, dialogTemplate.cy).size());
  CreateControls();
  ChainTabStops();
  CreateSystemMenu();
}

void QtDialogWindow::CreateControls() {
  const auto& templates = Template().controls;
  for (const ControlTemplate& control : templates) controls_.push_back(CreateControl(control, units_, this));
  // Group boxes come last in a template, but frame the controls created
  // before them and must not cover them.
  for (std::size_t i = 0; i < templates.size(); ++i) {
    if (templates[i].kind == ControlKind::GroupBox) controls_[i]->lower();
  }
  // Connected only now, so that the captions set above report nothing.
  for (std::size_t i = 0; i < templates.size(); ++i) ConnectNotifications(i);
  for (const RadioGroupTabStop& placed : PlaceEveryRadioGroupTabStop(Template(), IsCheckedAt())) {
    ApplyRadioGroupTabStop(placed);
  }
}

void QtDialogWindow::ConnectNotifications(std::size_t index) {
  const ControlTemplate& control = Template().controls[index];
  QWidget* widget = controls_[index];
  const int id = control.id;
  if (auto* radio = dynamic_cast<RadioControl*>(widget)) {
    radio->selectedByClick = [this, index] { ClearRestOfRadioGroup(index); };
    radio->arrowWithinGroup = [this, index](int step) { ChooseWithinRadioGroup(index, step); };
  }
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    connect(button, &QAbstractButton::clicked, this, [this, id] { ReportClick(id); });
  } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    connect(edit, &QLineEdit::textChanged, this, [this, id] { ReportEditChange(id); });
  }
}

// Every control that can take the focus is chained in creation order; its
// focus policy then decides whether Tab stops there, so a radio button that
// becomes its group's stop is met in its place.
void QtDialogWindow::ChainTabStops() {
  QWidget* previous = nullptr;
  for (QWidget* control : controls_) {
    if (control->focusPolicy() == Qt::NoFocus) continue;
    if (previous != nullptr) setTabOrder(previous, control);
    previous = control;
  }
}

// Window managers on Linux own the title bar's menu, so the dialog carries one
// of its own: a right-click on the background or Alt+Space opens it.
void QtDialogWindow::CreateSystemMenu() {
  systemMenu_ = new QMenu(this);
  QAction* close = systemMenu_->addAction(QStringLiteral("&Close"));
  close->setData(SC_CLOSE);
  connect(close, &QAction::triggered, this, [this] { ReportSysCommand(SC_CLOSE); });

  auto* openMenu = new QAction(this);
  openMenu->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Space));
  openMenu->setShortcutContext(Qt::WindowShortcut);
  addAction(openMenu);
  connect(openMenu, &QAction::triggered, this, [this] { systemMenu_->popup(mapToGlobal(QPoint(0, 0))); });
}

void QtDialogWindow::AppendSystemMenuSeparator() { systemMenu_->addSeparator(); }

void QtDialogWindow::AppendSystemMenuItem(unsigned commandId, std::string_view text) {
  QAction* item = systemMenu_->addAction(ToQString(text));
  item->setData(commandId);
  connect(item, &QAction::triggered, this, [this, commandId] { ReportSysCommand(commandId); });
}

QWidget* QtDialogWindow::Control(int id) const {
  const auto index = IndexOfControl(Template(), id);
  return index ? controls_[*index] : nullptr;
}

void QtDialogWindow::ClearRestOfRadioGroup(std::size_t selected) {
  const DialogTemplate& dialogTemplate = Template();
  for (std::size_t i : RadioGroupFrom(dialogTemplate, GroupStartOf(dialogTemplate, selected))) {
    if (i != selected) static_cast<QAbstractButton*>(controls_[i])->setChecked(false);
  }
  ApplyRadioGroupTabStop(PlaceRadioGroupTabStop(Template(), selected, IsCheckedAt()));
}

void QtDialogWindow::CheckButton(int id, bool checked) {
  const auto index = IndexOfControl(Template(), id);
  if (!index) return;
  auto* button = qobject_cast<QAbstractButton*>(controls_[*index]);
  if (button == nullptr) return;
  button->setChecked(checked);
  if (Template().controls[*index].kind == ControlKind::RadioButton) {
    ApplyRadioGroupTabStop(PlaceRadioGroupTabStop(Template(), *index, IsCheckedAt()));
  }
}

std::function<bool(std::size_t)> QtDialogWindow::IsCheckedAt() const {
  return [this](std::size_t i) { return static_cast<QAbstractButton*>(controls_[i])->isChecked(); };
}

// Only the focus policy decides whether Tab stops at a button.
void QtDialogWindow::ApplyRadioGroupTabStop(const RadioGroupTabStop& placed) {
  for (std::size_t i : placed.group) {
    controls_[i]->setFocusPolicy(i == placed.tabStop ? Qt::StrongFocus : Qt::ClickFocus);
  }
}

// The core's arrow rule (RadioNeighbour): the focus moves on and chooses.
void QtDialogWindow::ChooseWithinRadioGroup(std::size_t from, int step) {
  auto* next = static_cast<RadioControl*>(controls_[RadioNeighbour(Template(), from, step)]);
  next->setFocus(Qt::TabFocusReason);
  next->click();
}

void QtDialogWindow::FocusFirstTabStop() {
  const auto& templates = Template().controls;
  for (std::size_t i = 0; i < templates.size(); ++i) {
    QWidget* control = controls_[i];
    if ((templates[i].style & ControlStyle::TabStop) && control->isEnabled() &&
        control->focusPolicy() != Qt::NoFocus) {
      FocusControl(templates[i].id);
      return;
    }
  }
}

void QtDialogWindow::SetTimer(int id, unsigned periodMs) {
  QTimer*& timer = timers_[id];
  if (timer == nullptr) {
    timer = new QTimer(this);
    timer->setTimerType(Qt::PreciseTimer);
    // The toolkit never delivers a timer inside its own delivery, not even
    // in a modal loop opened there; started again first, it is a new timer
    // to the toolkit, and the framework decides where it may fire.
    connect(timer, &QTimer::timeout, this, [this, id, timer] {
      timer->start();
      ReportTimer(id);
    });
  }
  timer->start(static_cast<int>(periodMs));
}

void QtDialogWindow::KillTimer(int id) {
  const auto found = timers_.find(id);
  if (found != timers_.end()) found->second->stop();
}

bool QtDialogWindow::IsTimerRunning(int id) const {
  const auto found = timers_.find(id);
  return found != timers_.end() && found->second->isActive();
}

void QtDialogWindow::AddInvalid(const QRegion& region) {
  invalid_ += region;
  update(region);
}

// The toolkit repaints with the background erased in any case, so `erase`
// changes nothing.
void QtDialogWindow::Invalidate(const CRect& rect, bool /*erase*/) {
  AddInvalid(QRect(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1)));
}

void QtDialogWindow::InvalidateAll(bool /*erase*/) { AddInvalid(rect()); }

void QtDialogWindow::PaintInvalidNow() {
  if (!invalid_.isEmpty()) repaint(invalid_);
}

void QtDialogWindow::PressEnter() {
  if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
    button->click();
    return;
  }
  // Otherwise Enter means the default button, or OK when there is none.
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    auto* button = qobject_cast<QPushButton*>(controls_[i]);
    if (button != nullptr && button->isDefault()) {
      ReportClick(Template().controls[i].id);
      return;
    }
  }
  ReportOK();
}

void QtDialogWindow::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape:
      ReportCancel();
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
void QtDialogWindow::closeEvent(QCloseEvent* event) {
  if (endRequested) {
    event->accept();
    return;
  }
  event->ignore();
  ReportCancel();
}

void QtDialogWindow::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(event->rect(), palette().brush(QPalette::Window));
  invalid_ -= event->region();
  CPaintDC::Surface surface(painter);
  CPaintDC dc(surface);
  ReportPaint(dc);
}

void QtDialogWindow::contextMenuEvent(QContextMenuEvent* event) { systemMenu_->popup(event->globalPos()); }

int QtDialogWindow::RunModal() { return endRequested ? result() : exec(); }

void QtDialogWindow::Show() { show(); }

void QtDialogWindow::End(int result) { done(result); }

void QtDialogWindow::SetTitle(std::string_view text) { setWindowTitle(ToQString(text)); }

std::string QtDialogWindow::Title() const { return ToStdString(windowTitle()); }

void QtDialogWindow::SetControlText(int id, std::string_view text) {
  const auto index = IndexOfControl(Template(), id);
  if (index) SetWidgetText(controls_[*index], Template().controls[*index], ToQString(text));
}

std::string QtDialogWindow::ControlText(int id) const {
  const QWidget* control = Control(id);
  return control ? ToStdString(WidgetText(control)) : std::string();
}

bool QtDialogWindow::IsButtonChecked(int id) const {
  const auto* button = qobject_cast<const QAbstractButton*>(Control(id));
  return button != nullptr && button->isChecked();
}

void QtDialogWindow::FocusControl(int id) {
  QWidget* control = Control(id);
  if (control == nullptr) return;
  control->setFocus(Qt::TabFocusReason);
  if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->selectAll();
}

void QtDialogWindow::LimitText(int id, int maxChars) { LimitEditText(Control(id), maxChars); }

CRect QtDialogWindow::ClientRect() const { return CRect{0, 0, width(), height()}; }

namespace {

CRect ToRect(const QRect& rect) {
  return CRect{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

}  // namespace

CRect QtDialogWindow::Frame() const { return ToRect(frameGeometry()); }

CRect QtDialogWindow::WorkAreaAt(const CRect& frame) const {
  const QPoint middle((frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2);
  const QScreen* screen = QGuiApplication::screenAt(middle);
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? ToRect(screen->availableGeometry()) : frame;
}

bool QtDialogWindow::IsMinimized() const { return isMinimized(); }

// The toolkit keeps one icon of several sizes per window, so the large and the
// small icon are the same call.
void QtDialogWindow::SetIcon(const IconResource& icon, bool /*big*/) { setWindowIcon(ToIcon(icon)); }

std::unique_ptr<CDialog::Window> CreateDialogWindow(CDialog& dialog, CDialog::Window* owner) {
  return std::make_unique<QtDialogWindow>(dialog, dynamic_cast<QtDialogWindow*>(owner));
}
