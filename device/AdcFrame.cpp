#include "device/AdcFrame.h"

#include "device/SharedBus.h"

namespace {

using namespace low_byte;

// Frame values, derived from the line shadow.
enum AdcValue : std::uint8_t { kSelected, kDeselected, kAdcValueCount };

// 6 MHz / (1 + 72): about 82.2 kHz, so 128 conversions of 20 clocks take
// about 31 ms.
constexpr std::uint16_t kAdcClockDivisor = 72;

constexpr FrameStep kHead[] = {SetDivisor(kAdcClockDivisor)};

constexpr FrameStep kConversion[] = {
    SetLines(kSelected, kDriveData),
    Command(kBitsOutFalling, 0x03, 0xF0),  // four start bits, 1 1 1 1
    SetLines(kSelected, kReleaseData),
    Command(kBytesInRising, 0x01, 0x00),  // two bytes in
    SetLines(kDeselected, kDriveData),
};

static_assert(FrameLength(kHead) + kConversionsPerFrame * FrameLength(kConversion) == kAdcFrameBytes);

// The single-precision value nearest 1/4095 (bit pattern 0x39800801). The
// converted volts are defined by this float widened to double, not by 1/4095.
constexpr float kReciprocalOf4095 = 2.4420026e-4f;
constexpr double kAdcReferenceVolts = 5.0;

}  // namespace

AdcFrame BuildAdcFrame(std::uint8_t shadow) {
  std::array<std::uint8_t, kAdcValueCount> values{};
  values[kSelected] = static_cast<std::uint8_t>(shadow & ~(kClock | kAdcSelect));
  values[kDeselected] = static_cast<std::uint8_t>(values[kSelected] | kAdcSelect);

  AdcFrame frame{};
  std::size_t at = EmitSteps(std::span<const FrameStep>(kHead), values, frame.bytes, 0);
  EmitRepeatedGroup(std::span<const FrameStep>(kConversion), values, frame.bytes, at, kConversionsPerFrame);
  frame.shadowAfter = values[kDeselected];
  return frame;
}

double ConversionVolts(std::uint8_t high, std::uint8_t low) {
  const unsigned code = (unsigned{high} << 5) | (unsigned{low} >> 3);
  return code * static_cast<double>(kReciprocalOf4095) * kAdcReferenceVolts;
}

bool ReadSampleFrame(DriverTable& table, std::span<double, kConversionsPerFrame> samples,
                     ExchangeFailureNotice beforeReport) {
  if (!DeviceLinkOpen(table)) return false;
  const AdcFrame frame = BuildAdcFrame(GpioLowShadow.load());
  GpioLowShadow.store(frame.shadowAfter);

  std::array<std::uint8_t, kAdcReplyBytes> reply;
  // A failed write is not reported: the next cycle simply tries again.
  if (!ExchangeFrame(table, frame.bytes, reply, "", beforeReport)) return false;
  for (std::size_t k = 0; k < kConversionsPerFrame; ++k) {
    samples[k] = ConversionVolts(reply[2 * k], reply[2 * k + 1]);
  }
  return true;
}
