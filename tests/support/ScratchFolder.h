#pragma once
// A working folder of the running test's own, where the program keeps its data
// file: emptied and entered while the object lives, left and removed when it
// goes. Its name carries the process id and the test's name, so suites that
// run at the same time (two build folders, ctest -j) never share one.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>

// The C library's process id, which mingw-w64 also declares here.
#include <unistd.h>

class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& prefix)
      : path_(std::filesystem::temp_directory_path() /
              (prefix + "-" + std::to_string(::getpid()) + "-" + TestName())),
        previous_(std::filesystem::current_path()) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
    std::filesystem::current_path(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  // A parameterised test's name holds a '/', which must not nest folders.
  static std::string TestName() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = test != nullptr ? test->name() : "";
    std::replace(name.begin(), name.end(), '/', '-');
    return name;
  }

  std::filesystem::path path_;
  std::filesystem::path previous_;
};
