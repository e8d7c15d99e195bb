#include "framework/qt/DialogUnits.h"

#include <QFontMetrics>

#include "framework/dialog/DialogWindow.h"

QFont DialogFontOf(const DialogTemplate& dialogTemplate) {
  QFont font(QString::fromLatin1(dialogTemplate.fontFace ? dialogTemplate.fontFace : ""));
  font.setStyleHint(QFont::SansSerif);
  if (dialogTemplate.fontPoints > 0) font.setPointSize(dialogTemplate.fontPoints);
  return font;
}

DialogBaseUnits BaseUnitsOf(const QFont& font) {
  const QFontMetrics metrics(font);
  return {AverageWidthOfAlphabet(metrics.horizontalAdvance(QString::fromLatin1(kAverageWidthAlphabet))),
          metrics.height()};
}

QRect MapDialogUnits(const DialogBaseUnits& units, int x, int y, int cx, int cy) {
  return QRect(HorizontalUnitsToPixels(units, x), VerticalUnitsToPixels(units, y),
               HorizontalUnitsToPixels(units, cx), VerticalUnitsToPixels(units, cy));
}

DialogBaseUnits TemplateBaseUnits(const DialogTemplate& dialogTemplate) {
  return BaseUnitsOf(DialogFontOf(dialogTemplate));
}
