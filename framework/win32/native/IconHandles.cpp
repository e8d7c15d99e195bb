#include "framework/win32/native/IconHandles.h"

#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "framework/win32/native/IconPixels.h"

namespace {

// Word-aligned rows, as a bitmap made from bits wants them.
constexpr int kBitmapRowAlignment = 2;

HICON CreateIconFrom(const IconImage& image) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = image.size;
  info.bmiHeader.biHeight = -image.size;  // rows from the top, as the data holds them
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HBITMAP colour = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (colour == nullptr) return nullptr;
  // 0xAARRGGBB in memory order is the section's blue, green, red, alpha.
  const std::vector<std::uint32_t> pixels = ArgbPixels(image);
  std::memcpy(bits, pixels.data(), pixels.size() * sizeof(pixels[0]));

  const std::vector<std::uint8_t> maskBits = MaskBits(image, kBitmapRowAlignment);
  const HBITMAP mask = CreateBitmap(image.size, image.size, 1, 1, maskBits.data());

  ICONINFO iconInfo{};
  iconInfo.fIcon = TRUE;
  iconInfo.hbmMask = mask;
  iconInfo.hbmColor = colour;
  const HICON icon = CreateIconIndirect(&iconInfo);
  DeleteObject(colour);
  DeleteObject(mask);
  return icon;
}

}  // namespace

HICON IconHandle(const IconResource& icon, int size) {
  static std::map<std::pair<const IconResource*, int>, HICON> made;
  const auto key = std::make_pair(&icon, size);
  if (const auto found = made.find(key); found != made.end()) return found->second;
  const IconImage* image = ImageOfSize(icon, size);
  const HICON handle = image != nullptr ? CreateIconFrom(*image) : nullptr;
  made.emplace(key, handle);
  return handle;
}
