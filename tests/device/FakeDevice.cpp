#include "FakeDevice.h"

#include <algorithm>

#include "device/SharedBus.h"

namespace {

FakeDevice& From(DriverHandle handle) { return *static_cast<FakeDevice*>(handle); }

DriverStatus Next(std::deque<DriverStatus>& statuses) {
  if (statuses.empty()) return kDriverOk;
  const DriverStatus status = statuses.front();
  statuses.pop_front();
  return status;
}

// Brackets a write or read: notes the bus and any overlap, and takes the
// scripted time outside the device's lock so another thread could slip in.
class Exchange {
 public:
  Exchange(FakeDevice& device, bool isWrite, std::size_t length) : device_(device) {
    std::lock_guard lock(device_.mutex);
    if (BusBusy.load() == 0) ++device_.exchangesWithoutBus;
    if (++device_.activeExchanges > 1) ++device_.overlappingExchanges;
    device_.exchanges.push_back({std::this_thread::get_id(), isWrite, length});
  }
  ~Exchange() {
    std::lock_guard lock(device_.mutex);
    --device_.activeExchanges;
  }
  void TakeTime() const {
    if (device_.exchangeTime.count() > 0) std::this_thread::sleep_for(device_.exchangeTime);
  }

 private:
  FakeDevice& device_;
};

extern "C" {

DriverStatus FakeOpenEx(void*, std::uint32_t, DriverHandle*) { return kDriverOk; }
DriverStatus FakeListDevices(void*, void*, std::uint32_t) { return kDriverOk; }
DriverStatus FakeOpen(int, DriverHandle*) { return kDriverOk; }

DriverStatus FakeClose(DriverHandle handle) {
  FakeDevice& device = From(handle);
  std::lock_guard lock(device.mutex);
  device.calls.push_back("Close");
  return kDriverOk;
}

DriverStatus FakeSetTimeouts(DriverHandle handle, std::uint32_t readMs, std::uint32_t writeMs) {
  FakeDevice& device = From(handle);
  std::lock_guard lock(device.mutex);
  device.calls.push_back("SetTimeouts " + std::to_string(readMs) + " " + std::to_string(writeMs));
  return kDriverOk;
}

DriverStatus FakeSetBitMode(DriverHandle handle, std::uint8_t mask, std::uint8_t mode) {
  FakeDevice& device = From(handle);
  std::lock_guard lock(device.mutex);
  device.calls.push_back("SetBitMode " + std::to_string(mask) + " " + std::to_string(mode));
  return device.bitModeStatus;
}

DriverStatus FakeGetQueueStatus(DriverHandle handle, std::uint32_t* count) {
  FakeDevice& device = From(handle);
  std::lock_guard lock(device.mutex);
  device.calls.push_back("GetQueueStatus");
  *count = static_cast<std::uint32_t>(device.receiveQueue.size());
  return device.queueStatusStatus;
}

DriverStatus FakeWrite(DriverHandle handle, const void* buffer, std::uint32_t n, std::uint32_t* written) {
  FakeDevice& device = From(handle);
  Exchange exchange(device, true, n);
  exchange.TakeTime();
  std::lock_guard lock(device.mutex);
  const auto* bytes = static_cast<const std::uint8_t*>(buffer);
  device.calls.push_back("Write " + std::to_string(n));
  device.writes.push_back({std::vector<std::uint8_t>(bytes, bytes + n), std::this_thread::get_id()});
  const DriverStatus status = Next(device.writeStatuses);
  if (status != kDriverOk) return status;
  *written = n;
  std::vector<std::uint8_t> reply;
  if (!device.replies.empty()) {
    reply = std::move(device.replies.front());
    device.replies.pop_front();
  } else if (device.replyTo) {
    reply = device.replyTo(device.writes.back().bytes);
  }
  device.receiveQueue.insert(device.receiveQueue.end(), reply.begin(), reply.end());
  return kDriverOk;
}

DriverStatus FakeRead(DriverHandle handle, void* buffer, std::uint32_t n, std::uint32_t* got) {
  FakeDevice& device = From(handle);
  Exchange exchange(device, false, n);
  exchange.TakeTime();
  std::lock_guard lock(device.mutex);
  device.calls.push_back("Read " + std::to_string(n));
  const DriverStatus status = Next(device.readStatuses);
  if (status != kDriverOk) return status;
  const std::size_t available = device.receiveQueue.size() > device.shortBy ? device.receiveQueue.size() - device.shortBy : 0;
  const std::size_t count = std::min<std::size_t>(n, available);
  auto* out = static_cast<std::uint8_t*>(buffer);
  std::copy_n(device.receiveQueue.begin(), count, out);
  device.receiveQueue.erase(device.receiveQueue.begin(), device.receiveQueue.begin() + static_cast<long>(count));
  *got = static_cast<std::uint32_t>(count);
  return kDriverOk;
}

}  // extern "C"

}  // namespace

std::vector<std::string> FakeDevice::Calls() const {
  std::lock_guard lock(mutex);
  return calls;
}

std::vector<FakeDevice::Write> FakeDevice::Writes() const {
  std::lock_guard lock(mutex);
  return writes;
}

std::vector<FakeDevice::ExchangeRecord> FakeDevice::Exchanges() const {
  std::lock_guard lock(mutex);
  return exchanges;
}

void AttachFake(DriverTable& table, FakeDevice& device) {
  table.deviceHandle = &device;
  table.FT_OpenEx = FakeOpenEx;
  table.FT_Open = FakeOpen;
  table.FT_ListDevices = FakeListDevices;
  table.FT_Close = FakeClose;
  table.FT_Read = FakeRead;
  table.FT_Write = FakeWrite;
  table.FT_SetBitMode = FakeSetBitMode;
  table.FT_SetTimeouts = FakeSetTimeouts;
  table.FT_GetQueueStatus = FakeGetQueueStatus;
}
