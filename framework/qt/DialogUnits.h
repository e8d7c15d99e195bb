#pragma once
// The dialog font and its base units on the toolkit.
#include <QFont>
#include <QRect>

#include "framework/dialog/DialogTemplate.h"
#include "framework/dialog/DialogUnits.h"

// The template's face and size; a face the system lacks (the templates name
// one that only another platform has) falls back to the system's sans font.
QFont DialogFontOf(const DialogTemplate& dialogTemplate);
DialogBaseUnits BaseUnitsOf(const QFont& font);

// A control's place: origin and size in dialog units, converted each on its own.
QRect MapDialogUnits(const DialogBaseUnits& units, int x, int y, int cx, int cy);
