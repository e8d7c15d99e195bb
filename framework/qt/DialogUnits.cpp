#include "framework/qt/DialogUnits.h"

#include <QFontMetrics>
#include <cstdint>

namespace {

constexpr int kHorizontalUnitsPerBase = 4;
constexpr int kVerticalUnitsPerBase = 8;

// value * numerator / denominator, rounded half away from zero.
int MulDiv(int value, int numerator, int denominator) {
  const std::int64_t product = static_cast<std::int64_t>(value) * numerator;
  const std::int64_t half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

}  // namespace

QFont DialogFontOf(const DialogTemplate& dialogTemplate) {
  QFont font(QString::fromLatin1(dialogTemplate.fontFace ? dialogTemplate.fontFace : ""));
  font.setStyleHint(QFont::SansSerif);
  if (dialogTemplate.fontPoints > 0) font.setPointSize(dialogTemplate.fontPoints);
  return font;
}

DialogBaseUnits BaseUnitsOf(const QFont& font) {
  // The average width the classic way: the whole alphabet in both cases,
  // divided by its 52 letters and rounded.
  static const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  const QFontMetrics metrics(font);
  const int averageWidth = (metrics.horizontalAdvance(alphabet) + 26) / 52;
  return {averageWidth, metrics.height()};
}

int HorizontalUnitsToPixels(const DialogBaseUnits& units, int dialogUnits) {
  return MulDiv(dialogUnits, units.x, kHorizontalUnitsPerBase);
}

int VerticalUnitsToPixels(const DialogBaseUnits& units, int dialogUnits) {
  return MulDiv(dialogUnits, units.y, kVerticalUnitsPerBase);
}

QRect MapDialogUnits(const DialogBaseUnits& units, int x, int y, int cx, int cy) {
  return QRect(HorizontalUnitsToPixels(units, x), VerticalUnitsToPixels(units, y),
               HorizontalUnitsToPixels(units, cx), VerticalUnitsToPixels(units, cy));
}
