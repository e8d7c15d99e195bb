#pragma once
#include <QPainter>

#include "framework/dialog/PaintContext.h"

// The painter of one paint event, opened on the dialog's window.
class CPaintDC::Surface {
 public:
  // Pixel-exact, as the window code's strips and frames are drawn.
  explicit Surface(QPainter& painter) : painter(painter) { painter.setRenderHint(QPainter::Antialiasing, false); }
  QPainter& painter;
};
