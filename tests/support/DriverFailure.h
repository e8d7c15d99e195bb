#pragma once
// What the dialog driver does when the windows are not as a script expects
// (no such control, a modal dialog still open at its time-out). The driver
// links no test framework, so that programs other than tests can drive the
// windows too: the test main makes each report a failure of the running test,
// the screenshot program a message and a failed run. Until a handler is set,
// reports go to standard error.
#include <functional>
#include <string>

using DriverFailureHandler = std::function<void(const std::string& what)>;

// Set once, on the window thread, before the first window.
void SetDriverFailureHandler(DriverFailureHandler handler);

// Called by the backends' drivers, on the window thread.
void ReportDriverFailure(const std::string& what);
