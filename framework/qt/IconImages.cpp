// Icon resources as the toolkit's images.
#include "framework/qt/IconImages.h"

QImage ToImage(const IconImage& image) {
  QImage result(image.size, image.size, QImage::Format_ARGB32);
  result.fill(Qt::transparent);
  const std::size_t pixelCount = static_cast<std::size_t>(image.size) * image.size;
  for (std::size_t i = 0; i < pixelCount && i < image.pixels.size(); ++i) {
    const std::uint8_t index = image.pixels[i];
    if (index >= image.palette.size()) continue;  // a broken index stays transparent
    result.setPixel(static_cast<int>(i % image.size), static_cast<int>(i / image.size),
                    image.palette[index]);
  }
  return result;
}

QImage ImageOfSize(const IconResource& icon, int size) {
  if (icon.images.empty()) return QImage();
  for (const IconImage& image : icon.images) {
    if (image.size == size) return ToImage(image);
  }
  return ToImage(icon.images.front());
}

QIcon ToIcon(const IconResource& icon) {
  QIcon result;
  for (const IconImage& image : icon.images) result.addPixmap(QPixmap::fromImage(ToImage(image)));
  return result;
}
