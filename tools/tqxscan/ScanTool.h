#pragma once
// The tqxscan command line: the monitor's pipeline over a recording with
// the functions of a data file, or with --tones the tones it holds. Kept
// apart from main() so tests run it and read what it prints.
#include <iosfwd>
#include <span>
#include <string>

// arguments: what follows the program's name. Returns the exit status: 0 the
// scan ran, 1 the recording or a data file will not do, 2 a wrong command
// line. showProgress: err is a terminal, where a long scan's progress is
// drawn.
int RunScanTool(std::span<const std::string> arguments, std::ostream& out, std::ostream& err,
                bool showProgress = false);
