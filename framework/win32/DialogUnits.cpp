#include "framework/dialog/DialogWindow.h"
#include "framework/win32/Native.h"

DialogBaseUnits TemplateBaseUnits(const DialogTemplate& dialogTemplate) {
  const native::Extent extent = native::TemplateFontExtent(dialogTemplate, kAverageWidthAlphabet);
  return DialogBaseUnits{AverageWidthOfAlphabet(extent.x), extent.y};
}
