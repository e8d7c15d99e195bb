#include "GuidePictures.h"

const std::string_view kMainWindowPicture = "main-window";
const bool kFunctionSetupPictured = true;
