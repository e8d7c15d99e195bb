#include "framework/qt/Controls.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QValidator>

#include "framework/dialog/IconResource.h"
#include "framework/qt/IconImages.h"

namespace {

constexpr int kIconSizePx = 32;

bool Has(const ControlTemplate& control, unsigned style) { return (control.style & style) != 0; }

// Labels show '&' as a mnemonic marker unless NoPrefix says otherwise; they
// have no keyboard use here, so the marker is dropped and "&&" shows one '&'.
QString LabelText(const ControlTemplate& control, const QString& text) {
  if (Has(control, ControlStyle::NoPrefix)) return text;
  QString shown;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == u'&' && i + 1 < text.size()) ++i;
    shown += text[i];
  }
  return shown;
}

// The limit as a validator rather than the toolkit's maximum length: the
// maximum length would also cut text that the program sets, where a limit only
// holds typing back. A change that makes the text no longer than the limit, or
// shorter than it was, is taken, so a longer text the program set (a stored
// name that only a file written by other means holds) can be shortened a
// character at a time, as in the Win32 edit control.
class LengthLimit : public QValidator {
 public:
  LengthLimit(int maxChars, QLineEdit* edit) : QValidator(edit), maxChars_(maxChars), charsShown_(edit->text().size()) {
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) { charsShown_ = text.size(); });
  }
  State validate(QString& input, int& /*position*/) const override {
    return input.size() <= maxChars_ || input.size() < charsShown_ ? Acceptable : Invalid;
  }

 private:
  int maxChars_;
  qsizetype charsShown_;  // the text before the change being validated
};

QWidget* NewEdit(const ControlTemplate& control, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setFrame(Has(control, ControlStyle::Border));
  edit->setReadOnly(Has(control, ControlStyle::ReadOnly));
  edit->setAlignment((Has(control, ControlStyle::RightAlign) ? Qt::AlignRight : Qt::AlignLeft) |
                     Qt::AlignVCenter);
  return edit;
}

QWidget* NewPushButton(const ControlTemplate& control, QWidget* parent) {
  auto* button = new QPushButton(parent);
  // The dialog routes Enter itself; the toolkit's habit of making the focused
  // button the default one would get in its way.
  button->setAutoDefault(false);
  button->setDefault(control.kind == ControlKind::DefPushButton);
  return button;
}

QWidget* NewIcon(const ControlTemplate& control, QWidget* parent) {
  auto* label = new QLabel(parent);
  if (const IconResource* icon = FindIconResource(control.resourceId)) {
    label->setPixmap(QPixmap::fromImage(ImageOfSize(*icon, kIconSizePx)));
  }
  return label;
}

QWidget* NewWidget(const ControlTemplate& control, QWidget* parent) {
  switch (control.kind) {
    case ControlKind::PushButton:
    case ControlKind::DefPushButton:
      return NewPushButton(control, parent);
    case ControlKind::Edit:
      return NewEdit(control, parent);
    case ControlKind::Label: {
      auto* label = new QLabel(parent);
      label->setTextFormat(Qt::PlainText);
      return label;
    }
    case ControlKind::GroupBox:
      return new QGroupBox(parent);
    case ControlKind::RadioButton:
      return new RadioControl(QString(), parent);
    case ControlKind::CheckBox:
      return new QCheckBox(parent);
    case ControlKind::Icon:
      return NewIcon(control, parent);
  }
  return new QWidget(parent);
}

Qt::FocusPolicy FocusPolicyOf(const ControlTemplate& control) {
  switch (control.kind) {
    case ControlKind::Label:
    case ControlKind::GroupBox:
    case ControlKind::Icon:
      return Qt::NoFocus;
    default:
      return Has(control, ControlStyle::TabStop) ? Qt::StrongFocus : Qt::ClickFocus;
  }
}

}  // namespace

RadioControl::RadioControl(const QString& text, QWidget* parent) : QRadioButton(text, parent) {
  setAutoExclusive(false);
}

void RadioControl::nextCheckState() {
  setChecked(true);
  if (selectedByClick) selectedByClick();
}

void RadioControl::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
      if (arrowWithinGroup) arrowWithinGroup(-1);
      return;
    case Qt::Key_Down:
    case Qt::Key_Right:
      if (arrowWithinGroup) arrowWithinGroup(+1);
      return;
    default:
      QRadioButton::keyPressEvent(event);
  }
}

QWidget* CreateControl(const ControlTemplate& control, const DialogBaseUnits& units, QWidget* parent) {
  QWidget* widget = NewWidget(control, parent);
  widget->setObjectName(QString::number(control.id));
  widget->setFocusPolicy(FocusPolicyOf(control));
  if (control.kind == ControlKind::Icon) {
    // An icon control takes the icon's size, whatever the template says.
    const QRect place = MapDialogUnits(units, control.x, control.y, 0, 0);
    widget->setGeometry(place.x(), place.y(), kIconSizePx, kIconSizePx);
  } else {
    widget->setGeometry(MapDialogUnits(units, control.x, control.y, control.cx, control.cy));
    if (control.text != nullptr) SetWidgetText(widget, control, QString::fromLatin1(control.text));
  }
  return widget;
}

void SetWidgetText(QWidget* widget, const ControlTemplate& control, const QString& text) {
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    // The limit holds typing back, not the program; and a text the toolkit
    // found over the limit would make it take the next typing unchecked.
    const QValidator* limit = edit->validator();
    edit->setValidator(nullptr);
    edit->setText(text);
    edit->setValidator(limit);
    // A text set by the program shows from its first character, as an edit
    // control does; the toolkit would scroll to its end.
    edit->setCursorPosition(0);
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setText(LabelText(control, text));
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    button->setText(text);
  } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
    group->setTitle(text);
  }
}

QString WidgetText(const QWidget* widget) {
  if (auto* edit = qobject_cast<const QLineEdit*>(widget)) return edit->text();
  if (auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
  if (auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
  if (auto* group = qobject_cast<const QGroupBox*>(widget)) return group->title();
  return QString();
}

void LimitEditText(QWidget* widget, int maxChars) {
  auto* edit = qobject_cast<QLineEdit*>(widget);
  if (edit == nullptr) return;
  const QValidator* previous = edit->validator();
  edit->setValidator(maxChars > 0 ? new LengthLimit(maxChars, edit) : nullptr);
  delete previous;
}
