// How a save replaces the data file on Windows, where another program may hold
// it open and the replacing call can fail halfway in documented ways.
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "DataFileFixture.h"
#include "config/FileReplacementWin32.h"
#include "support/RecordBytes.h"

namespace {

TEST_F(DataFile, AFileHeldForAMomentIsReplacedOnceLetGoAndOneHeldLongerIsRefusedAsBusy) {
  std::mt19937 random(8);
  const ConfigRecord edited = RandomRecord(random);
  WriteFileBytes(path_, {1, 2, 3});
  // Another program with the file open, sharing it only for reading.
  const HANDLE held = CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(WriteConfigFile(edited, path_), std::errc::device_or_resource_busy);
  EXPECT_EQ(ReadFileBytes(path_), (std::vector<std::uint8_t>{1, 2, 3}));
  std::thread letGo([held] {
    Sleep(100);
    CloseHandle(held);
  });
  EXPECT_FALSE(WriteConfigFile(edited, path_));
  letGo.join();
  EXPECT_EQ(ReadFileBytes(path_), EncodeDataFile(edited));
  EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{kDataFileName});
}

// The replacing call failing as the system documents each failure. With no
// backup name, on 1176 the old file is gone and the new one keeps its
// temporary name; on 1177 the old file is under another name too, and the new
// one is held (why it could not be moved).
std::vector<DWORD> failuresToCome;
DWORD flagsPassed = 0;
HANDLE newFileHold = INVALID_HANDLE_VALUE;

BOOL WINAPI ReplaceFailingAsScripted(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup, DWORD flags,
                                     LPVOID exclude, LPVOID reserved) {
  flagsPassed = flags;
  if (failuresToCome.empty()) return ReplaceFileW(replaced, replacement, backup, flags, exclude, reserved);
  const DWORD code = failuresToCome.front();
  failuresToCome.erase(failuresToCome.begin());
  if (code == ERROR_UNABLE_TO_MOVE_REPLACEMENT) DeleteFileW(replaced);
  if (code == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
    MoveFileW(replaced, (std::wstring(replaced) + L".old").c_str());
    newFileHold = CreateFileW(replacement, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  }
  SetLastError(code);
  return FALSE;
}

TEST_F(DataFile, EachWayTheReplacingCallFailsEndsWithTheOldFileOrTheNewOneNeverNeither) {
  const std::pair<std::vector<DWORD>, bool> failuresAndSaved[] = {
      {{ERROR_SHARING_VIOLATION, ERROR_LOCK_VIOLATION}, true},
      {std::vector<DWORD>(10, ERROR_SHARING_VIOLATION), false},
      {std::vector<DWORD>(10, ERROR_UNABLE_TO_REMOVE_REPLACED), false},
      {{ERROR_UNABLE_TO_MOVE_REPLACEMENT}, true},
      {{ERROR_UNABLE_TO_MOVE_REPLACEMENT_2}, true},  // written afresh; the held new file stays behind
  };
  std::mt19937 random(9);
  const ConfigRecord edited = RandomRecord(random);
  replaceFileCall = &ReplaceFailingAsScripted;
  for (const auto& [failures, saved] : failuresAndSaved) {
    SCOPED_TRACE(std::to_string(failures.front()) + " times " + std::to_string(failures.size()));
    WriteFileBytes(path_, {1, 2, 3});
    failuresToCome = failures;
    const std::error_code error = WriteConfigFile(edited, path_);
    EXPECT_EQ(!error, saved) << error.message();
    EXPECT_EQ(ReadFileBytes(path_), (saved ? EncodeDataFile(edited) : std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(flagsPassed, static_cast<DWORD>(REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS));
    if (newFileHold == INVALID_HANDLE_VALUE) {
      EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{kDataFileName});
    }
  }
  CloseHandle(newFileHold);
  replaceFileCall = &ReplaceFileW;
}

}  // namespace
