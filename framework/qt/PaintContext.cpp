#include "framework/dialog/PaintContext.h"

#include <QFontMetrics>
#include <algorithm>

#include "framework/qt/IconImages.h"
#include "framework/qt/Latin1.h"
#include "framework/qt/PaintSurface.h"

namespace {

constexpr int kIconSizePx = 32;

QColor ToQColor(COLORREF color) { return QColor(GetRValue(color), GetGValue(color), GetBValue(color)); }

// The columns (or rows) that a pen of this width covers around a line: a pen
// is centred on it, the odd pixel of an even width going to the far side.
std::pair<int, int> PenSpan(int centre, int width) {
  const int first = centre - (std::max(width, 1) - 1) / 2;
  return {first, first + std::max(width, 1)};
}

}  // namespace

// The toolkit's pixels are already those of 96 dots per inch on a screen
// scaled up; only fonts set to another resolution make them smaller.
int CPaintDC::DotsPerInch() const { return surface_.painter.device()->logicalDpiY(); }

void CPaintDC::TextOut(int x, int y, std::string_view text) {
  QPainter& painter = surface_.painter;
  const QString qtext = ToQString(text);
  const QFontMetrics metrics(painter.font());
  painter.fillRect(QRect(x, y, metrics.horizontalAdvance(qtext), metrics.height()), ToQColor(bkColor_));
  painter.setPen(ToQColor(textColor_));
  painter.drawText(QPoint(x, y + metrics.ascent()), qtext);
}

// Right and bottom lie outside the shape, as for every rectangle here.
void CPaintDC::Rectangle(int left, int top, int right, int bottom) {
  if (right <= left || bottom <= top) return;
  QPainter& painter = surface_.painter;
  painter.fillRect(QRect(left, top, right - left, bottom - top), Qt::white);
  const int width = std::max(pen_->Width(), 1);
  const QColor color = ToQColor(pen_->Color());
  // The four sides as bands of the pen's width centred on the outline.
  const auto [x0, x0End] = PenSpan(left, width);
  const auto [x1, x1End] = PenSpan(right - 1, width);
  const auto [y0, y0End] = PenSpan(top, width);
  const auto [y1, y1End] = PenSpan(bottom - 1, width);
  painter.fillRect(QRect(QPoint(x0, y0), QPoint(x1End - 1, y0End - 1)), color);
  painter.fillRect(QRect(QPoint(x0, y1), QPoint(x1End - 1, y1End - 1)), color);
  painter.fillRect(QRect(QPoint(x0, y0), QPoint(x0End - 1, y1End - 1)), color);
  painter.fillRect(QRect(QPoint(x1, y0), QPoint(x1End - 1, y1End - 1)), color);
}

void CPaintDC::LineTo(int x, int y) {
  QPainter& painter = surface_.painter;
  const QColor color = ToQColor(pen_->Color());
  const int width = std::max(pen_->Width(), 1);
  if (x == x_ || y == y_) {
    // Straight lines are filled exactly: every pixel from the start up to, not
    // including, the end, the pen's width across.
    const bool vertical = x == x_;
    const int from = vertical ? y_ : x_;
    const int to = vertical ? y : x;
    const int first = from <= to ? from : to + 1;
    const int last = from <= to ? to - 1 : from;
    if (last >= first) {
      const auto [across, acrossEnd] = PenSpan(vertical ? x : y, width);
      const QRect band = vertical ? QRect(QPoint(across, first), QPoint(acrossEnd - 1, last))
                                  : QRect(QPoint(first, across), QPoint(last, acrossEnd - 1));
      painter.fillRect(band, color);
    }
  } else {
    // Slanted lines come from the toolkit; pixel centres lie half a pixel in.
    QPen pen(color, width, Qt::SolidLine, Qt::FlatCap);
    painter.setPen(pen);
    painter.drawLine(QPointF(x_ + 0.5, y_ + 0.5), QPointF(x + 0.5, y + 0.5));
  }
  x_ = x;
  y_ = y;
}

void CPaintDC::DrawIcon(int x, int y, const IconResource& icon) {
  const QImage image = ImageOfSize(icon, kIconSizePx);
  if (!image.isNull()) surface_.painter.drawImage(QPoint(x, y), image);
}

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXICON:
    case SM_CYICON:
      return kIconSizePx;
    default:
      return 0;
  }
}
