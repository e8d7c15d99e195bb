#pragma once
#include "framework/dialog/PaintContext.h"
#include "framework/win32/Native.h"

// The device context of one paint of the dialog's window.
class CPaintDC::Surface {
 public:
  explicit Surface(native::Painter& painter) : painter(painter) {}
  native::Painter& painter;
};
