#pragma once
// Where a dialog's window opens, in screen pixels: over the middle of its
// owner's window, or of the work area of its screen when it has no owner,
// then moved back inside that work area wherever it would reach out of it (a
// window larger than the area keeps its top-left corner, and so its title,
// on screen). Each backend reads the frames and applies the result; plain
// numbers, so the code that talks to the window system can use it as well.

// One axis at a time: where a window `length` long starts, centred on
// [overFrom, overTo) and kept within [areaFrom, areaTo).
int PlaceAlongAxis(int length, int overFrom, int overTo, int areaFrom, int areaTo);
