#include "framework/dialog/WindowPlacement.h"

#include <algorithm>

// The end is kept inside first, so that the start wins when it does not fit.
int PlaceAlongAxis(int length, int overFrom, int overTo, int areaFrom, int areaTo) {
  const int centred = overFrom + (overTo - overFrom - length) / 2;
  return std::max(areaFrom, std::min(centred, areaTo - length));
}
