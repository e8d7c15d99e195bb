#include "device/SharedBus.h"

#include <chrono>
#include <thread>

std::atomic<std::int32_t> BusBusy{0};
std::atomic<std::uint8_t> GpioLowShadow{0};

namespace {
constexpr std::chrono::milliseconds kBusPollInterval{2};
}

void AcquireBus() {
  while (BusBusy.exchange(1, std::memory_order_acquire) != 0) {
    std::this_thread::sleep_for(kBusPollInterval);
  }
}

void ReleaseBus() { BusBusy.store(0, std::memory_order_release); }

bool DeviceLinkOpen(const DriverTable& table) { return !table.linkClosed.load(std::memory_order_acquire); }

bool AcquireBusForExchange(const DriverTable& table) {
  AcquireBus();
  if (DeviceLinkOpen(table)) return true;
  ReleaseBus();
  return false;
}
