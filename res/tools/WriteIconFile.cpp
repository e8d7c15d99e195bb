// Writes the program's icon as an icon file, for the Windows resource script:
// the file manager and the task bar read the program's icon from the .exe's
// resources, never from the window. Besides the drawn images the file holds
// the larger ones the shell asks for on high-DPI screens and in its large
// views, scaled up from a drawn image by a whole factor, so the pixels stay
// sharp. Usage: write_icon_file OUTPUT.ico
#include <cstdint>
#include <fstream>
#include <iostream>
#include <vector>

#include "framework/win32/native/IconPixels.h"
#include "res/ProgramIcon.h"

namespace {

constexpr int kDirectorySize = 6;
constexpr int kEntrySize = 16;
constexpr int kBitmapHeaderSize = 40;
constexpr int kMaskRowAlignment = 4;  // bytes: the file's rows end on four-byte boundaries

struct ScaledImage {
  int size;
  int drawnSize;  // a divisor of size
};
// Largest first, as the file lists them; the drawn images follow.
constexpr ScaledImage kScaledImages[] = {{256, 32}, {48, 16}};

// A drawn image with its pixels repeated factor times in each direction; the
// palette stays the drawn image's.
struct OwnedImage {
  std::vector<std::uint8_t> pixels;
  IconImage image;
};

OwnedImage ScaledUp(const IconImage& drawn, int size) {
  const int factor = size / drawn.size;
  OwnedImage scaled{std::vector<std::uint8_t>(static_cast<std::size_t>(size) * size), {}};
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      scaled.pixels[static_cast<std::size_t>(y) * size + x] =
          drawn.pixels[static_cast<std::size_t>(y / factor) * drawn.size + x / factor];
    }
  }
  scaled.image = IconImage{size, drawn.palette, scaled.pixels};
  return scaled;
}

// The scaled images, then the drawn ones.
std::vector<OwnedImage> FileImages(const IconResource& icon) {
  std::vector<OwnedImage> images;
  for (const ScaledImage& wanted : kScaledImages) {
    const IconImage* drawn = ImageOfSize(icon, wanted.drawnSize);
    if (drawn != nullptr && drawn->size == wanted.drawnSize) images.push_back(ScaledUp(*drawn, wanted.size));
  }
  for (const IconImage& drawn : icon.images) images.push_back(OwnedImage{{}, drawn});
  return images;
}

class LittleEndian {
 public:
  void U8(std::uint32_t value) { bytes_.push_back(static_cast<char>(value & 0xFF)); }
  void U16(std::uint32_t value) {
    U8(value);
    U8(value >> 8);
  }
  void U32(std::uint32_t value) {
    U16(value & 0xFFFF);
    U16(value >> 16);
  }
  void Append(const std::vector<char>& bytes) { bytes_.insert(bytes_.end(), bytes.begin(), bytes.end()); }
  const std::vector<char>& Bytes() const { return bytes_; }

 private:
  std::vector<char> bytes_;
};

// One image as the file holds it: a bitmap header of twice the height (colour
// and mask), the colour rows from the bottom, the mask rows from the bottom.
std::vector<char> ImageData(const IconImage& image) {
  const std::vector<std::uint32_t> pixels = ArgbPixels(image);
  const std::vector<std::uint8_t> mask = MaskBits(image, kMaskRowAlignment);
  const int maskRowBytes = MaskRowBytes(image.size, kMaskRowAlignment);
  LittleEndian data;
  data.U32(kBitmapHeaderSize);
  data.U32(static_cast<std::uint32_t>(image.size));
  data.U32(static_cast<std::uint32_t>(image.size * 2));
  data.U16(1);   // planes
  data.U16(32);  // bits per pixel
  data.U32(0);   // uncompressed
  data.U32(static_cast<std::uint32_t>(pixels.size() * 4 + mask.size()));
  for (int unused = 0; unused < 4; ++unused) data.U32(0);  // resolution and palette: none
  for (int y = image.size - 1; y >= 0; --y) {
    for (int x = 0; x < image.size; ++x) data.U32(pixels[static_cast<std::size_t>(y) * image.size + x]);
  }
  for (int y = image.size - 1; y >= 0; --y) {
    for (int i = 0; i < maskRowBytes; ++i) data.U8(mask[static_cast<std::size_t>(y) * maskRowBytes + i]);
  }
  return data.Bytes();
}

std::vector<char> IconFile(const std::vector<OwnedImage>& icon) {
  std::vector<std::vector<char>> images;
  for (const OwnedImage& image : icon) images.push_back(ImageData(image.image));
  LittleEndian file;
  file.U16(0);
  file.U16(1);  // an icon, not a cursor
  file.U16(static_cast<std::uint32_t>(images.size()));
  std::uint32_t offset = kDirectorySize + kEntrySize * static_cast<std::uint32_t>(images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    const int size = icon[i].image.size;
    file.U8(size >= 256 ? 0 : size);  // 0 stands for 256
    file.U8(size >= 256 ? 0 : size);
    file.U8(0);  // no palette
    file.U8(0);
    file.U16(1);
    file.U16(32);
    file.U32(static_cast<std::uint32_t>(images[i].size()));
    file.U32(offset);
    offset += static_cast<std::uint32_t>(images[i].size());
  }
  for (const std::vector<char>& image : images) file.Append(image);
  return file.Bytes();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: write_icon_file OUTPUT.ico\n";
    return 2;
  }
  const std::vector<char> bytes = IconFile(FileImages(ProgramIcon()));
  std::ofstream out(argv[1], std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    std::cerr << "write_icon_file: cannot write " << argv[1] << '\n';
    return 1;
  }
  return 0;
}
