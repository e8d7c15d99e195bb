#include "device/ExpanderFrames.h"

#include <array>

namespace {

using namespace low_byte;

// Frame values: the line levels, derived from the shadow, then the bytes sent.
enum ExpanderValue : std::uint8_t {
  kOpen,            // bus enabled, clock high, data as in the shadow
  kStartLow,        // data falls while the clock is high: start condition
  kClockLow,        // clock and data low; the level between clocked bytes
  kClockHigh,       // clock rises with data low
  kStopHigh,        // data rises while the clock is high: stop condition
  kDisabled,        // bus disabled; the new shadow
  kRepeatHigh,      // clock and data high together, before a repeated start
  kRepeatStartLow,  // data falls while the clock is high: repeated start
  kWriteAddress,
  kReadAddress,
  kRegister,
  kPort0,
  kPort1,
  kExpanderValueCount
};

// 6 MHz / (1 + 66): about 89.6 kHz.
constexpr std::uint16_t kExpanderClockDivisor = 66;
constexpr std::uint8_t kAddressWrite = 0x40;
constexpr std::uint8_t kAddressRead = 0x41;

// The acknowledge bit after each byte: the host releases the data line and
// clocks one bit in.
constexpr FrameStep kReleaseDataLine = SetLines(kClockLow, kReleaseData);
constexpr FrameStep kClockAcknowledgeIn = Command(kBitsInFallingLsbFirst, 0x00);
constexpr FrameStep kClockByteIn = Command(kBytesInFalling, 0x00, 0x00);

// The repeated line commands hold the lines between clocked bytes; they make
// no clock pulses.
constexpr FrameStep kWriteFrame[] = {
    SetDivisor(kExpanderClockDivisor),
    SetLines(kOpen, kDriveData, 4),
    SetLines(kStartLow, kDriveData, 4),
    SetLines(kClockLow, kDriveData, 1),
    ClockByteOut(kWriteAddress), kReleaseDataLine, kClockAcknowledgeIn,
    SetLines(kClockLow, kDriveData, 26),
    ClockByteOut(kRegister), kReleaseDataLine, kClockAcknowledgeIn,
    SetLines(kClockLow, kDriveData, 26),
    ClockByteOut(kPort0), kReleaseDataLine, kClockAcknowledgeIn,
    SetLines(kClockLow, kDriveData, 26),
    ClockByteOut(kPort1), kReleaseDataLine, kClockAcknowledgeIn,
    SetLines(kClockLow, kDriveData, 29),
    SetLines(kClockHigh, kDriveData, 4),
    SetLines(kStopHigh, kDriveData, 3),
    SetLines(kDisabled, kDriveData, 1),
};

constexpr FrameStep kReadFrame[] = {
    SetDivisor(kExpanderClockDivisor),
    SetLines(kOpen, kDriveData, 4),
    SetLines(kStartLow, kDriveData, 4),
    SetLines(kClockLow, kDriveData, 1),
    ClockByteOut(kWriteAddress), kReleaseDataLine, kClockAcknowledgeIn,  // reply byte 0
    SetLines(kClockLow, kDriveData, 26),
    ClockByteOut(kRegister), kReleaseDataLine, kClockAcknowledgeIn,  // reply byte 1
    SetLines(kClockLow, kDriveData, 25),
    SetLines(kRepeatHigh, kDriveData, 4),
    SetLines(kRepeatStartLow, kDriveData, 4),
    SetLines(kClockLow, kDriveData, 1),
    ClockByteOut(kReadAddress), kReleaseDataLine, kClockAcknowledgeIn,  // reply byte 2
    SetLines(kClockLow, kDriveData, 30),
    kReleaseDataLine, kClockByteIn,  // reply byte 3: the register
    // The ninth clock with the data line still released: the host does not
    // acknowledge (reply byte 4).
    kClockAcknowledgeIn,
    SetLines(kClockLow, kDriveData, 25),
    kReleaseDataLine, kClockByteIn,                      // reply byte 5: the register after it
    kReleaseDataLine, kClockAcknowledgeIn,               // reply byte 6
    SetLines(kClockLow, kDriveData, 29),
    SetLines(kClockHigh, kDriveData, 4),
    SetLines(kStopHigh, kDriveData, 3),
    SetLines(kDisabled, kDriveData, 1),
};

static_assert(FrameLength(kWriteFrame) == kExpanderWriteFrameBytes);
static_assert(FrameLength(kReadFrame) == kExpanderReadFrameBytes);

using ExpanderValues = std::array<std::uint8_t, kExpanderValueCount>;

constexpr std::uint8_t Byte(int value) { return static_cast<std::uint8_t>(value); }

ExpanderValues LineLevels(std::uint8_t shadow) {
  ExpanderValues values{};
  // Both frames raise the clock line before the data line falls: after an ADC
  // or DAC frame the clock is low, and a data fall with the clock low is no
  // start condition, so the expander would ignore the whole transaction.
  values[kOpen] = Byte((shadow & ~kExpanderEnable) | kClock);
  values[kStartLow] = Byte(values[kOpen] & ~kDataOut);
  values[kClockLow] = Byte(values[kStartLow] & ~kClock);
  values[kClockHigh] = Byte(values[kClockLow] | kClock);
  values[kStopHigh] = Byte(values[kClockHigh] | kDataOut);
  values[kDisabled] = Byte(values[kStopHigh] | kExpanderEnable);
  values[kRepeatHigh] = Byte(values[kClockLow] | kClock | kDataOut);
  values[kRepeatStartLow] = Byte(values[kRepeatHigh] & ~kDataOut);
  values[kWriteAddress] = kAddressWrite;
  values[kReadAddress] = kAddressRead;
  return values;
}

}  // namespace

ExpanderWriteFrame BuildExpanderWriteFrame(std::uint8_t shadow, std::uint8_t registerNumber, std::uint8_t port0,
                                           std::uint8_t port1) {
  ExpanderValues values = LineLevels(shadow);
  values[kRegister] = registerNumber;
  values[kPort0] = port0;
  values[kPort1] = port1;
  ExpanderWriteFrame frame{};
  EmitSteps(std::span<const FrameStep>(kWriteFrame), values, frame.bytes, 0);
  frame.shadowAfter = values[kDisabled];
  return frame;
}

ExpanderReadFrame BuildExpanderReadFrame(std::uint8_t shadow, std::uint8_t registerNumber) {
  ExpanderValues values = LineLevels(shadow);
  values[kRegister] = registerNumber;
  ExpanderReadFrame frame{};
  EmitSteps(std::span<const FrameStep>(kReadFrame), values, frame.bytes, 0);
  frame.shadowAfter = values[kDisabled];
  return frame;
}
