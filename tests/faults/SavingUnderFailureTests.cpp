// Saving the data file when the disk says no, or when the program dies half
// way: the file on disk is always the old record or the new one, byte for
// byte, and a failure says so.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "config/ConfigFile.h"
#include "support/FileBytes.h"
#include "support/ScratchFolder.h"

namespace {

namespace fs = std::filesystem;

// Two records that differ in every field and in length once encoded (the new
// one holds 0x0A bytes, stored as two).
ConfigRecord OldRecord() {
  ConfigRecord record{};
  for (int function = 1; function <= kFunctionCount; ++function) {
    record.triggerBin1[function] = function + 20;
    record.requiredCount[function] = 3;
    record.analog1Volts[function] = 1.25f;
    StoreFunctionName(record, function, "old " + std::to_string(function));
  }
  return record;
}

ConfigRecord NewRecord() {
  ConfigRecord record{};
  for (int function = 1; function <= kFunctionCount; ++function) {
    record.triggerBin1[function] = 10;  // 0x0A
    record.requiredCount[function] = 0x0A0A0A0A;
    record.analog2Volts[function] = 4.5f;
    StoreFunctionName(record, function, "the new name of " + std::to_string(function));
  }
  return record;
}

class SavingUnderFailure : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(WriteConfigFile(OldRecord(), path_));
    oldBytes_ = EncodeDataFile(OldRecord());
    newBytes_ = EncodeDataFile(NewRecord());
    ASSERT_NE(oldBytes_.size(), newBytes_.size());
  }

  void TearDown() override { fs::permissions(folder_, fs::perms::owner_all); }

  // A failed save: said so, the old file untouched, no file left beside it.
  void ExpectFailedSaveLeftTheOldFile(std::error_code error) {
    EXPECT_TRUE(error);
    EXPECT_EQ(ReadFileBytes(path_), oldBytes_);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
  }

  ScratchFolder scratch_{"tqx-saving"};
  const fs::path folder_ = scratch_.Path();
  const fs::path path_ = folder_ / kDataFileName;
  std::vector<std::uint8_t> oldBytes_;
  std::vector<std::uint8_t> newBytes_;
};

// A file size limit stands for a full disk: it stops even a privileged user.
// Each limit cuts the new file at another place, the last one a byte short.
TEST_F(SavingUnderFailure, AFullDiskAtAnyPointOfTheNewFileKeepsTheOldOne) {
  const auto previousSignal = std::signal(SIGXFSZ, SIG_IGN);
  rlimit previous{};
  ::getrlimit(RLIMIT_FSIZE, &previous);
  for (const rlim_t limit : {rlim_t{0}, rlim_t{1}, rlim_t{500}, rlim_t{newBytes_.size() - 1}}) {
    rlimit limited = previous;
    limited.rlim_cur = limit;
    ::setrlimit(RLIMIT_FSIZE, &limited);
    const std::error_code error = WriteConfigFile(NewRecord(), path_);
    ::setrlimit(RLIMIT_FSIZE, &previous);
    SCOPED_TRACE(limit);
    ExpectFailedSaveLeftTheOldFile(error);
  }
  std::signal(SIGXFSZ, previousSignal);
}

// No file descriptor left stands for a folder that refuses a new file, which a
// privileged user would be let through.
TEST_F(SavingUnderFailure, AFolderThatTakesNoNewFileKeepsTheOldOne) {
  const int lowestFree = ::dup(0);
  ASSERT_GE(lowestFree, 0);
  ::close(lowestFree);
  rlimit previous{};
  ::getrlimit(RLIMIT_NOFILE, &previous);
  rlimit limited = previous;
  limited.rlim_cur = static_cast<rlim_t>(lowestFree);
  ::setrlimit(RLIMIT_NOFILE, &limited);
  const std::error_code error = WriteConfigFile(NewRecord(), path_);
  ::setrlimit(RLIMIT_NOFILE, &previous);
  ExpectFailedSaveLeftTheOldFile(error);
}

TEST_F(SavingUnderFailure, AFolderWithoutWritePermissionKeepsTheOldOne) {
  fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
  if (::access(folder_.c_str(), W_OK) == 0) GTEST_SKIP() << "this user writes into any folder";
  ExpectFailedSaveLeftTheOldFile(WriteConfigFile(NewRecord(), path_));
}

// A child saves the two records in turn until it is killed, at a random moment
// of a save; whatever moment that was, the file is one record or the other.
TEST_F(SavingUnderFailure, KilledAtAnyMomentOfASaveTheFileIsTheOldOrTheNewRecordByteForByte) {
  constexpr int kKills = 40;
  std::mt19937 random(7);
  std::uniform_int_distribution<int> delayUs(0, 20000);
  int sawOld = 0;
  int sawNew = 0;
  for (int kill = 0; kill < kKills; ++kill) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (bool newOne = true;; newOne = !newOne) {
        if (WriteConfigFile(newOne ? NewRecord() : OldRecord(), path_)) ::_exit(3);
      }
    }
    std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child stopped by itself: a save failed";

    const std::vector<std::uint8_t> bytes = ReadFileBytes(path_);
    ASSERT_TRUE(bytes == oldBytes_ || bytes == newBytes_) << "kill " << kill << ": " << bytes.size() << " bytes";
    (bytes == oldBytes_ ? sawOld : sawNew)++;

    // The record read back is the one on disk.
    ConfigRecord read{};
    EXPECT_FALSE(ReadConfigFile(read, path_));
    EXPECT_EQ(EncodeDataFile(read), bytes);
  }
  RecordProperty("old", sawOld);
  RecordProperty("new", sawNew);
}

}  // namespace
