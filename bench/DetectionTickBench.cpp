// The detection tick's decisions over bins 15 to 64, without a window or a
// device: a host whose copies and pumps do nothing, eight functions defined.
// Goal: well under 20 µs per tick.
#include <benchmark/benchmark.h>

#include "detect/StandaloneDetector.h"

namespace {

constexpr double kLoudDb = -9.0;

class QuietHost final : public DetectionHost {
 public:
  void SaveControls() override {}
  void LoadControlsAndUpdate() override {}
  void PumpOneMessage() override {}
};

// Eight functions on bins spread over the detected range, each with three
// trigger bins, so every heard bin is compared with all 24 fields.
ConfigRecord EightFunctions() {
  ConfigRecord record{};
  for (int function = 1; function <= kFunctionCount; ++function) {
    record.triggerBin1[function] = 15 + 6 * (function - 1);
    record.triggerBin2[function] = 16 + 6 * (function - 1);
    record.triggerBin3[function] = 17 + 6 * (function - 1);
    record.requiredCount[function] = 3;
  }
  return record;
}

struct TickBench {
  explicit TickBench(std::int32_t mode) : tick(host, EightFunctions(), mode) { tick.peakBin = 15; }

  void Tick() { benchmark::DoNotOptimize(tick.detector.DetectionTick()); }

  QuietHost host;
  StandaloneDetector tick;
};

// A tone in a used bin near the top: most of the scan finds nothing loud, the
// heard bin advances a function and the others' hit counters stay at 0.
void BM_NoisyTickHearingAToneInAUsedBin(benchmark::State& state) {
  TickBench bench(kNoisyEnvironment);
  bench.tick.levels[57 - 1] = kLoudDb;
  for (auto _ : state) bench.Tick();
}
BENCHMARK(BM_NoisyTickHearingAToneInAUsedBin);

// Every bin loud: only the lowest is heard, every other counter is examined.
void BM_NoisyTickWithEveryBinLoud(benchmark::State& state) {
  TickBench bench(kNoisyEnvironment);
  bench.tick.levels.fill(kLoudDb);
  for (auto _ : state) bench.Tick();
}
BENCHMARK(BM_NoisyTickWithEveryBinLoud);

// The peak alternates between two used bins, so hit counters fall and the
// function counts decay on every other tick.
void BM_QuietTickWithAMovingPeak(benchmark::State& state) {
  TickBench bench(1);
  std::int32_t bin = 20;
  for (auto _ : state) {
    bench.tick.peakBin = bin;
    bench.Tick();
    bin = bin == 20 ? 45 : 20;
  }
}
BENCHMARK(BM_QuietTickWithAMovingPeak);

}  // namespace

BENCHMARK_MAIN();
