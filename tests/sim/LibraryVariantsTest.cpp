// The library's build variants, each lacking exactly one entry point, so that
// binding the driver can meet every missing name.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "device/LibraryHandle.h"

namespace {

constexpr std::array<const char*, 9> kEntryPoints{"FT_Write",      "FT_Read",        "FT_OpenEx",
                                                  "FT_Open",       "FT_ListDevices", "FT_Close",
                                                  "FT_SetBitMode", "FT_SetTimeouts", "FT_GetQueueStatus"};

TEST(LibraryVariants, EachLacksItsOwnEntryPointAndKeepsTheOthersAndTheSideDoor) {
  for (const char* missing : kEntryPoints) {
    const std::string path = std::string(TQXSIM_VARIANTS_DIR) + "/no_" + missing + "/" TQXSIM_LIBRARY_FILE;
    const LibraryHandle library = LibraryHandle::Load(path.c_str());
    ASSERT_TRUE(library.IsLoaded()) << "cannot load " << path;
    for (const char* name : kEntryPoints) {
      EXPECT_EQ(library.FindSymbol(name) == nullptr, std::string(name) == missing) << path << ": " << name;
    }
    EXPECT_NE(library.FindSymbol("TqxSimControl"), nullptr) << path;
  }
}

TEST(LibraryVariants, TheFullLibraryExportsNothingButTheEntryPointsAndTheSideDoor) {
  const LibraryHandle library = LibraryHandle::Load(TQXSIM_LIBRARY_PATH);
  ASSERT_TRUE(library.IsLoaded()) << "cannot load " << TQXSIM_LIBRARY_PATH;
  for (const char* name : kEntryPoints) EXPECT_NE(library.FindSymbol(name), nullptr) << name;
  EXPECT_EQ(library.FindSymbol("_ZN6tqxsim15SimulatedModule8InstanceEv"), nullptr) << "internals must stay hidden";
}

}  // namespace
