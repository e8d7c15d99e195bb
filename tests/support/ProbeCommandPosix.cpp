#include "support/ProbeProcess.h"

std::string ProbeCommandLine(const std::filesystem::path& program, const std::filesystem::path& libraryDirectory) {
  return "LD_LIBRARY_PATH='" + libraryDirectory.string() + "' " TQX_CHILD_RUNNER "'" + program.string() + "'";
}
