#pragma once
// The program's three window templates, as data: every control with its id,
// kind, caption, place and size in dialog units and styles, in creation order
// (which is also the tab order and decides where each radio group ends).
#include "framework/dialog/DialogTemplate.h"

// Template 102, the monitor's main window "TQX FFT V1.1".
const DialogTemplate& MainWindowTemplate();

// Template 100, the About box.
const DialogTemplate& AboutBoxTemplate();

// Template 129, the Function Setup dialog (its caption is replaced when it opens).
const DialogTemplate& FunctionSetupTemplate();
