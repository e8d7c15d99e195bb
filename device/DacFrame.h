#pragma once
// The two-channel 12-bit DAC (0 to 5 V): volts to code, and its 12-byte frame.
#include <cstddef>
#include <cstdint>

#include "device/DriverTable.h"
#include "device/FrameProgram.h"

// 4095 codes over 5 V, in codes per volt.
inline constexpr double VOLTS_TO_CODE = 819.0000163800004;
inline constexpr std::int32_t kMaxDacCode = 4095;

// What the analog outputs can deliver, in volts, both ends included.
inline constexpr float kAnalogMinVolts = 0.0f;
inline constexpr float kAnalogMaxVolts = 5.0f;
// False for volts outside 0 to 5 V and for a value that is not a number.
constexpr bool AnalogVoltsInRange(float volts) { return volts >= kAnalogMinVolts && volts <= kAnalogMaxVolts; }
// What a user who typed such a value is told.
inline constexpr const char* kVoltsOutOfRangeMessage =
    "Requested voltage out of range.  Please enter a value between 0 and 5 volts.";

inline constexpr std::size_t kDacFrameBytes = 12;
using DacFrame = CommandFrame<kDacFrameBytes>;

// volts × VOLTS_TO_CODE in double precision, truncated toward zero (2.5 V gives
// 2047, 4.99 V gives 4086). Volts outside 0 to 5 V give 0 or 4095 and a value
// that is not a number gives 0: a 12-bit code cannot carry more, and the bare
// conversion would wrap the code round (5.01 V would come out near 0 V).
std::int32_t VoltsToCode(float volts);

// Selects the DAC with the clock low, clocks out the channel byte (0x30 for
// channel 1, 0x31 for any other number) and the code's twelve bits in two
// bytes, deselects. No divisor: it runs at whichever the previous frame set.
// Leaves (shadow & 0xEE) | 0x10.
DacFrame BuildDacFrame(std::uint8_t shadow, int channel, std::int32_t code);

// Sets channel 1 or 2 to volts. Failure: "Error writing to DAC. 5". Window
// thread only.
void WriteAnalogChannel(DriverTable& table, int channel, float volts);
