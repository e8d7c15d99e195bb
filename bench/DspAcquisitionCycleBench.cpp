// The acquisition worker on its own thread against the simulated module for a
// few seconds: cycles per second as a share of the physical limit
// 1 / (modelled frame time + 10 ms pause), the worker thread's CPU time as a
// share of the time it ran, and the heap allocations per cycle made by the
// monitor's own code (shims around the entry points set aside the driver
// library's, which stands in for the hardware). Then the monitor's own work in
// a cycle, measured apart on a device that answers at once.
//   dsp_cycle_bench [SECONDS]   (the simulated module must be first on the
//                                library search path: LD_LIBRARY_PATH=BUILD/sim/lib,
//                                under Wine WINEPATH=BUILD/sim/lib)
#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string_view>
#include <thread>
#include <utility>

#include "device/AdcFrame.h"
#include "device/DeviceCalls.h"
#include "device/LibraryHandle.h"
#include "device/SerialEngine.h"
#include "device/SharedBus.h"
#include "dsp/AcquisitionWorker.h"
#include "dsp/PeakSearch.h"
#include "framework/MessageBox.h"
#include "sim/SimControl.h"
#include "ThreadCpuTime.h"

namespace {

constexpr double kPauseBetweenCyclesS = 0.010;
constexpr int kToneBin = 30;
constexpr int kInstantCycles = 20000;

thread_local bool countingAllocations = false;
std::atomic<long> allocationsCounted{0};

// Allocations inside the driver library are the module's, not the monitor's.
class ModuleCall {
 public:
  ModuleCall() : wasCounting_(std::exchange(countingAllocations, false)) {}
  ~ModuleCall() { countingAllocations = wasCounting_; }
  ModuleCall(const ModuleCall&) = delete;
  ModuleCall& operator=(const ModuleCall&) = delete;

 private:
  bool wasCounting_;
};

FT_Write_t moduleWrite;
FT_Read_t moduleRead;
FT_GetQueueStatus_t moduleQueueStatus;

DriverStatus ShimWrite(DriverHandle handle, const void* buffer, std::uint32_t n, std::uint32_t* written) {
  ModuleCall call;
  return moduleWrite(handle, buffer, n, written);
}
DriverStatus ShimRead(DriverHandle handle, void* buffer, std::uint32_t n, std::uint32_t* got) {
  ModuleCall call;
  return moduleRead(handle, buffer, n, got);
}
DriverStatus ShimQueueStatus(DriverHandle handle, std::uint32_t* count) {
  ModuleCall call;
  return moduleQueueStatus(handle, count);
}

// A device that answers every frame at once with the same full reply.
std::array<std::uint8_t, kAdcReplyBytes> instantReply;

DriverStatus InstantWrite(DriverHandle, const void*, std::uint32_t n, std::uint32_t* written) {
  *written = n;
  return kDriverOk;
}
DriverStatus InstantRead(DriverHandle, void* buffer, std::uint32_t n, std::uint32_t* got) {
  *got = std::min<std::uint32_t>(n, kAdcReplyBytes);
  std::copy_n(instantReply.begin(), *got, static_cast<std::uint8_t*>(buffer));
  return kDriverOk;
}
DriverStatus InstantQueueStatus(DriverHandle, std::uint32_t* count) {
  *count = 0;
  return kDriverOk;
}

// The side door of the very library BindDriver loaded: a real driver library
// has none.
tqxsim::SimControl* SimulatedModuleControl(const LibraryHandle& library) {
  auto get = reinterpret_cast<tqxsim::TqxSimControlFunction>(library.FindSymbol("TqxSimControl"));
  return get == nullptr ? nullptr : get();
}

struct QuietHost : SerialEngineHost {
  void RefreshWindow() override {}
  void StartTickTimer() override {}
};

}  // namespace

void* operator new(std::size_t size) {
  if (countingAllocations) allocationsCounted.fetch_add(1);
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

int main(int argc, char** argv) {
  const double runSeconds = argc > 1 ? std::atof(argv[1]) : 3.0;
  SetMessageBoxHook([](std::string_view text) {
    std::fprintf(stderr, "message: %.*s\n", static_cast<int>(text.size()), text.data());
  });

  DriverTable table;
  tqxsim::SimControl* sim = BindDriver(table) == 0 ? SimulatedModuleControl(table.libraryHandle) : nullptr;
  if (sim == nullptr) {
    std::fprintf(stderr, "dsp_cycle_bench: the simulated module is not on the library search path "
                         "(run with LD_LIBRARY_PATH=BUILD/sim/lib, under Wine WINEPATH=BUILD/sim/lib)\n");
    return 1;
  }
  sim->ResetToPowerOn();
  sim->SetMessagesOnStderr(false);
  sim->SetBinToneInput(kToneBin, 1.0, 2.5);
  if (DeviceOpen(table, 0) != kDriverOk) return 1;
  QuietHost host;
  SetupSerialEngine(table, host);

  moduleWrite = std::exchange(table.FT_Write, ShimWrite);
  moduleRead = std::exchange(table.FT_Read, ShimRead);
  moduleQueueStatus = std::exchange(table.FT_GetQueueStatus, ShimQueueStatus);

  // One cycle first, so one-time set-up (the transform's tables, lazy symbol
  // binding) is not charged to the measured cycles.
  AcquisitionCycle(table);

  double workerCpuSeconds = 0.0;
  const std::uint64_t writesBefore = sim->WriteCount();
  const auto started = std::chrono::steady_clock::now();
  BusBusy.store(0);
  WorkerRunning.store(1);
  std::thread worker([&] {
    const double startCpuSeconds = ThreadCpuSeconds();
    countingAllocations = true;
    AcquisitionThreadProc(&table);
    countingAllocations = false;
    workerCpuSeconds = ThreadCpuSeconds() - startCpuSeconds;
  });
  std::this_thread::sleep_for(std::chrono::duration<double>(runSeconds));
  WorkerRunning.store(0);
  worker.join();
  const double elapsedSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  const auto cycles = static_cast<double>(sim->WriteCount() - writesBefore);
  const int peakBin = PeakBin.load();

  // The same cycle on a device that answers at once with the last frame's
  // samples as codes: what the monitor itself computes per cycle.
  for (std::size_t k = 0; k < kConversionsPerFrame; ++k) {
    const auto code = static_cast<unsigned>((Spectrum.samples[k] / 5.0) * 4095.0 + 0.5) << 3;
    instantReply[2 * k] = static_cast<std::uint8_t>(code >> 8);
    instantReply[2 * k + 1] = static_cast<std::uint8_t>(code);
  }
  CloseDeviceLink(table);
  DriverTable instant;
  instant.FT_Write = InstantWrite;
  instant.FT_Read = InstantRead;
  instant.FT_GetQueueStatus = InstantQueueStatus;
  const double instantStartCpuSeconds = ThreadCpuSeconds();
  for (int cycle = 0; cycle < kInstantCycles; ++cycle) AcquisitionCycle(instant);
  const double ownCpuSeconds = (ThreadCpuSeconds() - instantStartCpuSeconds) / kInstantCycles;

  const double limitPerSecond = 1.0 / (sim->AdcFrameSeconds() + kPauseBetweenCyclesS);
  const double cyclesPerSecond = cycles / elapsedSeconds;
  const double periodSeconds = elapsedSeconds / cycles;
  std::printf("Acquisition cycle against the simulated module: %.0f cycles in %.2f s, peak bin %d (tone at %d)\n",
              cycles, elapsedSeconds, peakBin, kToneBin);
  std::printf("  cycles per second            %8.2f     %.3f of the physical limit %.2f (%.1f ms frame + 10 ms)\n",
              cyclesPerSecond, cyclesPerSecond / limitPerSecond, limitPerSecond, sim->AdcFrameSeconds() * 1e3);
  std::printf("  worker thread CPU per cycle  %8.1f us  %.4f%% of the %.1f ms cycle, with the module's modelling\n",
              workerCpuSeconds / cycles * 1e6, workerCpuSeconds / elapsedSeconds * 100.0, periodSeconds * 1e3);
  std::printf("  the monitor's own work       %8.1f us  %.4f%% (frame, conversion, transform, peak, publication;\n"
              "                                                  peak bin %d on an instant device)\n",
              ownCpuSeconds * 1e6, ownCpuSeconds / periodSeconds * 100.0, CyclePeakBin);
  std::printf("  heap allocations per cycle   %8.2f     in the monitor's code\n",
              static_cast<double>(allocationsCounted.load()) / cycles);
  return 0;
}
