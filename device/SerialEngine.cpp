#include "device/SerialEngine.h"

#include <array>
#include <cstdint>

#include "device/DeviceCalls.h"
#include "device/LowByteLines.h"
#include "device/SharedBus.h"
#include "framework/MessageBox.h"

namespace {

// A reply that has not arrived within this time is short; the ADC frame's own
// exchange takes about 31 ms.
constexpr std::uint32_t kReadTimeoutMs = 50;
constexpr std::uint32_t kWriteTimeoutMs = 50;

constexpr std::uint8_t kNoMask = 0x00;
constexpr std::uint8_t kSerialEngineMode = 0x02;
constexpr std::uint8_t kResetMode = 0x00;

}  // namespace

void SetupSerialEngine(DriverTable& table, SerialEngineHost& host) {
  if (!DeviceLinkOpen(table)) return;
  DeviceSetTimeouts(table, kReadTimeoutMs, kWriteTimeoutMs);
  if (DeviceSetBitMode(table, kNoMask, kSerialEngineMode) != kDriverOk) {
    AfxMessageBox("Error enabling MPSSE!");
    host.RefreshWindow();
    return;
  }
  host.RefreshWindow();

  GpioLowShadow.store(low_byte::kIdleLevels);
  const std::array<std::uint8_t, 3> idleLines{low_byte::kSetLines, low_byte::kIdleLevels, low_byte::kDriveData};
  std::uint32_t written = 0;
  // Not under the bus: set-up runs before the acquisition worker exists.
  if (DeviceWrite(table, idleLines.data(), idleLines.size(), &written) != kDriverOk) {
    AfxMessageBox("Error initializing Low-Byte I/O lines.");
    return;
  }
  host.StartTickTimer();
}

bool DrainReceiveQueue(DriverTable& table) {
  if (!DeviceLinkOpen(table)) return false;
  std::uint32_t waiting = 0;
  if (DeviceGetQueueStatus(table, &waiting) != kDriverOk) return false;
  while (waiting != 0) {
    std::uint8_t discarded = 0;
    std::uint32_t got = 0;
    if (DeviceRead(table, &discarded, 1, &got) != kDriverOk) return false;
    if (DeviceGetQueueStatus(table, &waiting) != kDriverOk) return false;
  }
  return true;
}

void CloseDeviceLink(DriverTable& table) {
  if (!DeviceLinkOpen(table)) return;
  // Once the bus is ours no exchange is in flight, and every exchange that
  // takes the bus after us finds the link closed; so the reset and the close
  // below can run without the bus, and a not-valid message they might show
  // cannot leave the bus held under a message box's loop.
  AcquireBus();
  table.linkClosed.store(true, std::memory_order_release);
  ReleaseBus();

  DeviceSetBitMode(table, kNoMask, kResetMode);
  DeviceClose(table);
}
