// Drawing with the device context of the paint.
#include "framework/dialog/PaintContext.h"

#include "framework/win32/PaintSurface.h"

int CPaintDC::DotsPerInch() const { return surface_.painter.DotsPerInch(); }

void CPaintDC::TextOut(int x, int y, std::string_view text) {
  surface_.painter.Text(x, y, text, bkColor_, textColor_);
}

void CPaintDC::Rectangle(int left, int top, int right, int bottom) {
  surface_.painter.Frame(native::Bounds{left, top, right, bottom}, pen_->Width(), pen_->Color());
}

void CPaintDC::LineTo(int x, int y) {
  surface_.painter.Line(x_, y_, x, y, pen_->Width(), pen_->Color());
  x_ = x;
  y_ = y;
}

void CPaintDC::DrawIcon(int x, int y, const IconResource& icon) { surface_.painter.Icon(x, y, icon); }

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXICON:
      return native::LargeIconSize().x;
    case SM_CYICON:
      return native::LargeIconSize().y;
    default:
      return 0;
  }
}
