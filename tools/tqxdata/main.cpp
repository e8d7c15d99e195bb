// tqxdata: the monitor's data file as text, and back.
#include <iostream>
#include <string>
#include <vector>

#include "tools/CommandLine.h"
#include "tools/tqxdata/DataTool.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments = CommandLineArguments(argc, argv);
  return RunDataTool(arguments, std::cin, std::cout, std::cerr);
}
