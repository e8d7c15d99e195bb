#pragma once
// The font a template names, made as the dialog manager makes it: its face
// at its points for the screen's resolution.
#include <string_view>

#include "framework/DialogTemplate.h"
#include "framework/win32/NativeWindows.h"

// The caller deletes it.
HFONT CreateTemplateFont(const DialogTemplate& dialogTemplate);

// Pixels of the text laid out in the font, broken into lines no wider than
// maxWidth.
SIZE TextSizeInFont(HFONT font, std::wstring_view text, int maxWidth);
