// Writes the program's icon as the PNG files a desktop menu shows, from the
// same data the window uses, so the menu's icon and the window's never
// disagree: tqxfft-16.png and tqxfft-32.png as drawn, tqxfft-48.png scaled up
// from the 32-pixel image (the icon has no 48-pixel drawing).
//   tqx-export-icon OUTPUT_FOLDER
#include <QImage>
#include <QString>

#include <cstdio>
#include <filesystem>

#include "res/ProgramIcon.h"

namespace {

constexpr int kScaledSizePixels = 48;
constexpr int kScaleFromSizePixels = 32;

QImage ImageOf(const IconImage& icon) {
  QImage image(icon.size, icon.size, QImage::Format_ARGB32);
  for (int y = 0; y < icon.size; ++y) {
    for (int x = 0; x < icon.size; ++x) {
      image.setPixel(x, y, icon.palette[icon.pixels[static_cast<std::size_t>(y * icon.size + x)]]);
    }
  }
  return image;
}

bool Save(const QImage& image, const std::filesystem::path& folder) {
  const std::filesystem::path file = folder / ("tqxfft-" + std::to_string(image.width()) + ".png");
  if (image.save(QString::fromStdString(file.string()), "PNG")) return true;
  std::fprintf(stderr, "tqx-export-icon: cannot write %s\n", file.c_str());
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
    const QImage image = ImageOf(icon);
    saved = Save(image, folder) && saved;
    if (icon.size == kScaleFromSizePixels) {
      saved = Save(image.scaled(kScaledSizePixels, kScaledSizePixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
                   folder) && saved;
    }
  }
  return saved ? 0 : 1;
}
