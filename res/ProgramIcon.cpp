#include "res/ProgramIcon.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "res/ResourceIds.h"

namespace {

// The pictures are drawn in characters; each character stands for the palette
// entry at its place in kLegend.
constexpr std::string_view kLegend = ".#:-gGrR";
constexpr std::uint32_t kPalette[] = {
    0xFF101830,  // .  background, blue-black
    0xFF506080,  // #  frame, slate
    0xFF28344C,  // :  grid dots, just above the background
    0xFFB0B8C8,  // -  baseline, light grey
    0xFF20A050,  // g  level bar, green
    0xFF70E090,  // G  top of a level bar
    0xFFD02020,  // r  peak bar, red
    0xFFFF7070,  // R  top of the peak bar
};
static_assert(std::size(kPalette) == kLegend.size());
static_assert(std::size(kPalette) <= 16, "a 16-colour image has at most 16 palette entries");

constexpr const char* kLargeRows[32] = {
    "################################",
    "#..............................#",
    "#..............................#",
    "#..............................#",
    "#..............................#",
    "#..............RR..............#",
    "#..............rr..............#",
    "#.:.:.:.:.:.:.:rr.:.:.:.:.:.:..#",
    "#..............rr..............#",
    "#..............rr..............#",
    "#..............rr..............#",
    "#..............rr..............#",
    "#..............rr..............#",
    "#..............rr..............#",
    "#.:.:.:.:.:.:.:rr.:.:.:.:.:.:..#",
    "#..............rr..............#",
    "#..............rr..............#",
    "#..............rr..............#",
    "#..............rr..............#",
    "#...........GG.rr..............#",
    "#...........gg.rr.GG...........#",
    "#.:.:.:.:.:.gg:rr.gg:.:.:.:.:..#",
    "#........GG.gg.rr.gg.......GG..#",
    "#..GG....gg.gg.rr.gg.GG....gg..#",
    "#..gg.GG.gg.gg.rr.gg.gg.GG.gg..#",
    "#..gg.gg.gg.gg.rr.gg.gg.gg.gg..#",
    "#..gg.gg.gg.gg.rr.gg.gg.gg.gg..#",
    "#.----------------------------.#",
    "#..............................#",
    "#..............................#",
    "#..............................#",
    "################################",
};

constexpr const char* kSmallRows[16] = {
    "################",
    "#..............#",
    "#..............#",
    "#......RR......#",
    "#.:.:.:rr.:.:..#",
    "#......rr......#",
    "#......rr......#",
    "#......rr......#",
    "#.:.:.:rr.:.:..#",
    "#...G..rr......#",
    "#...g..rr..G...#",
    "#.G.g..rr..g.G.#",
    "#.g.g..rr..g.g.#",
    "#.------------.#",
    "#..............#",
    "################",
};

// Turns a picture into palette indices, row by row from the top; a row of the
// wrong length or an unknown character stops the build.
template <std::size_t Size>
consteval std::array<std::uint8_t, Size * Size> PixelsFromRows(const char* const (&rows)[Size]) {
  std::array<std::uint8_t, Size * Size> pixels{};
  for (std::size_t y = 0; y < Size; ++y) {
    const std::string_view row = rows[y];
    if (row.size() != Size) throw "icon row of the wrong length";
    for (std::size_t x = 0; x < Size; ++x) {
      const std::size_t index = kLegend.find(row[x]);
      if (index == std::string_view::npos) throw "icon pixel not in the legend";
      pixels[y * Size + x] = static_cast<std::uint8_t>(index);
    }
  }
  return pixels;
}

constexpr auto kLargePixels = PixelsFromRows(kLargeRows);
constexpr auto kSmallPixels = PixelsFromRows(kSmallRows);

constexpr IconImage kImages[] = {
    {32, kPalette, kLargePixels},
    {16, kPalette, kSmallPixels},
};

constexpr IconResource kProgramIcon{IDI_PROGRAM_ICON, kImages};

}  // namespace

const IconResource& ProgramIcon() { return kProgramIcon; }
