#pragma once
// The few parts of Google Benchmark that the benchmarks here use, for builds
// where the library is missing (Debian has none for mingw-w64), so that each
// benchmark's source is the same on every platform. Each benchmark is run with
// a growing iteration count, as the library does, until one run lasts at least
// half a second; that run's wall time and thread CPU time per iteration are
// printed, with its counters.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ThreadCpuTime.h"

namespace benchmark {

// Makes the compiler treat the value as read and written through memory, so
// the work that produced it is not optimised away.
template <typename T>
inline void DoNotOptimize(T& value) {
  asm volatile("" : "+m"(value) : : "memory");
}
template <typename T>
inline void DoNotOptimize(const T& value) {
  asm volatile("" : : "m"(value) : "memory");
}

struct Counter {
  // Implicit, as the library's is.
  Counter(double counted = 0.0) : value(counted) {}
  double value;
};

class State {
 public:
  struct __attribute__((unused)) Value {};

  // The loop's only cost per iteration is a decrement and a test, as in the
  // library; the clocks are read once before and once after.
  class Iterator {
   public:
    Iterator(State* state, std::int64_t remaining) : state_(state), remaining_(remaining) {}
    Value operator*() const { return {}; }
    Iterator& operator++() {
      --remaining_;
      return *this;
    }
    bool operator!=(const Iterator&) {
      if (remaining_ != 0) return true;
      state_->Stop();
      return false;
    }

   private:
    State* state_;
    std::int64_t remaining_;
  };

  explicit State(std::int64_t iterations) : iterations_(iterations) {}
  Iterator begin() {
    startedCpu_ = ThreadCpuSeconds();
    started_ = std::chrono::steady_clock::now();
    return {this, iterations_};
  }
  Iterator end() { return {this, 0}; }

  std::int64_t iterations() const { return iterations_; }
  void SkipWithError(const char* message) { error_ = message; }

  std::map<std::string, Counter> counters;

  double WallSeconds() const { return wallSeconds_; }
  double CpuSeconds() const { return cpuSeconds_; }
  const std::string& Error() const { return error_; }

 private:
  void Stop() {
    wallSeconds_ = std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
    cpuSeconds_ = ThreadCpuSeconds() - startedCpu_;
  }

  std::int64_t iterations_;
  std::chrono::steady_clock::time_point started_;
  double startedCpu_ = 0.0;
  double wallSeconds_ = 0.0;
  double cpuSeconds_ = 0.0;
  std::string error_;
};

namespace internal {

using Function = void (*)(State&);

inline std::vector<std::pair<const char*, Function>>& Registered() {
  static std::vector<std::pair<const char*, Function>> benchmarks;
  return benchmarks;
}

inline bool Register(const char* name, Function function) {
  Registered().emplace_back(name, function);
  return true;
}

inline void PrintTime(double seconds) {
  if (seconds < 10e-6) {
    std::printf(" %10.2f ns", seconds * 1e9);
  } else {
    std::printf(" %10.2f us", seconds * 1e6);
  }
}

inline int RunAll() {
  constexpr double kMinimumSeconds = 0.5;
  constexpr std::int64_t kMostIterations = 1'000'000'000;
  std::printf("%-44s %13s %13s %12s   (stand-in runner: no Google Benchmark in this build)\n", "Benchmark", "Time",
              "CPU", "Iterations");
  for (const auto& [name, function] : Registered()) {
    std::int64_t iterations = 1;
    for (;;) {
      State state(iterations);
      function(state);
      if (!state.Error().empty()) {
        std::printf("%-44s ERROR OCCURRED: '%s'\n", name, state.Error().c_str());
        break;
      }
      if (state.WallSeconds() >= kMinimumSeconds || iterations >= kMostIterations) {
        const auto n = static_cast<double>(iterations);
        std::printf("%-44s", name);
        PrintTime(state.WallSeconds() / n);
        PrintTime(state.CpuSeconds() / n);
        std::printf(" %12lld", static_cast<long long>(iterations));
        for (const auto& [counter, value] : state.counters) std::printf(" %s=%g", counter.c_str(), value.value);
        std::printf("\n");
        break;
      }
      // Aim a little past the minimum, growing at most tenfold per step.
      const double share = state.WallSeconds() / kMinimumSeconds;
      const double growth = share > 0.1 ? std::clamp(1.4 / share, 2.0, 10.0) : 10.0;
      iterations = std::min(kMostIterations,
                            std::max(iterations + 1, static_cast<std::int64_t>(static_cast<double>(iterations) * growth)));
    }
  }
  std::fflush(stdout);
  return 0;
}

}  // namespace internal
}  // namespace benchmark

#define TQX_BENCHMARK_CONCAT2(a, b) a##b
#define TQX_BENCHMARK_CONCAT(a, b) TQX_BENCHMARK_CONCAT2(a, b)
#define BENCHMARK(function)                                                          \
  [[maybe_unused]] static const bool TQX_BENCHMARK_CONCAT(benchmarkRegistered, __LINE__) = \
      ::benchmark::internal::Register(#function, function)
// The trailing declaration takes the semicolon written after the macro.
#define BENCHMARK_MAIN()                                    \
  int main(int, char**) { return ::benchmark::internal::RunAll(); } \
  int main(int, char**)
