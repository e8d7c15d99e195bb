#pragma once
// `tqxscan --tones`: the tones a recording holds, and with --define or a data
// file the functions that answer them, replayed over the same recording.
#include <iosfwd>

#include "tools/tqxscan/ScanInput.h"

// Returns the exit status, as RunScanTool does.
int RunToneTool(const ScanRequest& request, std::ostream& out, std::ostream& err, bool showProgress);
