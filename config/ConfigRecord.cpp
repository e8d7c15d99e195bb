#include "config/ConfigRecord.h"

#include <algorithm>
#include <cstring>

ConfigRecord configRecord{};

std::string FunctionNameText(const ConfigRecord& record, int function) {
  const auto& slot = record.functionName[function];
  const auto end = std::find(slot.begin(), slot.end(), '\0');
  return std::string(slot.begin(), end);
}

void StoreFunctionName(ConfigRecord& record, int function, std::string_view name) {
  auto& slot = record.functionName[function];
  const std::size_t length = std::min<std::size_t>(name.size(), kNameSlotBytes - 1);
  std::memcpy(slot.data(), name.data(), length);
  slot[length] = '\0';
}
