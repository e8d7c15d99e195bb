#include "framework/win32/native/DialogFont.h"

#include <string>

#include "framework/win32/native/Latin1.h"
#include "framework/win32/Native.h"

namespace {

constexpr int kPointsPerInch = 72;

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
  const DcWithFont screen(nullptr, font);
  RECT bounds{0, 0, maxWidth, 0};
  DrawTextW(screen.Dc(), text.data(), static_cast<int>(text.size()), &bounds,
            DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  return SIZE{bounds.right - bounds.left, bounds.bottom - bounds.top};
}

native::Extent native::TemplateFontExtent(const DialogTemplate& dialogTemplate, std::string_view alphabet) {
  const HFONT font = CreateTemplateFont(dialogTemplate);
  Extent extent{};
  {
    const DcWithFont screen(nullptr, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen.Dc(), &metrics);
    extent = Extent{TextWidthIn(screen.Dc(), Widen(alphabet)), metrics.tmHeight};
  }
  DeleteObject(font);
  return extent;
}

int TextWidthIn(HDC dc, std::wstring_view text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
  return size.cx;
}
