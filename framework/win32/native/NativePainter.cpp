#include <algorithm>
#include <string>

#include "framework/win32/native/IconHandles.h"
#include "framework/win32/native/Latin1.h"
#include "framework/win32/Native.h"

namespace native {

namespace {
HDC Dc(void* dc) { return static_cast<HDC>(dc); }
}  // namespace

Painter::Painter(void* deviceContext, void* font)
    : dc_(deviceContext), originalFont_(SelectObject(Dc(deviceContext), static_cast<HFONT>(font))) {}

Painter::~Painter() {
  SelectObject(Dc(dc_), static_cast<HGDIOBJ>(originalFont_));
  if (pen_ != nullptr) {
    SelectObject(Dc(dc_), static_cast<HGDIOBJ>(originalPen_));
    DeleteObject(static_cast<HGDIOBJ>(pen_));
  }
}

// The device context's own figure is the system's at start-up, not the
// monitor's the window stands on.
int Painter::DotsPerInch() const {
  const UINT window = GetDpiForWindow(WindowFromDC(Dc(dc_)));
  return window != 0 ? static_cast<int>(window) : GetDeviceCaps(Dc(dc_), LOGPIXELSY);
}

void Painter::UsePen(int width, Colour colour) {
  if (pen_ != nullptr && width == penWidth_ && colour == penColour_) return;
  // Wide pens end flat at the line's ends, as the other backend's do; the
  // system's default would round them out by half the width.
  const LOGBRUSH brush{BS_SOLID, colour, 0};
  const HPEN pen = width > 1 ? ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER,
                                            static_cast<DWORD>(width), &brush, 0, nullptr)
                             : CreatePen(PS_SOLID, width, colour);
  const HGDIOBJ replaced = SelectObject(Dc(dc_), pen);
  if (pen_ == nullptr) {
    originalPen_ = replaced;
  } else {
    DeleteObject(static_cast<HGDIOBJ>(pen_));
  }
  pen_ = pen;
  penWidth_ = width;
  penColour_ = colour;
}

void Painter::Text(int x, int y, std::string_view text, Colour background, Colour foreground) {
  SetBkMode(Dc(dc_), OPAQUE);
  SetBkColor(Dc(dc_), background);
  SetTextColor(Dc(dc_), foreground);
  const std::wstring wide = Widen(text);
  TextOutW(Dc(dc_), x, y, wide.c_str(), static_cast<int>(wide.size()));
}

// The device context's own brush is the stock white one, and it is never
// changed here.
void Painter::Frame(const Bounds& bounds, int penWidth, Colour penColour) {
  UsePen(penWidth, penColour);
  Rectangle(Dc(dc_), bounds.left, bounds.top, bounds.right, bounds.bottom);
}

void Painter::Line(int x0, int y0, int x1, int y1, int penWidth, Colour penColour) {
  if (x0 == x1 || y0 == y1) {
    // Straight lines are filled exactly: every pixel from the start up to, not
    // including, the end, the pen's width across, centred on the line.
    const bool vertical = x0 == x1;
    const int from = vertical ? y0 : x0;
    const int to = vertical ? y1 : x1;
    const int first = from <= to ? from : to + 1;
    const int end = from <= to ? to : from + 1;
    const int width = std::max(penWidth, 1);
    const int across = (vertical ? x0 : y0) - (width - 1) / 2;
    if (end > first) {
      const RECT band = vertical ? RECT{across, first, across + width, end} : RECT{first, across, end, across + width};
      const HBRUSH brush = CreateSolidBrush(penColour);
      FillRect(Dc(dc_), &band, brush);
      DeleteObject(brush);
    }
    return;
  }
  UsePen(penWidth, penColour);
  MoveToEx(Dc(dc_), x0, y0, nullptr);
  LineTo(Dc(dc_), x1, y1);
}

void Painter::Icon(int x, int y, const IconResource& icon) {
  const Extent size = LargeIconSize();
  if (const HICON handle = IconHandle(icon, size.x)) {
    DrawIconEx(Dc(dc_), x, y, handle, size.x, size.y, 0, nullptr, DI_NORMAL);
  }
}

}  // namespace native
