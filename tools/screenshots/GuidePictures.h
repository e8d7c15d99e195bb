#pragma once
// Which of the guide's pictures this platform's windows give.
#include <string_view>

// The main window's picture, by name without its extension.
extern const std::string_view kMainWindowPicture;
// Whether the Function Setup dialog is pictured too.
extern const bool kFunctionSetupPictured;
