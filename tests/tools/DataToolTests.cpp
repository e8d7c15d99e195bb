#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "config/ConfigFile.h"
#include "config/FunctionFields.h"
#include "support/FileBytes.h"
#include "support/ScratchFolder.h"
#include "tools/Utf8Path.h"
#include "tools/tqxdata/DataTool.h"

namespace fs = std::filesystem;

namespace {

struct ToolRun {
  int status;
  std::string out;
  std::string err;
};

// A scratch folder per test, and the tool run inside it.
class DataTool : public testing::Test {
 protected:
  // The tool's command-line form of a file in the folder: UTF-8.
  std::string Path(const std::string& name) const { return Utf8FromPath(folder_ / PathFromUtf8(name)); }

  ToolRun Tool(std::vector<std::string> arguments, const std::string& input = "") const {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = RunDataTool(arguments, in, out, err);
    return {status, out.str(), err.str()};
  }

  void WriteBytes(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
    WriteFileBytes(PathFromUtf8(Path(name)), bytes);
  }

  std::vector<std::uint8_t> ReadBytes(const std::string& name) const {
    return ReadFileBytes(PathFromUtf8(Path(name)));
  }

  ScratchFolder scratch_{"tqxdata-tests"};
  const fs::path folder_ = scratch_.Path();
};

ConfigRecord ARecordWithALineFeed() {
  ConfigRecord record{};
  // The count 10 is 0x0A: the file stores it as 0D 0A.
  FunctionFields(record, 1).Name("Siren").Bins({33}).Count(10).Line(5, 2).Relay(3, 1).Analog(2, 4.75f);
  return record;
}

// The names are outside any one-byte code page, which Windows would read a
// narrow name in.
TEST_F(DataTool, ExportThenImportRewritesTheFileByteForByte) {
  WriteBytes("настройка.bin", EncodeDataFile(ARecordWithALineFeed()));
  const ToolRun exported = Tool({"export", Path("настройка.bin")});
  ASSERT_EQ(exported.status, 0) << exported.err;
  const ToolRun imported = Tool({"import", "-", Path("копия.bin")}, exported.out);
  ASSERT_EQ(imported.status, 0) << imported.err;
  EXPECT_EQ(ReadBytes("копия.bin"), ReadBytes("настройка.bin"));
  EXPECT_EQ(ReadBytes("копия.bin").size(), 957u);
}

TEST_F(DataTool, ShowSaysWhatEachFunctionListensForAndSwitches) {
  ConfigRecord record = ARecordWithALineFeed();
  record.relay1Enabled[2] = 1;
  record.relay1Action[2] = -1;
  record.lineEnabled[2] = 2;  // anything but 1 is off, as in the monitor
  WriteBytes("setup.bin", EncodeDataFile(record));
  const ToolRun run = Tool({"show", Path("setup.bin")});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Function 1  \"Siren\"\n"
                         "  trigger bins     33, 0, 0\n"
                         "  required count   10\n"
                         "  line             P11 Toggle\n"
                         "  analog output 1  off\n"
                         "  analog output 2  4.75 V\n"
                         "  relays           K3 Open\n"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("  line             off\n"
                         "  analog output 1  off\n"
                         "  analog output 2  off\n"
                         "  relays           K1 no action chosen\n"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("Function 8"), std::string::npos);
}

TEST_F(DataTool, ShowReadsTheWorkingFoldersDataFileWhenNoneIsNamed) {
  WriteBytes("tqxdata.bin", EncodeDataFile(ARecordWithALineFeed()));
  const ToolRun run = Tool({"show"});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("\"Siren\""), std::string::npos);
}

TEST_F(DataTool, AMissingOrUnreadableFileIsNamed) {
  ToolRun run = Tool({"export", Path("none.bin")});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "tqxdata: " + Path("none.bin") + ": no such file\n");
  EXPECT_TRUE(run.out.empty());

  fs::create_directory(Path("folder.bin"));
  run = Tool({"show", Path("folder.bin")});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "tqxdata: " + Path("folder.bin") + ": is a folder, not a data file\n");

  run = Tool({"import", Path("none.txt"), Path("out.bin")});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "tqxdata: " + Path("none.txt") + ": cannot be read\n");
  EXPECT_FALSE(fs::exists(Path("out.bin")));
}

TEST_F(DataTool, AShortOrOverlongFileIsShownAsTheMonitorReadsItWithAWarning) {
  WriteBytes("short.bin", std::vector<std::uint8_t>(100, 0x01));
  ToolRun run = Tool({"export", Path("short.bin")});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "tqxdata: warning: " + Path("short.bin") +
                         " holds only 100 of the record's 956 bytes; the rest reads as zero, as in the monitor\n");
  EXPECT_NE(run.out.find("requiredCount = 0"), std::string::npos);

  auto bytes = EncodeDataFile(ARecordWithALineFeed());
  bytes.push_back(0x55);
  WriteBytes("long.bin", bytes);
  run = Tool({"show", Path("long.bin")});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "tqxdata: warning: " + Path("long.bin") +
                         " is not exactly as the monitor writes its record (958 bytes); what follows is what "
                         "the monitor reads from it\n");
}

TEST_F(DataTool, RefusedTextNamesItsLineAndLeavesTheFileAsItWas) {
  WriteBytes("tqxdata.bin", EncodeDataFile(ARecordWithALineFeed()));
  const auto before = ReadBytes("tqxdata.bin");
  std::string text = Tool({"export", Path("tqxdata.bin")}).out;
  text.replace(text.find("requiredCount = 10"), 18, "requiredCount = ten");
  std::ofstream(Path("setup.txt")) << text;

  const ToolRun run = Tool({"import", Path("setup.txt"), Path("tqxdata.bin")});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "tqxdata: " + Path("setup.txt") +
                         ":36: requiredCount: \"ten\" is not a whole number\ntqxdata: nothing was written\n");
  EXPECT_EQ(ReadBytes("tqxdata.bin"), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 2);

  const ToolRun piped = Tool({"import", "-", Path("tqxdata.bin")}, text);
  EXPECT_EQ(piped.err.substr(0, 28), "tqxdata: standard input:36: ");
}

TEST_F(DataTool, AFileThatCannotBeWrittenIsNamedWithItsReason) {
  WriteBytes("tqxdata.bin", EncodeDataFile(ConfigRecord{}));
  const std::string text = Tool({"export", Path("tqxdata.bin")}).out;
  const std::string target = Path("no such folder/tqxdata.bin");
  const ToolRun run = Tool({"import", "-", target}, text);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "tqxdata: " + target + " could not be written (No such file or directory); the file is as it was\n");
}

TEST_F(DataTool, AWrongCommandLineGetsTheUsage) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{}, {"list"}, {"show", "a", "b"}, {"export"}, {"import", "a.txt"},
        {"--version", "a"}}) {
    const ToolRun run = Tool(arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err.rfind("Usage: tqxdata show [FILE]", 0), 0u) << run.err;
  }
  const ToolRun help = Tool({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("Usage:", 0), 0u);
}

}  // namespace
