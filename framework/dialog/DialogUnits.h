#pragma once
// Dialog units: a horizontal unit is a quarter of the dialog font's average
// character width, a vertical unit an eighth of its character height.
#include "framework/dialog/Rect.h"

// Pixels of four horizontal and of eight vertical dialog units.
struct DialogBaseUnits {
  int x;
  int y;
};

int HorizontalUnitsToPixels(const DialogBaseUnits& units, int dialogUnits);
int VerticalUnitsToPixels(const DialogBaseUnits& units, int dialogUnits);
// Each edge of the rectangle converted on its own axis.
CRect MapDialogUnits(const DialogBaseUnits& units, const CRect& dialogUnits);

// The classic average character width: the whole alphabet in both cases,
// divided by its 52 letters and rounded.
inline constexpr const char* kAverageWidthAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
int AverageWidthOfAlphabet(int alphabetWidthPx);
