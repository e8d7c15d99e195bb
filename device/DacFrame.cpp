#include "device/DacFrame.h"

#include <array>

#include "device/FrameExchange.h"
#include "device/SharedBus.h"

namespace {

using namespace low_byte;

enum DacValue : std::uint8_t { kSelected, kDeselected, kChannel, kCodeHigh, kCodeLow, kDacValueCount };

constexpr std::uint8_t kChannel1 = 0x30;
constexpr std::uint8_t kChannel2 = 0x31;

constexpr FrameStep kDacFrame[] = {
    SetLines(kSelected, kDriveData),
    Command(kBytesOutFalling, 0x02, 0x00),  // the next three bytes out
    ValueBytes(kChannel, kCodeHigh, kCodeLow),
    SetLines(kDeselected, kDriveData),
};

static_assert(FrameLength(kDacFrame) == kDacFrameBytes);

}  // namespace

std::int32_t VoltsToCode(float volts) {
  const double codes = static_cast<double>(volts) * VOLTS_TO_CODE;
  if (!(codes > 0.0)) return 0;  // also a value that is not a number
  if (codes >= kMaxDacCode) return kMaxDacCode;
  return static_cast<std::int32_t>(codes);
}

DacFrame BuildDacFrame(std::uint8_t shadow, int channel, std::int32_t code) {
  std::array<std::uint8_t, kDacValueCount> values{};
  values[kSelected] = static_cast<std::uint8_t>(shadow & ~(kClock | kDacSelect));
  values[kDeselected] = static_cast<std::uint8_t>(values[kSelected] | kDacSelect);
  values[kChannel] = channel == 1 ? kChannel1 : kChannel2;
  values[kCodeHigh] = static_cast<std::uint8_t>(code >> 4);
  values[kCodeLow] = static_cast<std::uint8_t>(code << 4);

  DacFrame frame{};
  EmitSteps(std::span<const FrameStep>(kDacFrame), values, frame.bytes, 0);
  frame.shadowAfter = values[kDeselected];
  return frame;
}

void WriteAnalogChannel(DriverTable& table, int channel, float volts) {
  if (!DeviceLinkOpen(table)) return;
  const DacFrame frame = BuildDacFrame(GpioLowShadow.load(), channel, VoltsToCode(volts));
  GpioLowShadow.store(frame.shadowAfter);

  SendFrame(table, frame.bytes, "Error writing to DAC. 5");
}
