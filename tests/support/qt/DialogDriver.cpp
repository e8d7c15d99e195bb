#include "support/DialogDriver.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QThread>
#include <QTimer>

#include "framework/dialog/DialogWindow.h"
#include "framework/MessageBoxDisplay.h"
#include "framework/qt/QtAccess.h"

namespace {
// The platform is chosen when the toolkit starts.
int& OffscreenUnlessAPlatformIsNamed(int& argc) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  return argc;
}
}  // namespace

struct DrivenWindowSystem::Toolkit {
  Toolkit(int& argc, char** argv) : application(OffscreenUnlessAPlatformIsNamed(argc), argv) {}
  QApplication application;
};

DrivenWindowSystem::DrivenWindowSystem(int& argc, char** argv) : toolkit_(std::make_unique<Toolkit>(argc, argv)) {
  ShowMessageBoxesWithTheToolkit();
  // Windows open and close one after another; the last one closing must not
  // end anything.
  QApplication::setQuitOnLastWindowClosed(false);
}

DrivenWindowSystem::~DrivenWindowSystem() = default;

namespace {

CRect ToRect(const QRect& rect) {
  return CRect{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

QWidget* RequireWindow(const CDialog& dialog) {
  QWidget* window = DialogWidget(dialog);
  if (window == nullptr) ReportDriverFailure("the dialog has no window");
  return window;
}

QWidget* RequireControl(const CDialog& dialog, int id) {
  QWidget* control = ControlWidget(dialog, id);
  if (control == nullptr) ReportDriverFailure("no control " + std::to_string(id) + " in the dialog's window");
  return control;
}

std::string ToText(const QString& text) { return text.toLatin1().toStdString(); }

QString ToQText(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

// A press and release at the widget's centre, delivered to its window as the
// window system delivers them, so a window that a modal one blocks ignores it.
void ClickThroughWindowSystem(QWidget* widget, Qt::MouseButton button = Qt::LeftButton) {
  QWidget* window = widget->window();
  const QPoint centre = widget->mapTo(window, widget->rect().center());
  QTest::mouseClick(window->windowHandle(), button, Qt::NoModifier, centre);
}

Qt::Key ToQtKey(Key key) {
  switch (key) {
    case Key::Enter:
      return Qt::Key_Return;
    case Key::Escape:
      return Qt::Key_Escape;
    case Key::Tab:
      return Qt::Key_Tab;
    case Key::AltSpace:
      return Qt::Key_Space;
    case Key::Backspace:
      return Qt::Key_Backspace;
    case Key::End:
      return Qt::Key_End;
    case Key::Up:
      return Qt::Key_Up;
    case Key::Down:
      return Qt::Key_Down;
  }
  return Qt::Key_unknown;
}

std::vector<QMessageBox*> ShownBoxes() {
  std::vector<QMessageBox*> boxes;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* box = qobject_cast<QMessageBox*>(widget); box != nullptr && box->isVisible()) boxes.push_back(box);
  }
  return boxes;
}

}  // namespace

int RunModal(CDialog& dialog, std::function<void()> script, std::chrono::milliseconds timeout) {
  // Polls until the window shows, so the script sees the dialog as the user
  // would, with OnInitDialog done.
  QTimer starter;
  starter.setInterval(1);
  QObject::connect(&starter, &QTimer::timeout, [&] {
    QWidget* window = DialogWidget(dialog);
    if (window == nullptr || !window->isVisible()) return;
    starter.stop();
    if (script) script();
  });
  QTimer watchdog;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, [&] {
    ReportDriverFailure("the modal dialog was still open after " + std::to_string(timeout.count()) + " ms");
    dialog.EndDialog(kModalTimedOut);
  });
  starter.start();
  watchdog.start(timeout);
  return dialog.DoModal();
}

bool ProcessEventsUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > timeout.count()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(1);
  }
  return true;
}

void PostToWindowThread(std::function<void()> action, std::chrono::milliseconds delay) {
  QTimer::singleShot(delay, QCoreApplication::instance(), std::move(action));
}

CDialog* ActiveModalDialog() {
  auto* window = dynamic_cast<CDialog::Window*>(QApplication::activeModalWidget());
  return window != nullptr ? &window->Dialog() : nullptr;
}

void ClickControl(const CDialog& dialog, int id) {
  QWidget* control = RequireControl(dialog, id);
  if (qobject_cast<QPushButton*>(control) != nullptr) {
    ClickThroughWindowSystem(control);
  } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
    button->click();
  }
}

void RightClick(const CDialog& dialog, int x, int y) {
  if (QWidget* window = RequireWindow(dialog)) {
    QTest::mouseClick(window->windowHandle(), Qt::RightButton, Qt::NoModifier, QPoint(x, y));
  }
}

void TypeText(const CDialog& dialog, int id, std::string_view text) {
  QWidget* control = RequireControl(dialog, id);
  if (control == nullptr) return;
  control->setFocus(Qt::OtherFocusReason);
  QTest::keyClicks(control, ToQText(text));
}

void ReplaceText(const CDialog& dialog, int id, std::string_view text) {
  if (auto* edit = qobject_cast<QLineEdit*>(RequireControl(dialog, id))) {
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    if (text.empty()) QTest::keyClick(edit, Qt::Key_Delete);
  }
  TypeText(dialog, id, text);
}

void PressKey(const CDialog& dialog, Key key) {
  QWidget* window = RequireWindow(dialog);
  if (window == nullptr) return;
  QWidget* target = window->focusWidget() != nullptr ? window->focusWidget() : window;
  const Qt::KeyboardModifiers modifiers = key == Key::AltSpace ? Qt::AltModifier : Qt::NoModifier;
  QTest::keyClick(target, ToQtKey(key), modifiers);
}

void PressKeyAtTheFocus(Key key) {
  QWidget* target = QApplication::focusWidget();
  if (target == nullptr) target = QApplication::activeWindow();
  if (target == nullptr) return;
  QTest::keyClick(target, ToQtKey(key), key == Key::AltSpace ? Qt::AltModifier : Qt::NoModifier);
}

void ClickCloseBox(const CDialog& dialog) {
  if (QWidget* window = RequireWindow(dialog)) window->close();
}

bool IsShown(const CDialog& dialog) {
  QWidget* window = DialogWidget(dialog);
  return window != nullptr && window->isVisible();
}

bool IsOwnedBy(const CDialog& dialog, const CDialog& owner) {
  QWidget* window = DialogWidget(dialog);
  return window != nullptr && window->parentWidget() != nullptr && window->parentWidget() == DialogWidget(owner);
}

int FocusedControlId(const CDialog& dialog) {
  QWidget* window = DialogWidget(dialog);
  if (window == nullptr || window->focusWidget() == nullptr) return 0;
  bool isNumber = false;
  const int id = window->focusWidget()->objectName().toInt(&isNumber);
  return isNumber ? id : 0;
}

int ControlIdAt(const CDialog& dialog, int x, int y) {
  QWidget* window = RequireWindow(dialog);
  QWidget* hit = window != nullptr ? window->childAt(x, y) : nullptr;
  while (hit != nullptr && hit->parentWidget() != window) hit = hit->parentWidget();
  if (hit == nullptr) return 0;
  bool isNumber = false;
  const int id = hit->objectName().toInt(&isNumber);
  return isNumber ? id : 0;
}

std::string SelectedText(const CDialog& dialog, int id) {
  auto* edit = qobject_cast<QLineEdit*>(RequireControl(dialog, id));
  return edit ? ToText(edit->selectedText()) : std::string();
}

CRect ControlRect(const CDialog& dialog, int id) {
  QWidget* control = RequireControl(dialog, id);
  if (control == nullptr) return CRect{};
  return ToRect(control->geometry());
}

ScreenPlace PlaceOnScreen(const CDialog& dialog) {
  QWidget* window = RequireWindow(dialog);
  if (window == nullptr) return {};
  const QScreen* screen = window->screen();
  return ScreenPlace{ToRect(window->frameGeometry()),
                     screen != nullptr ? ToRect(screen->availableGeometry()) : CRect{}};
}

std::vector<std::string> ControlTexts(const CDialog& dialog) {
  std::vector<std::string> texts;
  QWidget* window = RequireWindow(dialog);
  if (window == nullptr) return texts;
  for (QWidget* control : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (auto* label = qobject_cast<QLabel*>(control)) {
      texts.push_back(ToText(label->text()));
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
      texts.push_back(ToText(button->text()));
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
      texts.push_back(ToText(edit->text()));
    } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
      texts.push_back(ToText(group->title()));
    }
  }
  return texts;
}

BuiltControl InspectControl(const CDialog& dialog, int id) {
  BuiltControl built;
  QWidget* control = RequireControl(dialog, id);
  if (auto* push = qobject_cast<QPushButton*>(control)) {
    built.kind = push->isDefault() ? ControlKind::DefPushButton : ControlKind::PushButton;
  } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    built.kind = ControlKind::Edit;
    built.framed = edit->hasFrame();
    built.readOnly = edit->isReadOnly();
    built.rightAligned = (edit->alignment() & Qt::AlignRight) != 0;
  } else if (auto* check = qobject_cast<QCheckBox*>(control)) {
    built.kind = ControlKind::CheckBox;
    built.threeState = check->isTristate();
  } else if (qobject_cast<QRadioButton*>(control) != nullptr) {
    built.kind = ControlKind::RadioButton;
  } else if (qobject_cast<QGroupBox*>(control) != nullptr) {
    built.kind = ControlKind::GroupBox;
  } else if (auto* label = qobject_cast<QLabel*>(control)) {
    built.kind = label->pixmap().isNull() ? ControlKind::Label : ControlKind::Icon;
  } else if (control != nullptr) {
    ReportDriverFailure("control " + std::to_string(id) + " is of no kind a template names");
  }
  return built;
}

FontFacts DialogFont(const CDialog& dialog) {
  QWidget* window = RequireWindow(dialog);
  if (window == nullptr) return {};
  const QFont font = window->font();
  return FontFacts{font.pointSize(), QFontMetrics(font).height(), QFontInfo(font).fixedPitch()};
}

int TextWidth(const CDialog& dialog, std::string_view text) {
  QWidget* window = RequireWindow(dialog);
  return window != nullptr ? QFontMetrics(window->font()).horizontalAdvance(ToQText(text)) : 0;
}

std::vector<int> WindowIconSizes(const CDialog& dialog) {
  std::vector<int> sizes;
  if (QWidget* window = RequireWindow(dialog)) {
    for (const QSize& size : window->windowIcon().availableSizes()) {
      if (size.width() != size.height()) ReportDriverFailure("an icon image is not square");
      sizes.push_back(size.width());
    }
  }
  return sizes;
}

std::vector<SystemMenuItem> SystemMenuItems(const CDialog& dialog) {
  std::vector<SystemMenuItem> items;
  QMenu* menu = SystemMenu(dialog);
  if (menu == nullptr) {
    ReportDriverFailure("the dialog has no system menu");
    return items;
  }
  for (const QAction* action : menu->actions()) {
    if (action->isSeparator()) {
      items.push_back(SystemMenuItem{0, {}, true});
    } else {
      items.push_back(SystemMenuItem{action->data().toUInt(), ToText(action->text()), false});
    }
  }
  return items;
}

void ChooseSystemMenuItem(const CDialog& dialog, unsigned id) {
  if (QMenu* menu = SystemMenu(dialog)) {
    for (QAction* action : menu->actions()) {
      if (!action->isSeparator() && action->data().toUInt() == id) {
        action->trigger();
        return;
      }
    }
  }
  ReportDriverFailure("the system menu has no item " + std::to_string(id));
}

bool SystemMenuOpensOn(const CDialog& dialog, const std::function<void()>& gesture) {
  QWidget* window = RequireWindow(dialog);
  QMenu* menu = SystemMenu(dialog);
  if (window == nullptr || menu == nullptr) return false;
  window->activateWindow();
  if (!ProcessEventsUntil([&] { return QApplication::activeWindow() == window; })) {
    ReportDriverFailure("the dialog's window did not become active");
    return false;
  }
  gesture();
  const bool opened = ProcessEventsUntil([&] { return menu->isVisible(); });
  menu->hide();
  return opened;
}

std::vector<VisibleMessageBox> VisibleMessageBoxes() {
  std::vector<VisibleMessageBox> boxes;
  for (const QMessageBox* box : ShownBoxes()) {
    boxes.push_back(VisibleMessageBox{ToText(box->windowTitle()), ToText(box->text()),
                                      box->icon() == QMessageBox::Warning,
                                      box->standardButtons() == QMessageBox::Ok, box->isModal(),
                                      box->isActiveWindow()});
  }
  return boxes;
}

bool AnswerMessageBox() {
  auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  if (box == nullptr) {
    const std::vector<QMessageBox*> shown = ShownBoxes();
    if (shown.empty()) return false;
    box = shown.front();
  }
  QAbstractButton* ok = box->button(QMessageBox::Ok);
  if (ok == nullptr) {
    ReportDriverFailure("the message box has no OK button");
    return false;
  }
  ClickThroughWindowSystem(ok);
  return true;
}

ClientPicture GrabClient(const CDialog& dialog) {
  ClientPicture picture;
  QWidget* window = RequireWindow(dialog);
  if (window == nullptr) return picture;
  const QImage image = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
  picture.width = image.width();
  picture.height = image.height();
  picture.pixels.reserve(static_cast<std::size_t>(picture.width) * picture.height);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const QRgb pixel = image.pixel(x, y);
      picture.pixels.push_back(RGB(qRed(pixel), qGreen(pixel), qBlue(pixel)));
    }
  }
  return picture;
}
