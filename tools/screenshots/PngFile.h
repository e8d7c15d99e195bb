#pragma once
// Writes a grabbed picture as a PNG file without an image library (the Windows
// cross build has none), compressed well enough for the flat colours of a
// window: each row filtered against its left or upper neighbour, whichever
// leaves more zero bytes, and runs of equal bytes deflated as repeats.
#include <filesystem>

#include "support/DialogDriver.h"

bool WritePng(const std::filesystem::path& file, const ClientPicture& picture);
