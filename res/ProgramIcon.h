#pragma once
// Icon resource 128, the program's icon: a small spectrum with one tall red
// peak. The main window uses it as its large and small icon, the About box
// shows it.
#include "framework/dialog/IconResource.h"

// Its two images, 32 x 32 and 16 x 16 pixels, each in at most 16 colours.
const IconResource& ProgramIcon();
