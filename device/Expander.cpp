#include "device/Expander.h"

#include <string_view>

#include "device/FrameExchange.h"
#include "device/ExpanderFrames.h"
#include "device/SharedBus.h"

ExpanderRegisters ExpanderShadow;

namespace {

constexpr int kConfigurationWritesPerDrive = 3;

// The writes never read: their acknowledge bytes stay queued until the next
// reading exchange drains them.
void WriteExpanderPair(DriverTable& table, std::uint8_t registerNumber, std::uint8_t port0, std::uint8_t port1,
                       std::string_view failureMessage) {
  if (!DeviceLinkOpen(table)) return;
  const ExpanderWriteFrame frame = BuildExpanderWriteFrame(GpioLowShadow.load(), registerNumber, port0, port1);
  GpioLowShadow.store(frame.shadowAfter);

  SendFrame(table, frame.bytes, failureMessage);
}

}  // namespace

void WriteExpanderConfig(DriverTable& table, std::uint8_t port0, std::uint8_t port1) {
  WriteExpanderPair(table, kConfigurationRegister, port0, port1, "Error writing to DAC. 3");
}

void WriteExpanderOutputs(DriverTable& table, std::uint8_t port0, std::uint8_t port1) {
  WriteExpanderPair(table, kOutputRegister, port0, port1, "Error writing to DAC. 1");
}

void ReadExpanderPair(DriverTable& table, std::uint8_t& first, std::uint8_t& second, std::uint8_t registerNumber) {
  if (!DeviceLinkOpen(table)) return;
  const ExpanderReadFrame frame = BuildExpanderReadFrame(GpioLowShadow.load(), registerNumber);
  GpioLowShadow.store(frame.shadowAfter);

  std::array<std::uint8_t, kExpanderReadReplyBytes> reply;
  if (!ExchangeFrame(table, frame.bytes, reply, "Error writing to DAC. 1")) return;
  first = reply[kFirstRegisterReplyIndex];
  second = reply[kSecondRegisterReplyIndex];
}

void DriveExpanderLine(DriverTable& table, ExpanderLine line, LineAction action) {
  if (!DeviceLinkOpen(table)) return;
  const int port = PortOf(line);
  const std::uint8_t mask = BitMaskOf(line);

  ExpanderShadow.configuration[port] &= static_cast<std::uint8_t>(~mask);
  for (int i = 0; i < kConfigurationWritesPerDrive; ++i) {
    WriteExpanderConfig(table, ExpanderShadow.configuration[0], ExpanderShadow.configuration[1]);
  }

  std::uint8_t& outputs = ExpanderShadow.outputs[port];
  switch (action) {
    case LineAction::High: outputs |= mask; break;
    case LineAction::Low: outputs &= static_cast<std::uint8_t>(~mask); break;
    case LineAction::Toggle: outputs ^= mask; break;
  }
  WriteExpanderOutputs(table, ExpanderShadow.outputs[0], ExpanderShadow.outputs[1]);
}
