#include "PngFile.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <string_view>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t Crc32(std::string_view type, const Bytes& data) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> entries{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      entries[n] = c;
    }
    return entries;
  }();
  std::uint32_t crc = 0xFFFFFFFFu;
  const auto add = [&](std::uint8_t byte) { crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8); };
  for (const char c : type) add(static_cast<std::uint8_t>(c));
  for (const std::uint8_t byte : data) add(byte);
  return crc ^ 0xFFFFFFFFu;
}

std::uint32_t Adler32(const Bytes& data) {
  std::uint32_t a = 1, b = 0;
  for (const std::uint8_t byte : data) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

void PutBigEndian(Bytes& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

// Deflate's bit order: values least significant bit first, Huffman codes most
// significant bit first.
class BitWriter {
 public:
  explicit BitWriter(Bytes& out) : out_(out) {}
  void Bits(std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) Bit((value >> i) & 1);
  }
  void Code(std::uint32_t code, int length) {
    for (int i = length - 1; i >= 0; --i) Bit((code >> i) & 1);
  }
  void Flush() {
    if (used_ != 0) out_.push_back(current_);
    current_ = 0;
    used_ = 0;
  }

 private:
  void Bit(std::uint32_t bit) {
    current_ = static_cast<std::uint8_t>(current_ | (bit << used_));
    if (++used_ == 8) Flush();
  }
  Bytes& out_;
  std::uint8_t current_ = 0;
  int used_ = 0;
};

// The fixed Huffman code of a literal/length symbol.
void Symbol(BitWriter& bits, int symbol) {
  if (symbol < 144) {
    bits.Code(0x30 + symbol, 8);
  } else if (symbol < 256) {
    bits.Code(0x190 + symbol - 144, 9);
  } else if (symbol < 280) {
    bits.Code(symbol - 256, 7);
  } else {
    bits.Code(0xC0 + symbol - 280, 8);
  }
}

void Repeat(BitWriter& bits, int length) {
  static constexpr std::array<int, 29> kBase{3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                             31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
  static constexpr std::array<int, 29> kExtra{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                              2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
  int code = 28;
  while (kBase[code] > length) --code;
  Symbol(bits, 257 + code);
  bits.Bits(static_cast<std::uint32_t>(length - kBase[code]), kExtra[code]);
  bits.Code(0, 5);  // distance 1
}

// One fixed-code block; a run of a byte after the same byte is a repeat at
// distance 1.
Bytes Deflate(const Bytes& data) {
  Bytes out{0x78, 0x01};
  BitWriter bits(out);
  bits.Bits(1, 1);  // the last block
  bits.Bits(1, 2);  // fixed codes
  std::size_t i = 0;
  while (i < data.size()) {
    std::size_t run = 0;
    if (i > 0) {
      while (i + run < data.size() && run < 258 && data[i + run] == data[i - 1]) ++run;
    }
    if (run >= 3) {
      Repeat(bits, static_cast<int>(run));
      i += run;
    } else {
      Symbol(bits, data[i]);
      ++i;
    }
  }
  Symbol(bits, 256);
  bits.Flush();
  PutBigEndian(out, Adler32(data));
  return out;
}

Bytes FilteredRows(int width, int height, std::span<const std::uint32_t> pixels, std::size_t bytesPerPixel) {
  const std::size_t stride = static_cast<std::size_t>(width) * bytesPerPixel;
  Bytes rows;
  rows.reserve((stride + 1) * static_cast<std::size_t>(height));
  Bytes previous(stride, 0), current(stride), left(stride), up(stride);
  for (int y = 0; y < height; ++y) {
    for (std::size_t x = 0; x < static_cast<std::size_t>(width); ++x) {
      const std::uint32_t pixel = pixels[static_cast<std::size_t>(y) * width + x];
      std::uint8_t* out = &current[bytesPerPixel * x];
      out[0] = static_cast<std::uint8_t>(pixel >> 16);
      out[1] = static_cast<std::uint8_t>(pixel >> 8);
      out[2] = static_cast<std::uint8_t>(pixel);
      if (bytesPerPixel == 4) out[3] = static_cast<std::uint8_t>(pixel >> 24);
    }
    for (std::size_t k = 0; k < stride; ++k) {
      left[k] = static_cast<std::uint8_t>(current[k] - (k >= bytesPerPixel ? current[k - bytesPerPixel] : 0));
      up[k] = static_cast<std::uint8_t>(current[k] - previous[k]);
    }
    const bool useUp = std::count(up.begin(), up.end(), 0) > std::count(left.begin(), left.end(), 0);
    rows.push_back(useUp ? 2 : 1);
    rows.insert(rows.end(), useUp ? up.begin() : left.begin(), useUp ? up.end() : left.end());
    previous = current;
  }
  return rows;
}

void PutChunk(Bytes& file, std::string_view type, const Bytes& data) {
  PutBigEndian(file, static_cast<std::uint32_t>(data.size()));
  file.insert(file.end(), type.begin(), type.end());
  file.insert(file.end(), data.begin(), data.end());
  PutBigEndian(file, Crc32(type, data));
}

}  // namespace

bool WritePng(const std::filesystem::path& file, int width, int height, std::span<const std::uint32_t> pixels,
              PngColours colours) {
  if (width <= 0 || height <= 0 || pixels.size() != static_cast<std::size_t>(width) * height) return false;
  const bool alpha = colours == PngColours::RgbWithAlpha;
  Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes header;
  PutBigEndian(header, static_cast<std::uint32_t>(width));
  PutBigEndian(header, static_cast<std::uint32_t>(height));
  // 8 bits a channel, RGB (2) or RGB with alpha (6), no interlace.
  header.insert(header.end(), {8, static_cast<std::uint8_t>(alpha ? 6 : 2), 0, 0, 0});
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", Deflate(FilteredRows(width, height, pixels, alpha ? 4 : 3)));
  PutChunk(png, "IEND", {});
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  return static_cast<bool>(out.flush());
}
