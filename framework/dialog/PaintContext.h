#pragma once
// What a paint handler draws with: pens, text and background colours, opaque
// text, rectangles and lines, in client pixels.
#include <memory>
#include <string_view>

#include "framework/dialog/IconResource.h"
#include "framework/dialog/Types.h"

class CPen {
 public:
  CPen(int width, COLORREF color) : width_(width), color_(color) {}
  int Width() const { return width_; }
  COLORREF Color() const { return color_; }

 private:
  int width_;
  COLORREF color_;
};

class CPaintDC {
 public:
  class Surface;  // the toolkit's painter, hidden from window code
  explicit CPaintDC(Surface& surface);
  ~CPaintDC();

  void SetBkColor(COLORREF color);
  void SetTextColor(COLORREF color);
  // Text whose cell's top-left corner is (x, y), on an opaque background in the
  // background colour.
  void TextOut(int x, int y, std::string_view text);
  // Outlined with the current pen, filled white.
  void Rectangle(int left, int top, int right, int bottom);
  // Returns the pen it replaces; the default pen is 1 pixel black.
  const CPen* SelectPen(const CPen* pen);
  void MoveTo(int x, int y);
  // From the current position up to, not including, (x, y).
  void LineTo(int x, int y);
  void DrawIcon(int x, int y, const IconResource& icon);
  // A length given in pixels at 100 % (96 dots per inch), in the pixels of
  // this paint: what a window draws beside its text grows with it on a
  // screen scaled up.
  int ScaledPixels(int pixelsAt100Percent) const;

 private:
  // Of what is painted on; 96 at 100 %. Each backend's.
  int DotsPerInch() const;

  Surface& surface_;
  const CPen* pen_;
  COLORREF bkColor_ = RGB(255, 255, 255);
  COLORREF textColor_ = RGB(0, 0, 0);
  int x_ = 0;
  int y_ = 0;
};

inline constexpr int SM_CXICON = 11;
inline constexpr int SM_CYICON = 12;
int GetSystemMetrics(int index);
