#pragma once
// A program of the tests' own started as a process of its own through the
// system's shell (cmd on Windows), and what it writes to standard output.
#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

// The shell's command line that starts `program` with `libraryDirectory` as
// its library search path: ProbeCommandPosix.cpp (through the build's
// emulator on a cross build, TQX_CHILD_RUNNER) or ProbeCommandWin32.cpp,
// compiled into the test that starts the probe.
std::string ProbeCommandLine(const std::filesystem::path& program, const std::filesystem::path& libraryDirectory);

struct ProbeRun {
  std::vector<std::string> lines;  // without their line ends
  // As pclose gives it: on POSIX, for WIFEXITED and WEXITSTATUS; -1 when the
  // process could not be started.
  int status = -1;
};

inline ProbeRun RunProbeProcess(const std::string& commandLine) {
  ProbeRun run;
  FILE* pipe = popen(commandLine.c_str(), "r");
  if (pipe == nullptr) return run;
  std::array<char, 512> line;
  while (std::fgets(line.data(), line.size(), pipe) != nullptr) {
    std::string text(line.data());
    if (!text.empty() && text.back() == '\n') text.pop_back();
    run.lines.push_back(text);
  }
  run.status = pclose(pipe);
  return run;
}
