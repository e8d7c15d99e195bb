// The Function Setup dialog with its real widgets, offscreen: what it shows,
// what Record Changes stores and writes, and what it refuses.
#include <gtest/gtest.h>
#if !defined(_WIN32)
#include <sys/resource.h>
#endif

#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "config/BinUsedTable.h"
#include "config/ConfigFile.h"
#include "config/FunctionFields.h"
#include "config/FunctionSetupDlg.h"
#include "res/ResourceIds.h"
#include "support/DialogDriver.h"
#include "support/FileBytes.h"
#include "support/MessageCapture.h"
#include "support/ScratchFolder.h"

namespace fs = std::filesystem;
using namespace FunctionSetupIds;

namespace {

constexpr const char* kIntegerRefusal = "Please enter an integer.";
constexpr const char* kNumberRefusal = "Please enter a number.";
constexpr const char* kVoltageOutOfRange =
    "Requested voltage out of range.  Please enter a value between 0 and 5 volts.";

std::vector<std::uint8_t> Bytes(const ConfigRecord& record) {
  const auto* p = reinterpret_cast<const std::uint8_t*>(&record);
  return {p, p + sizeof record};
}

// Function 4 as a user might have left it, beside a neighbour and with entry 0
// and the spare bytes holding what only a file could have put there.
ConfigRecord StoredRecord() {
  ConfigRecord record{};
  std::memset(&record, 0x5A, sizeof record);
  for (int function = 1; function <= kFunctionCount; ++function) {
    for (FunctionInts* field : {&record.triggerBin1, &record.triggerBin2, &record.triggerBin3, &record.requiredCount,
                                &record.lineEnabled, &record.lineSelect, &record.lineAction, &record.analog1Enabled,
                                &record.analog2Enabled, &record.relay1Enabled, &record.relay1Action,
                                &record.relay2Enabled, &record.relay2Action, &record.relay3Enabled,
                                &record.relay3Action, &record.relay4Enabled, &record.relay4Action}) {
      (*field)[function] = 0;
    }
    record.analog1Volts[function] = record.analog2Volts[function] = 0.0f;
    StoreFunctionName(record, function, "");
  }
  FunctionFields(record, 3).Bins({40});
  // P11 toggled, K1 opened; K2's action and the second channel's volts kept
  // without their ticks, and K3 ticked with its action Close.
  FunctionFields(record, 4)
      .Bins({20, 33, 70})
      .Name("Porch light east")
      .Count(3)
      .Line(5, 2)
      .Analog(1, 2.5f)
      .Analog(2, 0.75f, 0)
      .Relay(1, 1)
      .Relay(2, 2, 0)
      .Relay(3, 0)
      .Relay(4, -1, 0);
  return record;
}

// Each test runs in a working directory of its own, where the data file lives,
// on a record and bin table of its own.
class FunctionSetup : public ::testing::Test {
 protected:
  void SetUp() override {
    configRecord = {};
    binUsedTable = {};
  }

  // Opens Setup of the function and runs the script inside it, as the user.
  int Edit(int function, const std::function<void(CFunctionSetupDlg&)>& script) {
    EditedFunction = function;
    CFunctionSetupDlg dialog;
    return RunModal(dialog, [&] { script(dialog); });
  }

  // The record stored and written, with its bin table derived.
  static void Keep(const ConfigRecord& record) {
    configRecord = record;
    BuildBinUsedTable();
    ASSERT_FALSE(WriteConfigFile(configRecord));
  }

  static std::vector<std::uint8_t> FileBytes() { return ReadFileBytes(kDataFileName); }

  // Record Changes refuses the text typed over one field: the message, the
  // field focused with its text selected, the dialog open, nothing stored or
  // written. Ends with Cancel.
  void ExpectRefused(int field, const std::string& text, const std::string& message) {
    SCOPED_TRACE("\"" + text + "\" in control " + std::to_string(field));
    Keep(StoredRecord());
    const auto fileBefore = FileBytes();
    MessageCapture messages;
    const int result = Edit(4, [&](CFunctionSetupDlg& dialog) {
      ReplaceText(dialog, field, text);
      ClickControl(dialog, IDOK);
      EXPECT_EQ(messages.Texts(), std::vector<std::string>{message});
      EXPECT_TRUE(dialog.HasWindow());
      EXPECT_EQ(FocusedControlId(dialog), field);
      EXPECT_EQ(SelectedText(dialog, field), text);
      ClickControl(dialog, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(Bytes(configRecord), Bytes(StoredRecord()));
    EXPECT_EQ(FileBytes(), fileBefore);
  }

  ScratchFolder folder_{"tqx-function-setup"};
};

TEST_F(FunctionSetup, CaptionAndPromptsCarryTheFunctionsNumber) {
  for (int function : {3, 8}) {
    const std::string n = std::to_string(function);
    Edit(function, [&](CFunctionSetupDlg& dialog) {
      EXPECT_EQ(dialog.GetWindowText(), "Function #" + n + " Setup");
      EXPECT_EQ(dialog.GetDlgItemText(IDC_BINS_PROMPT), "Select bins that will trigger function #" + n);
      EXPECT_EQ(dialog.GetDlgItemText(IDC_NAME_PROMPT), "Enter / Edit name for function #" + n + ":");
      EXPECT_EQ(dialog.GetDlgItemText(IDC_COUNT_PROMPT), "Counts required to trigger function #" + n + ":");
      ClickControl(dialog, IDCANCEL);
    });
  }
}

TEST_F(FunctionSetup, OpensOnTheStoredFunctionWithTheFocusOnBinOne) {
  Keep(StoredRecord());
  Edit(4, [](CFunctionSetupDlg& dialog) {
    EXPECT_EQ(dialog.GetDlgItemText(IDC_BIN1), "20");
    EXPECT_EQ(dialog.GetDlgItemText(IDC_BIN2), "33");
    EXPECT_EQ(dialog.GetDlgItemText(IDC_BIN3), "70");
    EXPECT_EQ(dialog.GetDlgItemText(IDC_NAME), "Porch light east");
    EXPECT_EQ(dialog.GetDlgItemText(IDC_REQUIRED_COUNT), "3");
    EXPECT_EQ(dialog.GetDlgItemText(IDC_ANALOG1_VOLTS), "2.5");
    EXPECT_EQ(dialog.GetDlgItemText(IDC_ANALOG2_VOLTS), "0.75");
    for (int id : {IDC_DIGITAL_OUTPUT, IDC_LINE_TOGGLE, IDC_ANALOG1, IDC_RELAY1, IDC_RELAY1_OPEN, IDC_RELAY2_TOGGLE,
                   IDC_RELAY3, IDC_RELAY3_CLOSE}) {
      EXPECT_TRUE(dialog.IsDlgButtonChecked(id)) << id;
    }
    for (int id : {IDC_ANALOG2, IDC_RELAY2, IDC_RELAY4, IDC_RELAY4_CLOSE, IDC_RELAY4_OPEN, IDC_RELAY4_TOGGLE}) {
      EXPECT_FALSE(dialog.IsDlgButtonChecked(id)) << id;
    }
    for (int id = IDC_LINE_P00; id <= IDC_LINE_P17; ++id) EXPECT_EQ(dialog.IsDlgButtonChecked(id), id == IDC_LINE_P11);
    EXPECT_EQ(FocusedControlId(dialog), IDC_BIN1);
    ClickControl(dialog, IDCANCEL);
  });
}

TEST_F(FunctionSetup, RecordChangesStoresEveryFieldWritesTheEncodingAndMarksTheNewBins) {
  Keep(StoredRecord());
  const int result = Edit(4, [](CFunctionSetupDlg& dialog) {
    ReplaceText(dialog, IDC_BIN1, " 42\t");
    ReplaceText(dialog, IDC_BIN2, "-5");
    ReplaceText(dialog, IDC_BIN3, "007");
    ReplaceText(dialog, IDC_NAME, "Garage");
    ReplaceText(dialog, IDC_REQUIRED_COUNT, "0");
    ReplaceText(dialog, IDC_ANALOG1_VOLTS, "0");
    ReplaceText(dialog, IDC_ANALOG2_VOLTS, "5");
    for (int id : {IDC_DIGITAL_OUTPUT, IDC_LINE_P03, IDC_LINE_LOW, IDC_ANALOG2, IDC_RELAY1, IDC_RELAY4,
                   IDC_RELAY4_TOGGLE}) {
      ClickControl(dialog, id);
    }
    ClickControl(dialog, IDOK);
  });
  ASSERT_EQ(result, IDOK);

  ConfigRecord expected = StoredRecord();
  // The line and K1 unticked with their choices kept; K4 ticked to Toggle.
  FunctionFields(expected, 4)
      .Bins({42, -5, 7})
      .Count(0)
      .Line(3, 1, 0)
      .Analog(1, 0.0f)
      .Analog(2, 5.0f)
      .Relay(1, 1, 0)
      .Relay(4, 2);
  std::memcpy(expected.functionName[4].data(), "Garage", 7);
  EXPECT_EQ(Bytes(configRecord), Bytes(expected)) << "the old name's bytes after the NUL stay";
  EXPECT_EQ(FileBytes(), EncodeDataFile(expected));

  EXPECT_EQ(binUsedTable[42 - 1], 1);
  EXPECT_EQ(binUsedTable[7 - 1], 1);
  EXPECT_EQ(binUsedTable[40 - 1], 1) << "function 3's bin";
  EXPECT_EQ(binUsedTable[20 - 1], 0) << "no function names bin 20 any more";
  EXPECT_EQ(binUsedTable[33 - 1], 0);
}

TEST_F(FunctionSetup, IntegerEditsRefuseEmptyTextStrayCharactersAndSignedZero) {
  for (const char* text : {"", "4x", "-0", "+0"}) ExpectRefused(IDC_BIN1, text, kIntegerRefusal);
  ExpectRefused(IDC_REQUIRED_COUNT, "3 4", kIntegerRefusal);
}

TEST_F(FunctionSetup, VoltsEditsRefuseLettersHexadecimalAndEmptyTextAsNoNumber) {
  for (const char* text : {"abc", "", "0x2", "inf", "nan"}) ExpectRefused(IDC_ANALOG1_VOLTS, text, kNumberRefusal);
}

TEST_F(FunctionSetup, VoltsTheOutputsCannotDeliverAreRefusedWithTheRangeMessage) {
  for (const char* text : {"5.01", "-0.5", "1e39"}) {
    ExpectRefused(IDC_ANALOG2_VOLTS, text, kVoltageOutOfRange);
  }
  ExpectRefused(IDC_ANALOG1_VOLTS, "5.01", kVoltageOutOfRange);
}

TEST_F(FunctionSetup, TwoPointFiveIsStoredAsTheFloatAndShownAgainAsTyped) {
  Edit(6, [](CFunctionSetupDlg& dialog) {
    ReplaceText(dialog, IDC_ANALOG2_VOLTS, "2.5");
    ClickControl(dialog, IDOK);
  });
  EXPECT_EQ(configRecord.analog2Volts[6], 2.5f);
  Edit(6, [](CFunctionSetupDlg& dialog) {
    EXPECT_EQ(dialog.GetDlgItemText(IDC_ANALOG2_VOLTS), "2.5");
    ClickControl(dialog, IDCANCEL);
  });
}

TEST_F(FunctionSetup, ARefusedBinThreeLeavesRecordFileAndBinTableAsTheyWere) {
  Keep(StoredRecord());
  const auto fileBefore = FileBytes();
  const BinUsedFlags tableBefore = binUsedTable;
  MessageCapture messages;
  Edit(4, [&](CFunctionSetupDlg& dialog) {
    ReplaceText(dialog, IDC_BIN1, "50");
    ReplaceText(dialog, IDC_BIN2, "51");
    ReplaceText(dialog, IDC_NAME, "Changed");
    ReplaceText(dialog, IDC_REQUIRED_COUNT, "9");
    ReplaceText(dialog, IDC_ANALOG1_VOLTS, "1");
    ClickControl(dialog, IDC_RELAY2);
    ReplaceText(dialog, IDC_BIN3, "x");
    ClickControl(dialog, IDOK);
    EXPECT_EQ(FocusedControlId(dialog), IDC_BIN3);
    ClickControl(dialog, IDCANCEL);
  });
  EXPECT_EQ(messages.Texts(), std::vector<std::string>{kIntegerRefusal});
  EXPECT_EQ(Bytes(configRecord), Bytes(StoredRecord()));
  EXPECT_EQ(FileBytes(), fileBefore);
  EXPECT_EQ(binUsedTable, tableBefore);
}

TEST_F(FunctionSetup, ANameCannotGrowPastTwentyFiveCharacters) {
  Edit(1, [](CFunctionSetupDlg& dialog) {
    TypeText(dialog, IDC_NAME, std::string(30, 'n'));
    EXPECT_EQ(dialog.GetDlgItemText(IDC_NAME), std::string(25, 'n'));
    ClickControl(dialog, IDOK);
  });
  EXPECT_EQ(FunctionNameText(configRecord, 1), std::string(25, 'n'));
}

TEST_F(FunctionSetup, AStoredNameTooLongForTheEditShowsInFullAndMustBeShortened) {
  const std::string tooLong = "Twenty-eight characters long";
  StoreFunctionName(configRecord, 2, tooLong);
  MessageCapture messages;
  const int result = Edit(2, [&](CFunctionSetupDlg& dialog) {
    EXPECT_EQ(dialog.GetDlgItemText(IDC_NAME), tooLong);
    ClickControl(dialog, IDOK);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Please enter no more than 25 characters."});
    EXPECT_EQ(FocusedControlId(dialog), IDC_NAME);
    PressKey(dialog, Key::End);  // the cursor after the last character
    TypeText(dialog, IDC_NAME, "s");
    EXPECT_EQ(dialog.GetDlgItemText(IDC_NAME), tooLong) << "it cannot grow";
    for (int i = 0; i < 3; ++i) {
      PressKey(dialog, Key::Backspace);
      EXPECT_EQ(dialog.GetDlgItemText(IDC_NAME), tooLong.substr(0, 27 - i)) << "deleting is always allowed";
    }
    ClickControl(dialog, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(FunctionNameText(configRecord, 2), tooLong.substr(0, 25));
}

TEST_F(FunctionSetup, NoLineChosenOpensWithNoLineButtonAndIsStoredAsNoneAgain) {
  configRecord.lineSelect[5] = -1;
  Edit(5, [](CFunctionSetupDlg& dialog) {
    for (int id = IDC_LINE_P00; id <= IDC_LINE_P17; ++id) EXPECT_FALSE(dialog.IsDlgButtonChecked(id)) << id;
    ClickControl(dialog, IDOK);
  });
  EXPECT_EQ(configRecord.lineSelect[5], -1);
}

TEST_F(FunctionSetup, CancelEscapeAndTheCloseBoxStoreAndWriteNothing) {
  Keep(StoredRecord());
  const auto fileBefore = FileBytes();
  const std::function<void(CFunctionSetupDlg&)> ways[] = {
      [](CFunctionSetupDlg& dialog) { ClickControl(dialog, IDCANCEL); },
      [](CFunctionSetupDlg& dialog) { PressKey(dialog, Key::Escape); },
      [](CFunctionSetupDlg& dialog) { ClickCloseBox(dialog); },
  };
  for (const auto& leave : ways) {
    const int result = Edit(4, [&](CFunctionSetupDlg& dialog) {
      ReplaceText(dialog, IDC_BIN1, "55");
      ReplaceText(dialog, IDC_NAME, "Edited");
      ClickControl(dialog, IDC_RELAY4);
      leave(dialog);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(Bytes(configRecord), Bytes(StoredRecord()));
    EXPECT_EQ(FileBytes(), fileBefore);
    EXPECT_EQ(binUsedTable[55 - 1], 0);
  }
}

TEST_F(FunctionSetup, RecordChangesWithNothingChangedStillWritesTheFile) {
  ASSERT_FALSE(fs::exists(kDataFileName));
  configRecord.requiredCount[7] = 10;  // a 0x0A byte: the file is one byte longer
  EXPECT_EQ(Edit(7, [](CFunctionSetupDlg& dialog) { ClickControl(dialog, IDOK); }), IDOK);
  EXPECT_EQ(FileBytes().size(), kConfigRecordBytes + 1);
  EXPECT_EQ(FileBytes(), EncodeDataFile(configRecord));
}

#if !defined(_WIN32)
// A file size limit stands for a full disk: it stops even a privileged user's
// writes. Windows has no per-process limit to stand in for one.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) : previousSignal_(std::signal(SIGXFSZ, SIG_IGN)) {
    ::getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limited = previous_;
    limited.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousSignal_);
  }

 private:
  rlimit previous_{};
  void (*previousSignal_)(int);
};

TEST_F(FunctionSetup, AFileThatCannotBeWrittenKeepsTheEditInMemoryAndTheOldFileIntact) {
  Keep(StoredRecord());
  const auto fileBefore = FileBytes();
  MessageCapture messages;
  int result = 0;
  {
    const FileSizeLimit diskFull(100);
    result = Edit(4, [](CFunctionSetupDlg& dialog) {
      ReplaceText(dialog, IDC_BIN1, "61");
      ClickControl(dialog, IDOK);
    });
  }
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(messages.Texts(), std::vector<std::string>{kDataFileMessage});
  EXPECT_EQ(configRecord.triggerBin1[4], 61);
  EXPECT_EQ(binUsedTable[61 - 1], 1);
  EXPECT_EQ(FileBytes(), fileBefore);
  EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 1) << "no temporary file left";
}
#endif

TEST_F(FunctionSetup, ANumberThatNamesNoFunctionOpensNothingAndLeavesEntryZeroAlone) {
  for (int function : {0, 9}) {
    EditedFunction = function;
    CFunctionSetupDlg dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  }
  EXPECT_EQ(Bytes(configRecord), Bytes(ConfigRecord{}));
  EXPECT_FALSE(fs::exists(kDataFileName));
}

}  // namespace
