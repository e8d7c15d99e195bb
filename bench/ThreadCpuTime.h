#pragma once
// CPU time the calling thread has used so far, in seconds, from each
// platform's own per-thread clock (ThreadCpuTimePosix.cpp, ThreadCpuTimeWin32.cpp).
double ThreadCpuSeconds();
