#pragma once
// The seven guarded calls through which every exchange with the device passes.
// Each returns the entry point's status unchanged (0 = success). A call whose
// entry point is not bound shows "<entry point> is not valid!", touches
// neither the device nor its out-arguments, and returns kMissingEntryStatus.
// They take no lock: keeping the two threads' exchanges apart is the bus's
// business (device/SharedBus.h). An entry point can only be unbound in a
// program whose BindDriver failed, which start-up ends at once; so the
// not-valid message is shown where it arises, even inside an exchange.
#include <cstdint>

#include "device/DriverTable.h"

inline constexpr DriverStatus kMissingEntryStatus = 1;

// Opens the device and stores its handle in table.deviceHandle.
DriverStatus DeviceOpen(DriverTable& table, int deviceNumber);
DriverStatus DeviceClose(DriverTable& table);
DriverStatus DeviceSetBitMode(DriverTable& table, std::uint8_t mask, std::uint8_t mode);
DriverStatus DeviceSetTimeouts(DriverTable& table, std::uint32_t readMs, std::uint32_t writeMs);
// count receives the number of bytes waiting in the receive queue.
DriverStatus DeviceGetQueueStatus(DriverTable& table, std::uint32_t* count);
// got receives the number of bytes actually read.
DriverStatus DeviceRead(DriverTable& table, void* buffer, std::uint32_t n, std::uint32_t* got);
// written receives the number of bytes accepted.
DriverStatus DeviceWrite(DriverTable& table, const void* buffer, std::uint32_t n, std::uint32_t* written);
