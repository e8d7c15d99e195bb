#include "ModuleAtTheBus.h"

#include <algorithm>

#include "device/LibraryHandle.h"

namespace {

template <typename Function>
Function Bound(const LibraryHandle& library, const char* name) {
  return reinterpret_cast<Function>(library.FindSymbol(name));
}

}  // namespace

const SimulatedDriver& LoadSimulatedDriver() {
  static const SimulatedDriver driver = [] {
    const LibraryHandle library = LibraryHandle::Load(kDriverLibraryName);
    if (!library.IsLoaded()) return SimulatedDriver{};
    return SimulatedDriver{
        Bound<FT_Write_t>(library, "FT_Write"),
        Bound<FT_Read_t>(library, "FT_Read"),
        Bound<FT_OpenEx_t>(library, "FT_OpenEx"),
        Bound<FT_Open_t>(library, "FT_Open"),
        Bound<FT_ListDevices_t>(library, "FT_ListDevices"),
        Bound<FT_Close_t>(library, "FT_Close"),
        Bound<FT_SetBitMode_t>(library, "FT_SetBitMode"),
        Bound<FT_SetTimeouts_t>(library, "FT_SetTimeouts"),
        Bound<FT_GetQueueStatus_t>(library, "FT_GetQueueStatus"),
        Bound<tqxsim::TqxSimControlFunction>(library, "TqxSimControl")(),
    };
  }();
  if (driver.control == nullptr) {
    ADD_FAILURE() << kDriverLibraryName << " is not on the library search path";
    std::abort();
  }
  return driver;
}

void ModuleAtTheBus::SetUp() {
  sim.ResetToPowerOn();
  sim.SetMessagesOnStderr(false);
  ASSERT_EQ(driver.open(0, &handle), kDriverOk);
  ASSERT_EQ(driver.setTimeouts(handle, kReadTimeoutMs, kReadTimeoutMs), kDriverOk);
  ASSERT_EQ(driver.setBitMode(handle, 0x00, kSerialEngineMode), kDriverOk);
}

void ModuleAtTheBus::TearDown() {
  if (sim.IsOpen()) driver.close(handle);
}

void ModuleAtTheBus::Send(const std::vector<std::uint8_t>& frame) {
  std::uint32_t written = 0;
  ASSERT_EQ(driver.write(handle, frame.data(), static_cast<std::uint32_t>(frame.size()), &written), kDriverOk);
  ASSERT_EQ(written, frame.size());
}

std::vector<std::uint8_t> ModuleAtTheBus::Receive(std::uint32_t n) {
  std::vector<std::uint8_t> reply(n);
  std::uint32_t got = 0;
  EXPECT_EQ(driver.read(handle, reply.data(), n, &got), kDriverOk);
  reply.resize(got);
  return reply;
}

std::uint32_t ModuleAtTheBus::QueuedBytes() {
  std::uint32_t count = 0;
  EXPECT_EQ(driver.getQueueStatus(handle, &count), kDriverOk);
  return count;
}

bool ModuleAtTheBus::SaidLine(const std::string& line) {
  const std::vector<std::string> messages = sim.RecentMessages();
  return std::find(messages.begin(), messages.end(), line) != messages.end();
}
