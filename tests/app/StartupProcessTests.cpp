// The whole program started as a process of its own: with the simulated
// module, without any driver library, with each entry point missing, and with
// a device that cannot be opened.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/ProbeProcess.h"
#include "support/ScratchFolder.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

constexpr const char* kDriverLoadFailure = "Error  loading the DLL drivers.  Program will now terminate";

struct Outcome {
  int exitCode = -1;
  bool ranToTheEnd = false;  // the window closed and the application returned
  std::vector<std::string> messages;
  std::vector<std::string> otherLines;  // standard error, when asked for
};

// The window system the monitor is started with: offscreen, as every test
// runs, or none at all, as over SSH.
constexpr const char* kOffscreen = "QT_QPA_PLATFORM=offscreen";
constexpr const char* kNoDisplay = "QT_QPA_PLATFORM= DISPLAY= WAYLAND_DISPLAY=";

Outcome RunMonitor(const std::filesystem::path& libraryDirectory, const std::string& argument = "",
                   const std::string& windowSystem = kOffscreen) {
  const ScratchFolder workDirectory("tqx-startup-probe");
  const std::string command = "cd '" + workDirectory.Path().string() + "' && " + windowSystem + " " +
                              ProbeCommandLine(TQX_STARTUP_PROBE, libraryDirectory) + " " + argument +
                              (windowSystem == kOffscreen ? " 2>/dev/null" : " 2>&1");
  const ProbeRun run = RunProbeProcess(command);
  Outcome outcome;
  for (const std::string& text : run.lines) {
    if (text.starts_with("message ")) outcome.messages.push_back(text.substr(8));
    if (text == "ended") outcome.ranToTheEnd = true;
    if (!text.starts_with("message ") && text != "ended") outcome.otherLines.push_back(text);
  }
  if (WIFEXITED(run.status)) outcome.exitCode = WEXITSTATUS(run.status);
  return outcome;
}

TEST(StartUpProcess, RunsOnTheSimulatedModuleAndClosesWithExitCodeZero) {
  const Outcome outcome = RunMonitor(TQX_SIM_DIR);
  EXPECT_THAT(outcome.messages, IsEmpty());
  EXPECT_TRUE(outcome.ranToTheEnd);
  EXPECT_EQ(outcome.exitCode, 0);
}

TEST(StartUpProcess, WithoutADisplayItSaysSoInOneLineAndEndsBeforeTouchingTheModule) {
  const Outcome outcome = RunMonitor(TQX_SIM_DIR, "", kNoDisplay);
  EXPECT_THAT(outcome.messages, IsEmpty());
  EXPECT_NE(outcome.exitCode, 0);
  ASSERT_EQ(outcome.otherLines.size(), 1u);
  EXPECT_THAT(outcome.otherLines[0], ::testing::AllOf(::testing::HasSubstr("no display"),
                                                       ::testing::HasSubstr("xvfb-run")));
}

TEST(StartUpProcess, WithoutADriverLibraryShowsOneMessageAndEndsWithZero) {
  const ScratchFolder empty("tqx-startup-no-library");
  const Outcome outcome = RunMonitor(empty.Path());
  EXPECT_THAT(outcome.messages, ElementsAre(kDriverLoadFailure));
  EXPECT_FALSE(outcome.ranToTheEnd);
  EXPECT_EQ(outcome.exitCode, 0);
}

TEST(StartUpProcess, AMissingEntryPointIsNamedBeforeTheProgramEnds) {
  for (const char* name : {"FT_Write", "FT_Read", "FT_OpenEx", "FT_Open", "FT_ListDevices", "FT_Close",
                           "FT_SetBitMode", "FT_SetTimeouts", "FT_GetQueueStatus"}) {
    const Outcome outcome = RunMonitor(std::filesystem::path(TQX_SIM_VARIANTS_DIR) / ("no_" + std::string(name)));
    EXPECT_THAT(outcome.messages, ElementsAre("Error: Can't Find " + std::string(name), kDriverLoadFailure))
        << name;
    EXPECT_FALSE(outcome.ranToTheEnd) << name;
    EXPECT_EQ(outcome.exitCode, 0) << name;
  }
}

TEST(StartUpProcess, ADeviceThatCannotBeOpenedEndsTheProgramWithZero) {
  const Outcome outcome = RunMonitor(TQX_SIM_DIR, "--open-fails");
  EXPECT_THAT(outcome.messages, ElementsAre("Error: Could not open a device. Program will now terminate."));
  EXPECT_FALSE(outcome.ranToTheEnd);
  EXPECT_EQ(outcome.exitCode, 0);
}

}  // namespace
