#pragma once
// What the window thread and the acquisition worker share on the one device:
// the bus flag that gives the device to one thread for one exchange, and the
// levels last commanded on the serial engine's eight low-byte lines.
#include <atomic>
#include <cstdint>

#include "device/DriverTable.h"

// 0 = the device is free, 1 = one thread is in an exchange.
extern std::atomic<std::int32_t> BusBusy;

// The value last commanded on the eight low-byte lines (device/LowByteLines.h
// names their roles). Each frame builder starts from it and the operation
// stores the builder's final line value back before sending the frame.
extern std::atomic<std::uint8_t> GpioLowShadow;

// Waits, sleeping 2 ms between looks, until the bus is free, and takes it in
// one indivisible test-and-set.
void AcquireBus();
void ReleaseBus();

// False once CloseDeviceLink has closed the table's device.
bool DeviceLinkOpen(const DriverTable& table);

// AcquireBus for one exchange with the table's device. Returns false, without
// holding the bus, when the link was closed while this thread waited: the
// close takes the bus itself, so an exchange that gets the bus after it sees
// the link closed and never reaches the closed device.
bool AcquireBusForExchange(const DriverTable& table);
