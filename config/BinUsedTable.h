#pragma once
// Which bins belong to some function: the flag of bin b (1 to 64) is element
// b - 1. The detection tick's Noisy mode hears only bins marked here.
#include <array>
#include <cstdint>

#include "config/ConfigRecord.h"

using BinUsedFlags = std::array<std::int32_t, kBinCount>;

// Marks every bin from 1 to 64 that is a trigger bin of a function 1 to 8;
// other trigger values (0 for an empty slot, negatives, 65 and up) mark nothing.
BinUsedFlags DeriveBinUsedTable(const ConfigRecord& record);

// Derives binUsedTable afresh from configRecord. The table is cleared first, so
// an accepted edit can derive it again while the program runs.
void BuildBinUsedTable();

// The process-wide table, all zero until BuildBinUsedTable runs.
extern BinUsedFlags binUsedTable;
