// Writes the program's icon as the PNG files a desktop menu shows, from the
// same data the window uses, so the menu's icon and the window's never
// disagree: tqxfft-16.png and tqxfft-32.png as drawn, tqxfft-48.png scaled up
// from the 32-pixel image (the icon has no 48-pixel drawing).
//   tqx-export-icon OUTPUT_FOLDER
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "PngFile.h"
#include "res/ProgramIcon.h"

namespace {

constexpr int kScaledSizePixels = 48;
constexpr int kScaleFromSizePixels = 32;

struct Image {
  int size = 0;
  std::vector<std::uint32_t> pixels;  // 0xAARRGGBB
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * size + x]; }
};

Image ImageOf(const IconImage& icon) {
  Image image{icon.size, {}};
  for (const std::uint8_t index : icon.pixels) image.pixels.push_back(icon.palette[index]);
  return image;
}

// Bilinear, between pixel centres, on colours weighted by their alpha so that
// a transparent neighbour's colour does not bleed into the edge.
Image ScaledUp(const Image& from, int size) {
  Image to{size, {}};
  const double step = static_cast<double>(from.size) / size;
  const auto sample = [&](double position, int& low, double& weight) {
    const double clamped = std::clamp(position, 0.0, from.size - 1.0);
    low = std::min(static_cast<int>(clamped), from.size - 2);
    weight = clamped - low;
  };
  for (int y = 0; y < size; ++y) {
    int y0 = 0;
    double wy = 0.0;
    sample((y + 0.5) * step - 0.5, y0, wy);
    for (int x = 0; x < size; ++x) {
      int x0 = 0;
      double wx = 0.0;
      sample((x + 0.5) * step - 0.5, x0, wx);
      std::array<double, 4> sum{};  // alpha, then red, green and blue times alpha
      for (const auto& [dx, dy, weight] : {std::tuple{0, 0, (1 - wx) * (1 - wy)}, std::tuple{1, 0, wx * (1 - wy)},
                                           std::tuple{0, 1, (1 - wx) * wy}, std::tuple{1, 1, wx * wy}}) {
        const std::uint32_t pixel = from.At(x0 + dx, y0 + dy);
        const double alpha = (pixel >> 24) / 255.0 * weight;
        sum[0] += alpha;
        for (int channel = 1; channel <= 3; ++channel) sum[channel] += (pixel >> (24 - 8 * channel) & 0xFF) * alpha;
      }
      std::uint32_t pixel = static_cast<std::uint32_t>(std::lround(sum[0] * 255.0)) << 24;
      for (int channel = 1; channel <= 3 && sum[0] > 0.0; ++channel) {
        pixel |= static_cast<std::uint32_t>(std::lround(sum[channel] / sum[0])) << (24 - 8 * channel);
      }
      to.pixels.push_back(pixel);
    }
  }
  return to;
}

bool Save(const Image& image, const std::filesystem::path& folder) {
  const std::filesystem::path file = folder / ("tqxfft-" + std::to_string(image.size) + ".png");
  if (WritePng(file, image.size, image.size, image.pixels, PngColours::RgbWithAlpha)) return true;
  std::fprintf(stderr, "tqx-export-icon: cannot write %s\n", file.string().c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: tqx-export-icon OUTPUT_FOLDER\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  bool saved = true;
  for (const IconImage& icon : ProgramIcon().images) {
    const Image image = ImageOf(icon);
    saved = Save(image, folder) && saved;
    if (icon.size == kScaleFromSizePixels) saved = Save(ScaledUp(image, kScaledSizePixels), folder) && saved;
  }
  return saved ? 0 : 1;
}
