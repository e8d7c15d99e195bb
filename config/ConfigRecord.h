#pragma once
// The eight user-defined functions: the program's whole configuration, stored
// byte for byte as this structure (little-endian, no padding) in the data file.
//
// Every array has nine entries indexed by function number 1 to 8; entry 0
// belongs to no function, is never read or changed, and passes through the
// file untouched, as do the two spare bytes.
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

inline constexpr int kFunctionCount = 8;
inline constexpr int kNameSlotBytes = 30;
// What the windows let a user type into a name; the slot keeps room for the NUL.
inline constexpr int kNameMaxChars = 25;
inline constexpr int kBinCount = 64;

using FunctionInts = std::array<std::int32_t, kFunctionCount + 1>;
using FunctionFloats = std::array<float, kFunctionCount + 1>;

struct ConfigRecord {
  FunctionInts triggerBin1;
  FunctionInts triggerBin2;
  FunctionInts triggerBin3;
  std::array<std::array<char, kNameSlotBytes>, kFunctionCount + 1> functionName;
  std::array<std::uint8_t, 2> spare;
  FunctionInts requiredCount;
  FunctionInts lineEnabled;
  FunctionInts lineSelect;   // 0..3 = P00..P03, 4..11 = P10..P17, -1 = none
  FunctionInts lineAction;   // 0 High, 1 Low, 2 Toggle, -1 none
  FunctionInts analog1Enabled;
  FunctionFloats analog1Volts;
  FunctionInts analog2Enabled;
  FunctionFloats analog2Volts;
  FunctionInts relay1Enabled;
  FunctionInts relay1Action;  // 0 Close, 1 Open, 2 Toggle, -1 none
  FunctionInts relay2Enabled;
  FunctionInts relay2Action;
  FunctionInts relay3Enabled;
  FunctionInts relay3Action;
  FunctionInts relay4Enabled;
  FunctionInts relay4Action;
};

inline constexpr std::size_t kConfigRecordBytes = 956;

// The file format is this memory layout, so it must hold exactly.
static_assert(std::endian::native == std::endian::little, "the data file is little-endian");
static_assert(sizeof(float) == 4 && sizeof(std::int32_t) == 4);
static_assert(sizeof(ConfigRecord) == kConfigRecordBytes);
static_assert(offsetof(ConfigRecord, triggerBin1) == 0);
static_assert(offsetof(ConfigRecord, triggerBin2) == 36);
static_assert(offsetof(ConfigRecord, triggerBin3) == 72);
static_assert(offsetof(ConfigRecord, functionName) == 108);
static_assert(offsetof(ConfigRecord, spare) == 378);
static_assert(offsetof(ConfigRecord, requiredCount) == 380);
static_assert(offsetof(ConfigRecord, lineEnabled) == 416);
static_assert(offsetof(ConfigRecord, lineSelect) == 452);
static_assert(offsetof(ConfigRecord, lineAction) == 488);
static_assert(offsetof(ConfigRecord, analog1Enabled) == 524);
static_assert(offsetof(ConfigRecord, analog1Volts) == 560);
static_assert(offsetof(ConfigRecord, analog2Enabled) == 596);
static_assert(offsetof(ConfigRecord, analog2Volts) == 632);
static_assert(offsetof(ConfigRecord, relay1Enabled) == 668);
static_assert(offsetof(ConfigRecord, relay1Action) == 704);
static_assert(offsetof(ConfigRecord, relay2Enabled) == 740);
static_assert(offsetof(ConfigRecord, relay2Action) == 776);
static_assert(offsetof(ConfigRecord, relay3Enabled) == 812);
static_assert(offsetof(ConfigRecord, relay3Action) == 848);
static_assert(offsetof(ConfigRecord, relay4Enabled) == 884);
static_assert(offsetof(ConfigRecord, relay4Action) == 920);

// The name of a function: the slot's bytes up to its NUL. A slot without a NUL
// (only a file written by other means holds one) yields all 30 bytes, never
// more.
std::string FunctionNameText(const ConfigRecord& record, int function);

// Puts the name's characters and a NUL at the start of the function's slot and
// leaves the bytes after the NUL as they were. A name too long for the slot is
// cut so that the NUL still fits.
void StoreFunctionName(ConfigRecord& record, int function, std::string_view name);

// The process-wide record, all zero until the data file is read.
extern ConfigRecord configRecord;
