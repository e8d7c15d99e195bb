// The arguments are the bytes the shell passed, UTF-8 on any current system.
#include "tools/CommandLine.h"

std::vector<std::string> CommandLineArguments(int argc, char** argv) { return {argv + 1, argv + argc}; }
