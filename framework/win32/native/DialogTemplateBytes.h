#pragma once
// Templates in the memory layout that the system's dialog functions read: the
// dialog's header with its styles, caption and font, then one item per
// control in creation order, each on a four-byte boundary.
#include <cstdint>
#include <vector>

#include "framework/dialog/DialogTemplate.h"

// Words, so that the memory starts on the boundary the layout needs.
std::vector<std::uint16_t> DialogTemplateWords(const DialogTemplate& dialogTemplate);
