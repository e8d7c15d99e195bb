#include "sim/TimedWait.h"

namespace tqxsim {

// A timed wait here ends within microseconds of its moment.
const std::chrono::milliseconds kCoarseWaitSlack{0};

}  // namespace tqxsim
