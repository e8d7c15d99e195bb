#pragma once
// The driver library's entry points, declared by us: C linkage, a 32-bit
// unsigned status (0 = success, every other value a failure), and an opaque
// device handle. The real library and the simulated module both export them
// under these names, from a shared library found by its plain name.
#include <cstdint>

extern "C" {

using DriverStatus = std::uint32_t;
using DriverHandle = void*;

inline constexpr DriverStatus kDriverOk = 0;

// The driver library's plain file name on this system (libftd2xx.so, or
// Ftd2xx.dll on Windows): the build names it once, for this and for the
// simulated module's file.
inline constexpr const char* kDriverLibraryName = TQX_DRIVER_LIBRARY_FILE;

// Bound but never called; their arguments are passed through untouched.
using FT_OpenEx_t = DriverStatus (*)(void* arg, std::uint32_t flags, DriverHandle* handle);
using FT_ListDevices_t = DriverStatus (*)(void* arg1, void* arg2, std::uint32_t flags);

using FT_Open_t = DriverStatus (*)(int deviceNumber, DriverHandle* handle);
using FT_Close_t = DriverStatus (*)(DriverHandle handle);
// got receives the number of bytes actually read.
using FT_Read_t = DriverStatus (*)(DriverHandle handle, void* buffer, std::uint32_t n, std::uint32_t* got);
// written receives the number of bytes accepted.
using FT_Write_t = DriverStatus (*)(DriverHandle handle, const void* buffer, std::uint32_t n,
                                    std::uint32_t* written);
// mode 0x02 puts the device into its serial-engine mode, 0x00 resets it.
using FT_SetBitMode_t = DriverStatus (*)(DriverHandle handle, std::uint8_t mask, std::uint8_t mode);
using FT_SetTimeouts_t = DriverStatus (*)(DriverHandle handle, std::uint32_t readMs, std::uint32_t writeMs);
// count receives the number of bytes waiting in the receive queue.
using FT_GetQueueStatus_t = DriverStatus (*)(DriverHandle handle, std::uint32_t* count);

}  // extern "C"
