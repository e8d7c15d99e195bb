// The paint context's own state: colours, the pen and the current position.
// Each backend draws with it (TextOut, Rectangle, LineTo, DrawIcon).
#include "framework/dialog/PaintContext.h"

namespace {

const CPen& DefaultPen() {
  static const CPen pen(1, RGB(0, 0, 0));
  return pen;
}

}  // namespace

CPaintDC::CPaintDC(Surface& surface) : surface_(surface), pen_(&DefaultPen()) {}

CPaintDC::~CPaintDC() = default;

void CPaintDC::SetBkColor(COLORREF color) { bkColor_ = color; }

void CPaintDC::SetTextColor(COLORREF color) { textColor_ = color; }

const CPen* CPaintDC::SelectPen(const CPen* pen) {
  const CPen* previous = pen_;
  pen_ = pen != nullptr ? pen : &DefaultPen();
  return previous;
}

// Rounded to the nearest pixel.
int CPaintDC::ScaledPixels(int pixelsAt100Percent) const {
  constexpr int kDotsPerInchAt100Percent = 96;
  const long long scaled = static_cast<long long>(pixelsAt100Percent) * DotsPerInch();
  return static_cast<int>((scaled + (scaled >= 0 ? 1 : -1) * kDotsPerInchAt100Percent / 2) / kDotsPerInchAt100Percent);
}

void CPaintDC::MoveTo(int x, int y) {
  x_ = x;
  y_ = y;
}
