#pragma once
// Writes a picture as a PNG file without an image library (the Windows cross
// build has none), compressed well enough for the flat colours of a window or
// an icon: each row filtered against its left or upper neighbour, whichever
// leaves more zero bytes, and runs of equal bytes deflated as repeats.
#include <cstdint>
#include <filesystem>
#include <span>

// Whether the file keeps the pixels' alpha (an icon's transparent corners) or
// only their colours (a window's picture).
enum class PngColours { Rgb, RgbWithAlpha };

// `pixels` are 0xAARRGGBB, width * height of them, row by row from the top.
bool WritePng(const std::filesystem::path& file, int width, int height, std::span<const std::uint32_t> pixels,
              PngColours colours);
