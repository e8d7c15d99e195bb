#pragma once
// How the simulated module waits for a moment on this platform.
#include <chrono>

namespace tqxsim {

// The last stretch of a timed wait that is spent yielding instead of waiting,
// where the platform's timed waits end late.
extern const std::chrono::milliseconds kCoarseWaitSlack;

}  // namespace tqxsim
