// tqxscan: the monitor's detection over a recording, offline.
#include <iostream>
#include <string>
#include <vector>

#include "tools/tqxscan/ScanTool.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  return RunScanTool(arguments, std::cout, std::cerr);
}
