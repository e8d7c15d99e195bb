#pragma once
// The framework's rectangle, in a header of its own: it names nothing that the
// Windows API also declares, so the Win32 backend's native files may see it.
#include <cstdint>

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
