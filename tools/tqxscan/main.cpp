// tqxscan: the monitor's detection over a recording, offline.
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "tools/CommandLine.h"
#include "tools/tqxscan/ScanTool.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments = CommandLineArguments(argc, argv);
  // Progress is drawn on a terminal only, never into a pipe or a file.
  return RunScanTool(arguments, std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1);
}
