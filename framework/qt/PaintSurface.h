#pragma once
#include <QPainter>

#include "framework/PaintContext.h"

// The painter of one paint event, opened on the dialog's window.
class CPaintDC::Surface {
 public:
  explicit Surface(QPainter& painter) : painter(painter) {}
  QPainter& painter;
};
