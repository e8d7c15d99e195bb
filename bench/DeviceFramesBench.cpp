// Building each command frame: the time per frame, and how many heap
// allocations building makes (none expected). Allocations are counted by
// replacing the global operator new in this executable.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

#include "device/AdcFrame.h"
#include "device/DacFrame.h"
#include "device/ExpanderFrames.h"

namespace {
std::atomic<std::uint64_t> allocationCount{0};
}

// GCC pairs the malloc below with the frees in the deletes only across the
// whole program; these are the matching pair.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
  allocationCount.fetch_add(1, std::memory_order_relaxed);
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

namespace {

// Runs build(shadow) once per iteration, with the shadow alternating between
// the two values the running system leaves, and reports allocations per frame.
template <typename Build>
void MeasureFrame(benchmark::State& state, Build build) {
  std::uint8_t shadow = 0xFB;
  const std::uint64_t allocationsBefore = allocationCount.load();
  for (auto _ : state) {
    auto frame = build(shadow);
    benchmark::DoNotOptimize(frame);
    shadow ^= 0x01;
  }
  const std::uint64_t allocations = allocationCount.load() - allocationsBefore;
  state.counters["allocations_per_frame"] =
      benchmark::Counter(static_cast<double>(allocations) / static_cast<double>(state.iterations()));
  if (allocations != 0) state.SkipWithError("building a frame allocated");
}

void BM_BuildAdcFrame(benchmark::State& state) {
  MeasureFrame(state, [](std::uint8_t shadow) { return BuildAdcFrame(shadow); });
}

void BM_BuildExpanderWriteFrame(benchmark::State& state) {
  MeasureFrame(state, [](std::uint8_t shadow) { return BuildExpanderWriteFrame(shadow, 0x06, 0xFF, 0xFE); });
}

void BM_BuildExpanderReadFrame(benchmark::State& state) {
  MeasureFrame(state, [](std::uint8_t shadow) { return BuildExpanderReadFrame(shadow, 0x06); });
}

void BM_BuildDacFrame(benchmark::State& state) {
  MeasureFrame(state, [](std::uint8_t shadow) { return BuildDacFrame(shadow, 1, VoltsToCode(2.5f)); });
}

}  // namespace

BENCHMARK(BM_BuildAdcFrame);
BENCHMARK(BM_BuildExpanderWriteFrame);
BENCHMARK(BM_BuildExpanderReadFrame);
BENCHMARK(BM_BuildDacFrame);

BENCHMARK_MAIN();
