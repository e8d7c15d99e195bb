#pragma once
// The font a template names, made as the dialog manager makes it: its face
// at its points for the screen's resolution.
#include <string_view>

#include "framework/dialog/DialogTemplate.h"
#include "framework/win32/native/NativeWindows.h"

// The caller deletes it.
HFONT CreateTemplateFont(const DialogTemplate& dialogTemplate);

// Pixels of the text laid out in the font, broken into lines no wider than
// maxWidth.
SIZE TextSizeInFont(HFONT font, std::wstring_view text, int maxWidth);

// A device context with a font selected, for measuring: the screen's for a
// null window.
class DcWithFont {
 public:
  DcWithFont(HWND window, HFONT font) : window_(window), dc_(GetDC(window)), original_(SelectObject(dc_, font)) {}
  ~DcWithFont() {
    SelectObject(dc_, original_);
    ReleaseDC(window_, dc_);
  }
  DcWithFont(const DcWithFont&) = delete;
  DcWithFont& operator=(const DcWithFont&) = delete;
  HDC Dc() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
  HGDIOBJ original_;
};

// Pixels the text spans on one line in the context's font.
int TextWidthIn(HDC dc, std::wstring_view text);
