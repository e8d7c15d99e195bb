#include "framework/dialog/DialogUnits.h"

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

int HorizontalUnitsToPixels(const DialogBaseUnits& units, int dialogUnits) {
  return MulDiv(dialogUnits, units.x, kHorizontalUnitsPerBase);
}

int VerticalUnitsToPixels(const DialogBaseUnits& units, int dialogUnits) {
  return MulDiv(dialogUnits, units.y, kVerticalUnitsPerBase);
}

CRect MapDialogUnits(const DialogBaseUnits& units, const CRect& dialogUnits) {
  return CRect{HorizontalUnitsToPixels(units, dialogUnits.left), VerticalUnitsToPixels(units, dialogUnits.top),
               HorizontalUnitsToPixels(units, dialogUnits.right), VerticalUnitsToPixels(units, dialogUnits.bottom)};
}

int AverageWidthOfAlphabet(int alphabetWidthPx) { return (alphabetWidthPx + 26) / 52; }
