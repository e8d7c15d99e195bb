#include <windows.h>

#include <cstdint>

#include "ThreadCpuTime.h"

double ThreadCpuSeconds() {
  FILETIME created{}, exited{}, kernel{}, user{};
  if (GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user) == 0) return 0.0;
  const auto ticks = [](const FILETIME& time) {
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  };
  // FILETIME counts in units of 100 ns.
  return static_cast<double>(ticks(kernel) + ticks(user)) * 100e-9;
}
