#pragma once
// Small value types shared by the dialog framework and the window classes.
#include <cstdint>

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

// A rectangle in client pixels; right and bottom lie just outside it.
struct CRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  constexpr std::int32_t Width() const { return right - left; }
  constexpr std::int32_t Height() const { return bottom - top; }
  friend constexpr bool operator==(const CRect&, const CRect&) = default;
};
