#include "framework/win32/DialogFont.h"

#include <string>

#include "framework/win32/Latin1.h"
#include "framework/win32/Native.h"

namespace {

constexpr int kPointsPerInch = 72;

// The screen's device context with a font selected, for measuring.
class ScreenWithFont {
 public:
  explicit ScreenWithFont(HFONT font) : dc_(GetDC(nullptr)), original_(SelectObject(dc_, font)) {}
  ~ScreenWithFont() {
    SelectObject(dc_, original_);
    ReleaseDC(nullptr, dc_);
  }
  ScreenWithFont(const ScreenWithFont&) = delete;
  ScreenWithFont& operator=(const ScreenWithFont&) = delete;
  HDC Dc() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ original_;
};

}  // namespace

HFONT CreateTemplateFont(const DialogTemplate& dialogTemplate) {
  const HDC screen = GetDC(nullptr);
  const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  LOGFONTW font{};
  font.lfHeight = -MulDiv(dialogTemplate.fontPoints, pixelsPerInch, kPointsPerInch);
  font.lfCharSet = DEFAULT_CHARSET;
  const std::wstring face = Widen(dialogTemplate.fontFace != nullptr ? dialogTemplate.fontFace : "");
  face.copy(font.lfFaceName, LF_FACESIZE - 1);
  return CreateFontIndirectW(&font);
}

SIZE TextSizeInFont(HFONT font, std::wstring_view text, int maxWidth) {
  const ScreenWithFont screen(font);
  RECT bounds{0, 0, maxWidth, 0};
  DrawTextW(screen.Dc(), text.data(), static_cast<int>(text.size()), &bounds,
            DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  return SIZE{bounds.right - bounds.left, bounds.bottom - bounds.top};
}

native::Extent native::TemplateFontExtent(const DialogTemplate& dialogTemplate, std::string_view alphabet) {
  const HFONT font = CreateTemplateFont(dialogTemplate);
  Extent extent{};
  {
    const ScreenWithFont screen(font);
    const std::wstring wide = Widen(alphabet);
    SIZE size{};
    GetTextExtentPoint32W(screen.Dc(), wide.c_str(), static_cast<int>(wide.size()), &size);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen.Dc(), &metrics);
    extent = Extent{size.cx, metrics.tmHeight};
  }
  DeleteObject(font);
  return extent;
}
