#pragma once
// Icon resources turned into the toolkit's images.
#include <QIcon>
#include <QImage>

#include "framework/dialog/IconResource.h"

QImage ToImage(const IconImage& image);
// The image of the given size, or the largest one when none has it; an icon
// without images gives a null image.
QImage ImageOfSize(const IconResource& icon, int size);
// All images of the icon, so the window system can pick the size it needs.
QIcon ToIcon(const IconResource& icon);
