#pragma once
// CPU time the calling thread has used so far, in seconds, from each
// platform's own per-thread clock.
#include <cstdint>

#if defined(_WIN32)
#include <windows.h>

inline double ThreadCpuSeconds() {
  FILETIME created{}, exited{}, kernel{}, user{};
  if (GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user) == 0) return 0.0;
  const auto ticks = [](const FILETIME& time) {
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  };
  // FILETIME counts in units of 100 ns.
  return static_cast<double>(ticks(kernel) + ticks(user)) * 100e-9;
}
#else
#include <time.h>

inline double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}
#endif
