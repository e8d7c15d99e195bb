#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "support/RecordBytes.h"
#include "tools/tqxdata/NameText.h"
#include "tools/tqxdata/RecordText.h"

namespace {

ConfigRecord ThroughText(const ConfigRecord& record) {
  const ImportedRecord imported = ImportRecordText(ExportRecordText(record));
  EXPECT_TRUE(imported.record) << "line " << imported.refusal.line << ": " << imported.refusal.message;
  return imported.record.value_or(ConfigRecord{});
}

ConfigRecord ADemoRecord() {
  ConfigRecord record{};
  record.triggerBin1[1] = 20;
  StoreFunctionName(record, 1, "Tone A");
  record.requiredCount[1] = 5;
  record.relay1Enabled[1] = 1;
  record.analog1Volts[1] = 2.5f;
  return record;
}

// The 1-based number of the line that holds needle.
int LineOf(const std::string& text, const std::string& needle) {
  const auto at = text.find(needle);
  return at == std::string::npos ? -1 : 1 + static_cast<int>(std::count(text.begin(), text.begin() + at, '\n'));
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const auto at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(RecordTextRoundTrip, RandomRecordsComeBackByteForByte) {
  std::mt19937 random(11);
  for (int i = 0; i < 3000; ++i) {
    const ConfigRecord record = RandomRecord(random);
    ASSERT_EQ(Bytes(ThroughText(record)), Bytes(record)) << "record " << i;
  }
}

TEST(RecordTextRoundTrip, NanPayloadsSignedZeroInfinitiesAndTinyVoltsComeBackExactly) {
  const std::uint32_t patterns[] = {0x7FC00000, 0xFFC00000, 0x7F800001, 0xFFBFFFFF, 0x7FC0BEEF,
                                    0x80000000, 0x7F800000, 0xFF800000, 0x00000001, 0x7F7FFFFF};
  for (const std::uint32_t bits : patterns) {
    ConfigRecord record{};
    record.analog1Volts[3] = std::bit_cast<float>(bits);
    record.analog2Volts[0] = std::bit_cast<float>(bits);
    const ConfigRecord back = ThroughText(record);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(back.analog1Volts[3]), bits) << std::hex << bits;
    EXPECT_EQ(std::bit_cast<std::uint32_t>(back.analog2Volts[0]), bits) << std::hex << bits;
  }
}

TEST(RecordTextRoundTrip, NameSlotsWithEveryByteValueAndWithoutANulComeBack) {
  ConfigRecord record{};
  for (int entry = 0; entry <= kFunctionCount; ++entry) {
    for (int i = 0; i < kNameSlotBytes; ++i) {
      record.functionName[entry][i] = static_cast<char>(1 + (entry * kNameSlotBytes + i) % 255);
    }
  }
  StoreFunctionName(record, 4, "ab");  // a short name over older, longer bytes
  EXPECT_EQ(Bytes(ThroughText(record)), Bytes(record));
}

TEST(RecordTextExport, APlainNameNeedsNoSlotLineAndReadsAsItsLetters) {
  ConfigRecord record = ADemoRecord();
  StoreFunctionName(record, 2, "Caf\xE9 \"6\" \\ \x01");
  const std::string text = ExportRecordText(record);
  EXPECT_EQ(text.find("\nfunctionNameSlot ="), std::string::npos);
  EXPECT_NE(text.find("functionName = \"Caf\xC3\xA9 \\\"6\\\" \\\\ \\x01\"\n"), std::string::npos);
  EXPECT_NE(text.find("analog1Volts = 2.5\n"), std::string::npos);
}

TEST(RecordTextExport, AShortNameOverALongerOneCarriesTheOldBytesInItsSlot) {
  ConfigRecord record{};
  StoreFunctionName(record, 1, "Generator");
  StoreFunctionName(record, 1, "On");
  const std::string text = ExportRecordText(record);
  EXPECT_NE(text.find("functionName = \"On\"\nfunctionNameSlot = 4F 6E 00 65 72 61 74 6F 72 00"),
            std::string::npos);
}

TEST(RecordTextImport, AcceptsHandEditsCommentsAnyKeyOrderAndWindowsLineEnds) {
  std::string text = ExportRecordText(ADemoRecord());
  text = Replaced(text, "requiredCount = 5", "# counted more strictly now\n  requiredCount   =   7  ");
  text = Replaced(text, "triggerBin1 = 20\n", "");
  text = Replaced(text, "relay4Action = 0\n\n[function 2]", "relay4Action = 0\ntriggerBin1 = -3\n\n[function 2]");
  text = Replaced(text, "functionName = \"Tone A\"", "functionName = \"Ton\\xE9 \xC3\xA9\"");
  std::string windows;
  for (const char c : text) windows += c == '\n' ? std::string("\r\n") : std::string(1, c);

  const ImportedRecord imported = ImportRecordText(windows);
  ASSERT_TRUE(imported.record) << imported.refusal.line << ": " << imported.refusal.message;
  EXPECT_EQ(imported.record->requiredCount[1], 7);
  EXPECT_EQ(imported.record->triggerBin1[1], -3);
  EXPECT_EQ(FunctionNameText(*imported.record, 1), "Ton\xE9 \xE9");
  // The rest of the slot is zero, as a freshly typed name leaves it.
  EXPECT_EQ(imported.record->functionName[1][7], '\0');
}

TEST(RecordTextImport, PlainNanAndInfinityAreAccepted) {
  std::string text = ExportRecordText(ADemoRecord());
  text = Replaced(text, "analog1Volts = 2.5", "analog1Volts = -nan");
  text = Replaced(text, "analog2Volts = 0", "analog2Volts = inf");
  const ImportedRecord imported = ImportRecordText(text);
  ASSERT_TRUE(imported.record) << imported.refusal.message;
  EXPECT_EQ(std::bit_cast<std::uint32_t>(imported.record->analog1Volts[1]), 0xFFC00000u);
  EXPECT_TRUE(std::isinf(imported.record->analog2Volts[0]));
}

// One fault per case, made in a valid text; the refusal names the line the
// change starts on, or one after it.
struct Fault {
  const char* what;
  const char* from;  // text in the valid export ...
  const char* to;    // ... and what it becomes
  const char* message;
  int linesAfterChange;
};

const Fault kFaults[] = {
    {"no equals sign", "requiredCount = 5", "requiredCount 5",
     "expected KEY = VALUE, a [section] or a # comment", 0},
    {"unknown key", "requiredCount = 5", "requiredCounts = 5",
     "unknown key \"requiredCounts\"", 0},
    {"field before any section", "spare = 00 00", "spare = 00 00\ntriggerBin1 = 4",
     "triggerBin1 comes before any section; put it under [function N]", 1},
    {"key twice", "requiredCount = 5", "requiredCount = 5\nrequiredCount = 6",
     "requiredCount is given twice in [function 1] (first on line 36)", 1},
    {"unknown section", "[function 2]", "[function 9]",
     "unknown section \"[function 9]\"; the sections are [entry 0] and [function 1] to [function 8]", 0},
    {"section without its bracket", "[function 2]", "[function 2",
     "unknown section \"[function 2\"; the sections are [entry 0] and [function 1] to [function 8]", 0},
    {"section twice", "[function 3]", "[function 2]",
     "[function 2] appears twice (first on line 53)", 0},
    {"spare inside a section", "requiredCount = 5", "requiredCount = 5\nspare = 00 00",
     "spare belongs before the first section, not in [function 1]", 1},
    {"spare twice", "spare = 00 00", "spare = 00 00\nspare = 01 02",
     "spare is given twice (first on line 7)", 1},
    {"too few spare bytes", "spare = 00 00", "spare = 00",
     "spare: expected 2 bytes in hex, found 1", 0},
    {"spare not hex", "spare = 00 00", "spare = 00 G0",
     "spare: \"G0\" is not a byte in hex (two digits, 00 to FF)", 0},
    {"integer too large", "requiredCount = 5", "requiredCount = 2147483648",
     "requiredCount: 2147483648 is outside the 32-bit range (-2147483648 to 2147483647)", 0},
    {"not an integer", "requiredCount = 5", "requiredCount = 5.0",
     "requiredCount: \"5.0\" is not a whole number", 0},
    {"empty integer", "requiredCount = 5", "requiredCount =",
     "requiredCount: \"\" is not a whole number", 0},
    {"volts with three words", "analog1Volts = 2.5", "analog1Volts = nan 0x7FC00000 1",
     "analog1Volts: expected a number, or nan and its bit pattern (nan 0x7FC00000)", 0},
    {"volts beyond a float", "analog1Volts = 2.5", "analog1Volts = 1e39",
     "analog1Volts: 1e39 is beyond what a 32-bit float holds", 0},
    {"volts not a number", "analog1Volts = 2.5", "analog1Volts = 2,5",
     "analog1Volts: \"2,5\" is not a number", 0},
    {"bit pattern after a number", "analog1Volts = 2.5", "analog1Volts = 2.5 0x40200000",
     "analog1Volts: only nan takes a bit pattern; write 2.5 alone", 0},
    {"malformed bit pattern", "analog1Volts = 2.5", "analog1Volts = nan 7FC00000",
     "analog1Volts: \"7FC00000\" is not a bit pattern (0x and eight hex digits)", 0},
    {"bit pattern of no NaN", "analog1Volts = 2.5", "analog1Volts = nan 0x7F800000",
     "analog1Volts: 0x7F800000 is not the bit pattern of a NaN", 0},
    {"name out of step with its slot", "functionName = \"Tone A\"", "functionName = \"Tone B\"\nfunctionNameSlot = 54 6F 6E 65 20 41 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00",
     "functionName does not match the name held in functionNameSlot (line 36); change both, or remove functionNameSlot", 0},
    {"name too long for its slot", "functionName = \"Tone A\"", "functionName = \"123456789012345678901234567890\"",
     "functionName: 30 bytes do not fit the 30-byte slot with a NUL after them (29 at most)", 0},
    {"slot of the wrong size", "functionName = \"Tone A\"", "functionName = \"Tone A\"\nfunctionNameSlot = 54 6F",
     "functionNameSlot: expected 30 bytes in hex, found 2", 1},
    {"name without quotes", "functionName = \"Tone A\"", "functionName = Tone A",
     "functionName: a name is written in double quotes", 0},
    {"unknown escape", "functionName = \"Tone A\"", "functionName = \"Tone\\tA\"",
     "functionName: unknown escape \\t (use \\\", \\\\ or \\xHH)", 0},
    {"escaped NUL", "functionName = \"Tone A\"", "functionName = \"Tone\\x00A\"",
     "functionName: a name cannot hold a NUL byte (\\x00)", 0},
    {"not UTF-8", "functionName = \"Tone A\"", "functionName = \"Tone \xE9\"",
     "functionName: the name is not valid UTF-8", 0},
    {"not Latin-1", "functionName = \"Tone A\"", "functionName = \"Tone \xE2\x82\xAC\"",
     "functionName: \"\xE2\x82\xAC\" is not a Latin-1 character; a name holds Latin-1 characters only", 0},
    {"no closing quote", "functionName = \"Tone A\"", "functionName = \"Tone A",
     "functionName: the name has no closing quote", 0},
    {"text after the closing quote", "functionName = \"Tone A\"", "functionName = \"Tone\" A",
     "functionName: nothing may follow the name's closing quote", 0},
};

TEST(RecordTextImport, EachFaultIsRefusedWithItsLineAndAClearMessage) {
  const std::string valid = ExportRecordText(ADemoRecord());
  for (const Fault& fault : kFaults) {
    const std::string text = Replaced(valid, fault.from, fault.to);
    const ImportedRecord imported = ImportRecordText(text);
    EXPECT_FALSE(imported.record) << fault.what;
    EXPECT_EQ(imported.refusal.message, fault.message) << fault.what;
    EXPECT_EQ(imported.refusal.line, LineOf(valid, fault.from) + fault.linesAfterChange) << fault.what;
  }
}

TEST(RecordTextImport, AMissingFieldIsNamedAtItsSectionsHeader) {
  const std::string text = Replaced(ExportRecordText(ADemoRecord()), "lineAction = 0\nanalog1Enabled = 0\nanalog1Volts = 2.5", "analog1Enabled = 0\nanalog1Volts = 2.5");
  const ImportedRecord imported = ImportRecordText(text);
  EXPECT_EQ(imported.refusal.message, "[function 1] has no lineAction");
  EXPECT_EQ(imported.refusal.line, LineOf(text, "[function 1]"));
}

TEST(RecordTextImport, AMissingSpareOrSectionIsNamedAtTheEndOfTheText) {
  const std::string valid = ExportRecordText(ADemoRecord());
  const std::string withoutSpare = Replaced(valid, "spare = 00 00\n", "");
  const int lines = static_cast<int>(std::count(withoutSpare.begin(), withoutSpare.end(), '\n'));
  ImportedRecord imported = ImportRecordText(withoutSpare);
  EXPECT_EQ(imported.refusal.message, "the text has no spare line (the two spare bytes, before the first section)");
  EXPECT_EQ(imported.refusal.line, lines);

  const std::string withoutLastSection = valid.substr(0, valid.find("\n[function 8]") + 1);
  imported = ImportRecordText(withoutLastSection);
  EXPECT_EQ(imported.refusal.message, "the text has no [function 8] section");

  imported = ImportRecordText("");
  EXPECT_EQ(imported.refusal.line, 1);
  EXPECT_EQ(imported.refusal.message, "the text has no spare line (the two spare bytes, before the first section)");
}

TEST(NameText, QuotingAndUnquotingEveryNonNulByteGivesItBack) {
  std::string bytes;
  for (int b = 1; b < 256; ++b) bytes += static_cast<char>(b);
  const UnquotedName back = UnquoteName(QuoteName(bytes));
  ASSERT_TRUE(back.bytes) << back.refusal;
  EXPECT_EQ(*back.bytes, bytes);
}

TEST(NameText, OverlongUtf8IsRefused) {
  // 0xC1 0x81 would spell 'A' in two bytes.
  EXPECT_EQ(UnquoteName("\"\xC1\x81\"").refusal, "the name is not valid UTF-8");
}

}  // namespace
