#include <gtest/gtest.h>

#include <cstring>

#include "config/BinUsedTable.h"
#include "config/ConfigRecord.h"

namespace {

TEST(FunctionName, ReadsUpToItsNulAndNeverPastTheSlot) {
  ConfigRecord record{};
  StoreFunctionName(record, 3, "Siren");
  EXPECT_EQ(FunctionNameText(record, 3), "Siren");

  std::memset(record.functionName[4].data(), 'x', kNameSlotBytes);
  record.functionName[5][0] = 'y';  // the next slot must not leak into slot 4
  EXPECT_EQ(FunctionNameText(record, 4), std::string(kNameSlotBytes, 'x'));
}

TEST(FunctionName, AShorterNameKeepsTheOldBytesAfterItsNul) {
  ConfigRecord record{};
  StoreFunctionName(record, 2, "TenLetters");
  StoreFunctionName(record, 2, "Hi");
  EXPECT_EQ(FunctionNameText(record, 2), "Hi");
  EXPECT_EQ(std::string(record.functionName[2].data() + 3, 7), "Letters");
  EXPECT_EQ(record.functionName[2][9], 's');
}

TEST(FunctionName, ANameTooLongForTheSlotStillEndsInside) {
  ConfigRecord record{};
  StoreFunctionName(record, 1, std::string(40, 'n'));
  EXPECT_EQ(FunctionNameText(record, 1), std::string(kNameSlotBytes - 1, 'n'));
  EXPECT_EQ(record.functionName[2][0], '\0');
}

TEST(BinUsedTable, MarksOnlyTriggerBinsFromOneToSixtyFour) {
  ConfigRecord record{};
  record.triggerBin1[1] = 5;
  record.triggerBin2[1] = -3;
  record.triggerBin3[1] = 70;
  record.triggerBin1[2] = 30;
  record.triggerBin3[7] = 30;
  record.triggerBin2[8] = 64;
  record.triggerBin1[0] = 40;  // entry 0 belongs to no function

  const BinUsedFlags table = DeriveBinUsedTable(record);
  for (int bin = 1; bin <= kBinCount; ++bin) {
    const bool expected = bin == 5 || bin == 30 || bin == 64;
    EXPECT_EQ(table[bin - 1], expected ? 1 : 0) << "bin " << bin;
  }
}

TEST(BinUsedTable, DerivingAgainForgetsBinsNoLongerUsed) {
  configRecord = {};
  configRecord.triggerBin1[1] = 20;
  BuildBinUsedTable();
  EXPECT_EQ(binUsedTable[19], 1);

  configRecord.triggerBin1[1] = 21;
  BuildBinUsedTable();
  EXPECT_EQ(binUsedTable[19], 0);
  EXPECT_EQ(binUsedTable[20], 1);
  configRecord = {};
  binUsedTable = {};
}

}  // namespace
