#include "support/ProbeProcess.h"

#include <stdlib.h>

// Windows searches the probe's own folder, the system's, then PATH, which the
// probe takes from this process.
std::string ProbeCommandLine(const std::filesystem::path& program, const std::filesystem::path& libraryDirectory) {
  _putenv_s("PATH", std::filesystem::absolute(libraryDirectory).make_preferred().string().c_str());
  // popen runs the command through cmd, which takes off the outer quotes.
  return "\"\"" + std::filesystem::absolute(program).make_preferred().string() + "\"\"";
}
