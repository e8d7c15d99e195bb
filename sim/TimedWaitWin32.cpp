#include "sim/TimedWait.h"

namespace tqxsim {

// The Windows thread library rounds a timed wait up to whole milliseconds,
// which would make every modelled frame late by up to two of them (the write
// and the read each wait once): a simulated module noticeably slower than the
// real one. The last stretch before the moment is spent yielding instead.
const std::chrono::milliseconds kCoarseWaitSlack{2};

}  // namespace tqxsim
