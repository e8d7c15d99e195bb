#include "framework/win32/native/IconPixels.h"

#include <cstddef>

std::vector<std::uint32_t> ArgbPixels(const IconImage& image) {
  const std::size_t count = static_cast<std::size_t>(image.size) * image.size;
  std::vector<std::uint32_t> pixels(count, 0);
  for (std::size_t i = 0; i < count && i < image.pixels.size(); ++i) {
    const std::uint8_t index = image.pixels[i];
    if (index < image.palette.size()) pixels[i] = image.palette[index];
  }
  return pixels;
}

int MaskRowBytes(int size, int rowAlignment) {
  const int bytes = (size + 7) / 8;
  return (bytes + rowAlignment - 1) / rowAlignment * rowAlignment;
}

std::vector<std::uint8_t> MaskBits(const IconImage& image, int rowAlignment) {
  const int rowBytes = MaskRowBytes(image.size, rowAlignment);
  std::vector<std::uint8_t> mask(static_cast<std::size_t>(rowBytes) * image.size, 0);
  const std::vector<std::uint32_t> pixels = ArgbPixels(image);
  for (int y = 0; y < image.size; ++y) {
    for (int x = 0; x < image.size; ++x) {
      if ((pixels[static_cast<std::size_t>(y) * image.size + x] >> 24) != 0) continue;
      mask[static_cast<std::size_t>(y) * rowBytes + x / 8] |= static_cast<std::uint8_t>(0x80u >> (x % 8));
    }
  }
  return mask;
}

const IconImage* ImageOfSize(const IconResource& icon, int size) {
  if (icon.images.empty()) return nullptr;
  for (const IconImage& image : icon.images) {
    if (image.size == size) return &image;
  }
  return &icon.images.front();
}
