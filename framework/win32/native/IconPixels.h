#pragma once
// An icon image's pixels as the system's icon formats hold them, for the
// icons made at run time and for the icon file written at build time.
#include <cstdint>
#include <vector>

#include "framework/dialog/IconResource.h"

// 0xAARRGGBB per pixel, row by row from the top; an index outside the palette
// is transparent.
std::vector<std::uint32_t> ArgbPixels(const IconImage& image);

// The transparency mask, one bit per pixel (set where the pixel is fully
// transparent, most significant bit first), rows from the top, each padded to
// a multiple of rowAlignment bytes.
std::vector<std::uint8_t> MaskBits(const IconImage& image, int rowAlignment);
int MaskRowBytes(int size, int rowAlignment);

// The image of the given size, or the largest one when none has it; nullptr
// for an icon without images.
const IconImage* ImageOfSize(const IconResource& icon, int size);
