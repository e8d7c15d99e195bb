// BindDriver against the simulated module's library and its variants that
// each lack one entry point, every case in a process of its own.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/ProbeProcess.h"
#include "support/ScratchFolder.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAreArray;

namespace {

struct ProbeOutcome {
  int result = -1;
  std::vector<std::string> messages;
  std::vector<std::string> bound;
};

ProbeOutcome RunProbe(const std::filesystem::path& libraryDirectory) {
  ProbeOutcome outcome;
  for (const std::string& text : RunProbeProcess(ProbeCommandLine(TQX_BINDING_PROBE, libraryDirectory)).lines) {
    if (text.starts_with("result ")) outcome.result = std::stoi(text.substr(7));
    if (text.starts_with("message ")) outcome.messages.push_back(text.substr(8));
    if (text.starts_with("bound ")) outcome.bound.push_back(text.substr(6));
  }
  return outcome;
}

// The lookup order, which decides what is bound before the first gap.
const std::vector<std::string> kLookupOrder = {"FT_Write",       "FT_Read",  "FT_OpenEx",
                                               "FT_Open",        "FT_ListDevices", "FT_Close",
                                               "FT_SetBitMode", "FT_SetTimeouts", "FT_GetQueueStatus"};

TEST(DriverBinding, BindsAllNineEntryPointsOfACompleteLibrary) {
  const ProbeOutcome outcome = RunProbe(TQX_SIM_DIR);
  EXPECT_EQ(outcome.result, 0);
  EXPECT_THAT(outcome.messages, IsEmpty());
  EXPECT_THAT(outcome.bound, UnorderedElementsAreArray(kLookupOrder));
}

TEST(DriverBinding, AMissingLibraryFailsWithoutAMessageOfItsOwn) {
  const ScratchFolder empty("tqx-no-driver-library");
  const ProbeOutcome outcome = RunProbe(empty.Path());
  EXPECT_EQ(outcome.result, 1);
  EXPECT_THAT(outcome.messages, IsEmpty());
  EXPECT_THAT(outcome.bound, IsEmpty());
}

TEST(DriverBinding, EachMissingEntryPointIsReportedAndTheLookupsStopThere) {
  for (std::size_t missing = 0; missing < kLookupOrder.size(); ++missing) {
    const std::string& name = kLookupOrder[missing];
    const ProbeOutcome outcome = RunProbe(std::filesystem::path(TQX_SIM_VARIANTS_DIR) / ("no_" + name));
    EXPECT_EQ(outcome.result, 1) << name;
    EXPECT_THAT(outcome.messages, ElementsAre("Error: Can't Find " + name)) << name;
    const std::vector<std::string> before(kLookupOrder.begin(), kLookupOrder.begin() + static_cast<long>(missing));
    EXPECT_THAT(outcome.bound, UnorderedElementsAreArray(before)) << name;
  }
}

}  // namespace
