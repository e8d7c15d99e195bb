// The driver library's entry points, as the simulated module exports them,
// and the extra TqxSimControl for tests. Everything else in the library is
// hidden. One source builds every variant of the library: a variant compiled
// with TQXSIM_OMIT_<entry point> lacks that one export, so that a monitor
// binding it meets a missing entry point. TQXSIM_EXPORT, how a name leaves
// the library on this platform, comes from CMakeLists.txt.
#include "device/DriverApi.h"
#include "sim/SimControl.h"
#include "sim/SimulatedModule.h"

namespace {
tqxsim::SimulatedModule& Module() { return tqxsim::SimulatedModule::Instance(); }
}  // namespace

TQXSIM_EXPORT tqxsim::SimControl* TqxSimControl() { return &Module(); }

#ifndef TQXSIM_OMIT_FT_Write
TQXSIM_EXPORT DriverStatus FT_Write(DriverHandle handle, const void* buffer, std::uint32_t n, std::uint32_t* written) {
  return Module().Write(handle, buffer, n, written);
}
#endif

#ifndef TQXSIM_OMIT_FT_Read
TQXSIM_EXPORT DriverStatus FT_Read(DriverHandle handle, void* buffer, std::uint32_t n, std::uint32_t* got) {
  return Module().Read(handle, buffer, n, got);
}
#endif

#ifndef TQXSIM_OMIT_FT_OpenEx
TQXSIM_EXPORT DriverStatus FT_OpenEx(void* argument, std::uint32_t flags, DriverHandle* handle) {
  return Module().OpenEx(argument, flags, handle);
}
#endif

#ifndef TQXSIM_OMIT_FT_Open
TQXSIM_EXPORT DriverStatus FT_Open(int deviceNumber, DriverHandle* handle) {
  return Module().Open(deviceNumber, handle);
}
#endif

#ifndef TQXSIM_OMIT_FT_ListDevices
TQXSIM_EXPORT DriverStatus FT_ListDevices(void* argument1, void* argument2, std::uint32_t flags) {
  return Module().ListDevices(argument1, argument2, flags);
}
#endif

#ifndef TQXSIM_OMIT_FT_Close
TQXSIM_EXPORT DriverStatus FT_Close(DriverHandle handle) { return Module().Close(handle); }
#endif

#ifndef TQXSIM_OMIT_FT_SetBitMode
TQXSIM_EXPORT DriverStatus FT_SetBitMode(DriverHandle handle, std::uint8_t mask, std::uint8_t mode) {
  return Module().SetBitMode(handle, mask, mode);
}
#endif

#ifndef TQXSIM_OMIT_FT_SetTimeouts
TQXSIM_EXPORT DriverStatus FT_SetTimeouts(DriverHandle handle, std::uint32_t readMs, std::uint32_t writeMs) {
  return Module().SetTimeouts(handle, readMs, writeMs);
}
#endif

#ifndef TQXSIM_OMIT_FT_GetQueueStatus
TQXSIM_EXPORT DriverStatus FT_GetQueueStatus(DriverHandle handle, std::uint32_t* count) {
  return Module().GetQueueStatus(handle, count);
}
#endif
