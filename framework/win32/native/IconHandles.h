#pragma once
// Icons of the registry's data as the system's icon handles. A window or an
// icon control only borrows the icon it shows, so each handle is made once
// and kept for the program's life. Window thread only.
#include "framework/dialog/IconResource.h"
#include "framework/win32/native/NativeWindows.h"

// The image of that size (or the largest) as an icon; nullptr for an icon
// without images.
HICON IconHandle(const IconResource& icon, int size);
