#include "device/DeviceCalls.h"

#include <string_view>

#include "framework/MessageBox.h"

namespace {

template <typename Entry, typename... Arguments>
DriverStatus CallIfBound(Entry entry, std::string_view missingMessage, Arguments... arguments) {
  if (entry == nullptr) {
    AfxMessageBox(missingMessage);
    return kMissingEntryStatus;
  }
  return entry(arguments...);
}

}  // namespace

DriverStatus DeviceOpen(DriverTable& table, int deviceNumber) {
  return CallIfBound(table.FT_Open, "FT_Open is not valid!", deviceNumber, &table.deviceHandle);
}

DriverStatus DeviceClose(DriverTable& table) {
  return CallIfBound(table.FT_Close, "FT_Close is not valid!", table.deviceHandle);
}

DriverStatus DeviceSetBitMode(DriverTable& table, std::uint8_t mask, std::uint8_t mode) {
  return CallIfBound(table.FT_SetBitMode, "FT_SetBitMode is not valid!", table.deviceHandle, mask, mode);
}

DriverStatus DeviceSetTimeouts(DriverTable& table, std::uint32_t readMs, std::uint32_t writeMs) {
  return CallIfBound(table.FT_SetTimeouts, "FT_SetTimeouts is not valid!", table.deviceHandle, readMs, writeMs);
}

DriverStatus DeviceGetQueueStatus(DriverTable& table, std::uint32_t* count) {
  return CallIfBound(table.FT_GetQueueStatus, "FT_GetQueueStatus is not valid!", table.deviceHandle, count);
}

DriverStatus DeviceRead(DriverTable& table, void* buffer, std::uint32_t n, std::uint32_t* got) {
  return CallIfBound(table.FT_Read, "FT_Read is not valid!", table.deviceHandle, buffer, n, got);
}

DriverStatus DeviceWrite(DriverTable& table, const void* buffer, std::uint32_t n, std::uint32_t* written) {
  return CallIfBound(table.FT_Write, "FT_Write is not valid!", table.deviceHandle, buffer, n, written);
}
