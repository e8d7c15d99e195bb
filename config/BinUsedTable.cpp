#include "config/BinUsedTable.h"

BinUsedFlags binUsedTable{};

BinUsedFlags DeriveBinUsedTable(const ConfigRecord& record) {
  BinUsedFlags table{};
  for (int function = 1; function <= kFunctionCount; ++function) {
    for (const FunctionInts* triggers : {&record.triggerBin1, &record.triggerBin2, &record.triggerBin3}) {
      const std::int32_t bin = (*triggers)[function];
      if (bin >= 1 && bin <= kBinCount) table[bin - 1] = 1;
    }
  }
  return table;
}

void BuildBinUsedTable() { binUsedTable = DeriveBinUsedTable(configRecord); }
