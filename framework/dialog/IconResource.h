#pragma once
// An icon resource held as data: one or more square images, each a palette of
// colours and one palette index per pixel, row by row from the top.
#include <cstdint>
#include <span>

struct IconImage {
  int size;                               // width and height in pixels
  std::span<const std::uint32_t> palette; // 0xAARRGGBB
  std::span<const std::uint8_t> pixels;   // size * size palette indices
};

struct IconResource {
  int id;
  std::span<const IconImage> images;      // largest first
};

// Icons by resource id, for the Icon controls of templates. The resource is
// kept by reference, so it must live as long as the program (static data).
// Registering an id again replaces the earlier icon.
void RegisterIconResource(const IconResource& icon);
// nullptr when no icon has that id.
const IconResource* FindIconResource(int id);
