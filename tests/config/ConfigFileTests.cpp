#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "DataFileFixture.h"
#include "config/ConfigFile.h"
#include "support/FileBytes.h"
#include "support/RecordBytes.h"

namespace {

ConfigRecord RoundTrip(const ConfigRecord& record) {
  ConfigRecord back{};
  const auto file = EncodeDataFile(record);
  EXPECT_EQ(DecodeDataFile(file, back), kConfigRecordBytes);
  return back;
}

TEST(DataFileCodec, EveryByteValueAtEveryPositionComesBack) {
  // A record full of one value puts it at every position; interleaving it with
  // carriage returns, at both parities, covers the neighbour that could pair
  // up with it wrongly.
  for (int value = 0; value < 256; ++value) {
    for (int pattern = 0; pattern < 3; ++pattern) {
      ConfigRecord record;
      auto* bytes = reinterpret_cast<std::uint8_t*>(&record);
      for (std::size_t i = 0; i < kConfigRecordBytes; ++i) {
        const bool carriageReturn = pattern != 0 && i % 2 == static_cast<std::size_t>(pattern - 1);
        bytes[i] = carriageReturn ? 0x0D : static_cast<std::uint8_t>(value);
      }
      ASSERT_EQ(Bytes(RoundTrip(record)), Bytes(record)) << "value " << value << " pattern " << pattern;
    }
  }
}

TEST(DataFileCodec, RandomRecordsComeBackWhole) {
  std::mt19937 random(7);
  for (int i = 0; i < 2000; ++i) {
    const ConfigRecord record = RandomRecord(random);
    ASSERT_EQ(Bytes(RoundTrip(record)), Bytes(record));
  }
}

TEST(DataFileCodec, ALineFeedIsStoredAsCarriageReturnLineFeed) {
  ConfigRecord record{};
  record.requiredCount[1] = 10;
  const auto file = EncodeDataFile(record);
  ASSERT_EQ(file.size(), 957u);
  EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + 384, file.begin() + 389),
            (std::vector<std::uint8_t>{0x0D, 0x0A, 0x00, 0x00, 0x00}));
  EXPECT_EQ(file[389], 0x00);  // everything after is shifted by one
}

TEST(DataFileCodec, ACarriageReturnBeforeALineFeedInsideAValueSurvives) {
  ConfigRecord record{};
  record.requiredCount[2] = 2573;  // stored 0D 0A 00 00
  const auto file = EncodeDataFile(record);
  EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + 388, file.begin() + 393),
            (std::vector<std::uint8_t>{0x0D, 0x0D, 0x0A, 0x00, 0x00}));
  EXPECT_EQ(RoundTrip(record).requiredCount[2], 2573);
}

TEST(DataFileCodec, AShortFileFillsOnlyTheBeginning) {
  std::vector<std::uint8_t> file(100, 0x11);
  ConfigRecord record{};
  EXPECT_EQ(DecodeDataFile(file, record), 100u);
  EXPECT_EQ(record.triggerBin2[8], 0x11111111);
  EXPECT_EQ(record.triggerBin3[6], 0x11111111);
  EXPECT_EQ(record.triggerBin3[7], 0);
  EXPECT_EQ(record.relay4Action[8], 0);
}

TEST(DataFileCodec, BytesAfterTheRecordAreIgnored) {
  ConfigRecord record{};
  record.relay4Action[8] = 2;
  auto file = EncodeDataFile(record);
  file.insert(file.end(), 500, 0x77);
  ConfigRecord back{};
  EXPECT_EQ(DecodeDataFile(file, back), kConfigRecordBytes);
  EXPECT_EQ(Bytes(back), Bytes(record));
}

TEST(DataFileCodec, AFinalCarriageReturnWithoutLineFeedIsItself) {
  const std::vector<std::uint8_t> file{0x01, 0x0D};
  ConfigRecord record{};
  EXPECT_EQ(DecodeDataFile(file, record), 2u);
  EXPECT_EQ(record.triggerBin1[0], 0x0D01);
}

TEST_F(DataFile, NoFileIsAQuietFirstRun) {
  ConfigRecord record{};
  record.requiredCount[1] = 4;
  EXPECT_FALSE(ReadConfigFile(record, path_));
  EXPECT_EQ(record.requiredCount[1], 4);
}

TEST_F(DataFile, AFileThatCannotBeReadIsReportedOnceAndChangesNothing) {
  fs::create_directory(path_);
  ConfigRecord record{};
  EXPECT_TRUE(ReadConfigFile(record, path_));
  EXPECT_EQ(Bytes(record), Bytes(ConfigRecord{}));
}

TEST_F(DataFile, WhatIsWrittenIsReadBackAndIsTheEncoding) {
  std::mt19937 random(11);
  const ConfigRecord record = RandomRecord(random);
  ASSERT_FALSE(WriteConfigFile(record, path_));
  EXPECT_EQ(ReadFileBytes(path_), EncodeDataFile(record));

  ConfigRecord back{};
  EXPECT_FALSE(ReadConfigFile(back, path_));
  EXPECT_EQ(Bytes(back), Bytes(record));
  EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{kDataFileName});
}

// The monitor saves by the bare file name, in the folder it was started in
// (the scratch folder is the working folder).
TEST_F(DataFile, AFileNamedRelativeToTheWorkingFolderIsReplaced) {
  std::mt19937 random(5);
  const ConfigRecord first = RandomRecord(random);
  const ConfigRecord second = RandomRecord(random);
  const std::error_code firstSave = WriteConfigFile(first, kDataFileName);
  const std::error_code secondSave = WriteConfigFile(second, kDataFileName);
  EXPECT_FALSE(firstSave) << firstSave.message();
  EXPECT_FALSE(secondSave) << secondSave.message();
  EXPECT_EQ(ReadFileBytes(path_), EncodeDataFile(second));
  EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{kDataFileName});
}

TEST_F(DataFile, ReadingTenMegabytesOfNoiseUsesOnlyTheRecordsWorth) {
  std::mt19937 random(3);
  std::vector<std::uint8_t> noise(10 * 1024 * 1024);
  for (auto& byte : noise) byte = static_cast<std::uint8_t>(random());
  WriteFileBytes(path_, noise);
  ConfigRecord record{};
  ReadConfigFile(record, path_);
  ConfigRecord expected{};
  DecodeDataFile(noise, expected);
  EXPECT_EQ(Bytes(record), Bytes(expected));
}

TEST_F(DataFile, AReplacedFileKeepsItsPermissions) {
  if (kWindows) GTEST_SKIP() << "Windows has no mode bits to keep";
  WriteFileBytes(path_, {1, 2, 3});
  fs::permissions(path_, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_FALSE(WriteConfigFile(ConfigRecord{}, path_));
  EXPECT_EQ(fs::status(path_).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(DataFile, ADirectoryInTheFilesPlaceIsReportedAndLeftAlone) {
  fs::create_directory(path_);
  WriteFileBytes(path_ / "inside", {9});
  EXPECT_TRUE(WriteConfigFile(ConfigRecord{}, path_));
  EXPECT_TRUE(fs::is_directory(path_));
  EXPECT_EQ(ReadFileBytes(path_ / "inside"), std::vector<std::uint8_t>{9});
  EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{kDataFileName});
}

TEST_F(DataFile, AnUnwritableDirectoryKeepsTheOldFileExactly) {
  if (RunsAsRoot()) GTEST_SKIP() << "root writes into any directory";
  if (kWindows) GTEST_SKIP() << "a Windows folder's read-only attribute does not stop new files";
  ConfigRecord old{};
  old.requiredCount[3] = 3;
  ASSERT_FALSE(WriteConfigFile(old, path_));
  const auto before = ReadFileBytes(path_);
  fs::permissions(directory_, fs::perms::owner_read | fs::perms::owner_exec);

  ConfigRecord edited = old;
  edited.requiredCount[3] = 9;
  EXPECT_TRUE(WriteConfigFile(edited, path_));
  EXPECT_EQ(ReadFileBytes(path_), before);
}

// Made read-only to lock the setup: opening it for writing would be refused,
// and so is replacing it, though its folder would allow a rename.
TEST_F(DataFile, AWriteProtectedFileIsRefusedAndLeftUntouched) {
  WriteFileBytes(path_, {1, 2, 3});
  fs::permissions(path_, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_EQ(SaveAsPlainUser(ConfigRecord{}), 0);
  EXPECT_EQ(ReadFileBytes(path_), (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{kDataFileName});
}

// The record read at start-up is empty, not the user's: saving it would lose
// every function the user never touched.
TEST_F(DataFile, AFileFoundUnreadableIsNeverReplacedByThisProcess) {
  if (kWindows) GTEST_SKIP() << "Windows cannot take the right to read away through mode bits";
  std::mt19937 random(5);
  WriteFileBytes(path_, EncodeDataFile(RandomRecord(random)));
  const auto stored = ReadFileBytes(path_);
  fs::permissions(path_, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write);
  EXPECT_EQ(ExitCodeAsPlainUser([&] {
              ConfigRecord record{};
              if (!ReadConfigFile(record, path_)) return 3;
              record.requiredCount[1] = 7;  // one function edited
              return WriteConfigFile(record, path_) == DataFileError::UnreadableAtStart ? 0 : 1;
            }),
            0);
  EXPECT_EQ(ReadFileBytes(path_), stored);
}

// A link to a file not made yet reads as a first run; the first save makes
// the file the link names, as opening the link for writing would.
TEST_F(DataFile, ADanglingLinkIsAFirstRunAndTheSaveCreatesItsTarget) {
  if (kWindows) GTEST_SKIP() << "links are not followed on Windows";
  const fs::path kept = directory_ / "elsewhere" / "kept.bin";
  fs::create_directories(kept.parent_path());
  fs::create_symlink(fs::path("elsewhere") / "kept.bin", path_);
  ConfigRecord record{};
  EXPECT_FALSE(ReadConfigFile(record, path_));

  record.requiredCount[2] = 6;
  ASSERT_FALSE(WriteConfigFile(record, path_));
  EXPECT_TRUE(fs::is_symlink(path_));
  EXPECT_EQ(ReadFileBytes(kept), EncodeDataFile(record));
}

TEST_F(DataFile, AMissingDirectoryIsReported) {
  EXPECT_TRUE(WriteConfigFile(ConfigRecord{}, directory_ / "gone" / kDataFileName));
}

TEST_F(DataFile, ALinkedDataFileStaysALink) {
  if (kWindows) GTEST_SKIP() << "links are not followed on Windows";
  const fs::path kept = directory_ / "kept.bin";
  WriteFileBytes(kept, {});
  fs::create_symlink(kept, path_);
  ConfigRecord record{};
  record.requiredCount[1] = 5;
  ASSERT_FALSE(WriteConfigFile(record, path_));
  EXPECT_TRUE(fs::is_symlink(path_));
  EXPECT_EQ(ReadFileBytes(kept), EncodeDataFile(record));
}

}  // namespace
