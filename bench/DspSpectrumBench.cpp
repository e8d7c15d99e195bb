// ComputeSpectrum and the peak search beside FFTW's real-input transform with
// the same level conversion and peak search, on the same frame. Prints the
// median of repeated runs of each and their ratios to FFTW.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "DspSpectrumWorkloads.h"

namespace {

constexpr int kRepetitions = 21;
constexpr double kMinTimePerRepetitionS = 0.2;

SpectrumWorkloads& Workloads() {
  static SpectrumWorkloads workloads;
  return workloads;
}

void RegisterWorkload(const char* name, int (SpectrumWorkloads::*run)()) {
  benchmark::RegisterBenchmark(name, [run](benchmark::State& state) {
    SpectrumWorkloads& workloads = Workloads();
    for (auto _ : state) benchmark::DoNotOptimize((workloads.*run)());
  })
      ->MinTime(kMinTimePerRepetitionS)
      ->Repetitions(kRepetitions)
      ->ReportAggregatesOnly(true);
}

// Keeps the CPU-time medians as they are reported, for the closing ratios
// (CPU time: a thread preempted by other work on the machine does not count it).
class MedianCollector : public benchmark::ConsoleReporter {
 public:
  MedianCollector() : ConsoleReporter(OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        mediansNs[run.run_name.function_name] = run.GetAdjustedCPUTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> mediansNs;
};

}  // namespace

int main(int argc, char** argv) {
  // Repetitions of the three run in random order, so a burst of load from
  // elsewhere on the machine falls on all of them alike rather than on one.
  // Arguments given on the command line come later and take precedence.
  std::vector<char*> arguments(argv, argv + argc);
  char interleave[] = "--benchmark_enable_random_interleaving=true";
  arguments.insert(arguments.begin() + 1, interleave);
  argc = static_cast<int>(arguments.size());
  argv = arguments.data();

  RegisterWorkload("ComputeSpectrum+PeakSearch", &SpectrumWorkloads::RunComputeSpectrum);
  RegisterWorkload("StepByStepTransform+PeakSearch", &SpectrumWorkloads::RunStepByStep);
  RegisterWorkload("FftwRealPlan+Levels+PeakSearch", &SpectrumWorkloads::RunFftw);

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  MedianCollector reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  const auto fftw = reporter.mediansNs.find("FftwRealPlan+Levels+PeakSearch");
  if (fftw == reporter.mediansNs.end()) return 0;
  std::printf("\nCPU-time medians of %d runs, as multiples of FFTW's (%.1f ns):\n", kRepetitions, fftw->second);
  for (const auto& [name, medianNs] : reporter.mediansNs) {
    if (name != fftw->first) std::printf("  %-32s %8.1f ns  %.2fx\n", name.c_str(), medianNs, medianNs / fftw->second);
  }
  return 0;
}
