#include "DataFileFixture.h"

// The read-only attribute stops every user, so a save as a plain user runs in
// this process.
const bool kWindows = true;
bool RunsAsRoot() { return false; }
int ExitCodeAsPlainUser(const std::function<int()>& body) { return body(); }
