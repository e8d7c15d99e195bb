#pragma once
// The toolkit's widgets for the control kinds of a template.
#include <QRadioButton>
#include <functional>

#include "framework/dialog/DialogTemplate.h"
#include "framework/qt/DialogUnits.h"

// An automatic radio button whose group the dialog keeps: a click always
// selects it (never clears it), then tells the dialog so the rest of the group
// can be cleared. The toolkit's own exclusivity is off, because a program must
// be able to clear every button of a group.
class RadioControl : public QRadioButton {
 public:
  RadioControl(const QString& text, QWidget* parent);

  std::function<void()> selectedByClick;
  // An arrow key: +1 for the next button of the group, -1 for the previous.
  std::function<void(int step)> arrowWithinGroup;

 protected:
  void nextCheckState() override;
  void keyPressEvent(QKeyEvent* event) override;
};

// A widget for the control, placed and sized from its dialog units, with its
// styles, caption and focus policy; named by its id.
QWidget* CreateControl(const ControlTemplate& control, const DialogBaseUnits& units, QWidget* parent);

// Captions and texts as the window code sees them.
void SetWidgetText(QWidget* widget, const ControlTemplate& control, const QString& text);
QString WidgetText(const QWidget* widget);

// Typing into an edit stops at maxChars; text set by the program is not cut.
// 0 lifts the limit.
void LimitEditText(QWidget* widget, int maxChars);
