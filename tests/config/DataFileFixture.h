#pragma once
// The data file's tests: an empty folder of the test's own, the file's bytes,
// and a save made as a user whom the file's permissions stop.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

#include "config/ConfigFile.h"
#include "support/FileBytes.h"
#include "support/ScratchFolder.h"

namespace fs = std::filesystem;

// Differs by system (PlainUserPosix.cpp, PlainUserWin32.cpp): Windows keeps a
// read-only attribute instead of mode bits, and it stops every user.
extern const bool kWindows;
bool RunsAsRoot();
// Runs `body` as a user whom the permissions stop and returns its exit code.
int ExitCodeAsPlainUser(const std::function<int()>& body);

// Runs each test in an empty directory of its own and records message boxes.
class DataFile : public ::testing::Test {
 protected:
  void TearDown() override {
    std::error_code ignored;
    fs::permissions(directory_, fs::perms::owner_all, ignored);
    // Windows removes no read-only file.
    fs::permissions(path_, fs::perms::owner_write, fs::perm_options::add, ignored);
  }

  // Only the data file itself: no temporary file may be left behind.
  std::vector<std::string> DirectoryEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory_)) names.push_back(entry.path().filename().string());
    return names;
  }

  // Exit code of a child that saves as a plain user, with the folder open to
  // it: 1 when the save was taken, 0 when it was refused for want of
  // permission.
  int SaveAsPlainUser(const ConfigRecord& record) {
    fs::permissions(directory_, fs::perms::all);
    return ExitCodeAsPlainUser([&] {
      const std::error_code error = WriteConfigFile(record, path_);
      return error == std::errc::permission_denied ? 0 : (error ? 2 : 1);
    });
  }

  ScratchFolder folder_{"tqx-config"};
  const fs::path directory_ = folder_.Path();
  const fs::path path_ = directory_ / kDataFileName;
};
