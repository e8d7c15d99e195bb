#include "sim/DacModel.h"

namespace tqxsim {

namespace {

constexpr std::uint8_t kChannel1Byte = 0x30;
constexpr std::uint8_t kChannel2Byte = 0x31;
constexpr double kFullScaleVolts = 5.0;
constexpr double kLargestCode = 4095.0;

}  // namespace

void DacModel::PowerOn() {
  selected_ = false;
  bits_ = 0;
  shift_ = 0;
  channels_ = {};
}

void DacModel::Select(bool selected) {
  if (selected_ && !selected) Latch();
  selected_ = selected;
  bits_ = 0;
  shift_ = 0;
}

void DacModel::ClockEdge(bool rising, bool dataLine) {
  if (!selected_ || !rising) return;
  shift_ = (shift_ << 1) | (dataLine ? 1u : 0u);
  ++bits_;
}

AnalogOutput DacModel::Channel(int channel) const { return channels_[channel == 1 ? 0 : 1]; }

// A word of any other length, or for another channel byte, is dropped, as a
// converter that never saw a whole command would.
void DacModel::Latch() {
  if (bits_ == 0) return;
  const auto channelByte = static_cast<std::uint8_t>((shift_ >> 16) & 0xFF);
  if (bits_ != kWordBits) {
    log_.Say("DAC ignored a word of %d bits", bits_);
    return;
  }
  if (channelByte != kChannel1Byte && channelByte != kChannel2Byte) {
    log_.Say("DAC ignored a word for channel byte 0x%02X", channelByte);
    return;
  }
  const int channel = channelByte == kChannel1Byte ? 1 : 2;
  AnalogOutput& output = channels_[channel - 1];
  const auto code = static_cast<std::uint16_t>((shift_ & 0xFFFF) >> 4);
  const bool changed = output.channelByte == 0 || output.code != code;
  output = {channelByte, code, code * kFullScaleVolts / kLargestCode};
  if (changed) log_.Say("analog %d = %.3f V", channel, output.volts);
}

}  // namespace tqxsim
