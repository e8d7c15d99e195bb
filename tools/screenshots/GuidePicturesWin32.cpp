#include "GuidePictures.h"

// The guide shows the main window on Windows beside the Linux one, and every
// other window once, from Linux.
const std::string_view kMainWindowPicture = "main-window-windows";
const bool kFunctionSetupPictured = false;
