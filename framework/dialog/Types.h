#pragma once
// Small value types shared by the dialog framework and the window classes.
#include <cstdint>

#include "framework/dialog/Rect.h"

// Results of a modal dialog.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// Control id of labels and other controls nobody addresses.
inline constexpr int IDC_STATIC = -1;

// System-menu command that closes the window.
inline constexpr unsigned SC_CLOSE = 0xF060;

// Notifications a control sends to its dialog.
enum class Notification { Clicked, Changed };

using COLORREF = std::uint32_t;
constexpr COLORREF RGB(int r, int g, int b) {
  return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF c) { return c & 0xFF; }
constexpr int GetGValue(COLORREF c) { return (c >> 8) & 0xFF; }
constexpr int GetBValue(COLORREF c) { return (c >> 16) & 0xFF; }
