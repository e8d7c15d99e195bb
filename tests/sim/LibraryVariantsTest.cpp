// The library's build variants, each lacking exactly one entry point, so that
// binding the driver can meet every missing name.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

constexpr std::array<const char*, 9> kEntryPoints{"FT_Write",      "FT_Read",        "FT_OpenEx",
                                                  "FT_Open",       "FT_ListDevices", "FT_Close",
                                                  "FT_SetBitMode", "FT_SetTimeouts", "FT_GetQueueStatus"};

TEST(LibraryVariants, EachLacksItsOwnEntryPointAndKeepsTheOthersAndTheSideDoor) {
  for (const char* missing : kEntryPoints) {
    const std::string path = std::string(TQXSIM_VARIANTS_DIR) + "/no_" + missing + "/" TQXSIM_LIBRARY_FILE;
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    for (const char* name : kEntryPoints) {
      EXPECT_EQ(dlsym(library, name) == nullptr, std::string(name) == missing) << path << ": " << name;
    }
    EXPECT_NE(dlsym(library, "TqxSimControl"), nullptr) << path;
    dlclose(library);
  }
}

TEST(LibraryVariants, TheFullLibraryExportsNothingButTheEntryPointsAndTheSideDoor) {
  void* library = dlopen(TQXSIM_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  for (const char* name : kEntryPoints) EXPECT_NE(dlsym(library, name), nullptr) << name;
  EXPECT_EQ(dlsym(library, "_ZN6tqxsim15SimulatedModule8InstanceEv"), nullptr) << "internals must stay hidden";
  dlclose(library);
}

}  // namespace
