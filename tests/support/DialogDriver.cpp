#include "support/DialogDriver.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>

#include "framework/qt/QtAccess.h"

namespace {

QWidget* RequireControl(const CDialog& dialog, int id) {
  QWidget* control = ControlWidget(dialog, id);
  if (control == nullptr) ADD_FAILURE() << "no control " << id << " in the dialog's window";
  return control;
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
    case Key::Up:
      return Qt::Key_Up;
    case Key::Down:
      return Qt::Key_Down;
  }
  return Qt::Key_unknown;
}

}  // namespace

void ClickThroughWindowSystem(QWidget* widget) {
  QWidget* window = widget->window();
  const QPoint centre = widget->mapTo(window, widget->rect().center());
  QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, centre);
}

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
    ADD_FAILURE() << "the modal dialog was still open after " << timeout.count() << " ms";
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

void ProcessEventsFor(std::chrono::milliseconds duration) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < duration.count()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(1);
  }
}

void ClickControl(const CDialog& dialog, int id) {
  QWidget* control = RequireControl(dialog, id);
  if (qobject_cast<QPushButton*>(control) != nullptr) {
    ClickThroughWindowSystem(control);
  } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
    button->click();
  }
}

void TypeText(const CDialog& dialog, int id, std::string_view text) {
  QWidget* control = RequireControl(dialog, id);
  if (control == nullptr) return;
  control->setFocus(Qt::OtherFocusReason);
  QTest::keyClicks(control, QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
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
  QWidget* window = DialogWidget(dialog);
  if (window == nullptr) return;
  QWidget* target = window->focusWidget() != nullptr ? window->focusWidget() : window;
  const Qt::KeyboardModifiers modifiers = key == Key::AltSpace ? Qt::AltModifier : Qt::NoModifier;
  QTest::keyClick(target, ToQtKey(key), modifiers);
}

void ClickCloseBox(const CDialog& dialog) {
  if (QWidget* window = DialogWidget(dialog)) window->close();
}

int FocusedControlId(const CDialog& dialog) {
  QWidget* window = DialogWidget(dialog);
  if (window == nullptr || window->focusWidget() == nullptr) return 0;
  bool isNumber = false;
  const int id = window->focusWidget()->objectName().toInt(&isNumber);
  return isNumber ? id : 0;
}

std::string SelectedText(const CDialog& dialog, int id) {
  auto* edit = qobject_cast<QLineEdit*>(RequireControl(dialog, id));
  return edit ? edit->selectedText().toLatin1().toStdString() : std::string();
}

CRect ControlRect(const CDialog& dialog, int id) {
  QWidget* control = RequireControl(dialog, id);
  if (control == nullptr) return CRect{};
  const QRect place = control->geometry();
  return CRect{place.left(), place.top(), place.left() + place.width(), place.top() + place.height()};
}

ClientPicture GrabClient(const CDialog& dialog) {
  ClientPicture picture;
  QWidget* window = DialogWidget(dialog);
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
