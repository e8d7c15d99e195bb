#pragma once
// Dialog units: a horizontal unit is a quarter of the dialog font's average
// character width, a vertical unit an eighth of its character height.
#include <QFont>
#include <QRect>

#include "framework/DialogTemplate.h"

// Pixels of four horizontal and of eight vertical dialog units.
struct DialogBaseUnits {
  int x;
  int y;
};

// The template's face and size; a face the system lacks (the templates name
// one that only another platform has) falls back to the system's sans font.
QFont DialogFontOf(const DialogTemplate& dialogTemplate);
DialogBaseUnits BaseUnitsOf(const QFont& font);

int HorizontalUnitsToPixels(const DialogBaseUnits& units, int dialogUnits);
int VerticalUnitsToPixels(const DialogBaseUnits& units, int dialogUnits);
QRect MapDialogUnits(const DialogBaseUnits& units, int x, int y, int cx, int cy);
