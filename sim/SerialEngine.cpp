#include "sim/SerialEngine.h"

#include <algorithm>
#include <array>

namespace tqxsim {

namespace {
constexpr int kBitsPerByte = 8;
}  // namespace

const SerialEngine::Command* SerialEngine::FindCommand(std::uint8_t opcode) {
  static constexpr std::array<Command, 7> kCommands{{
      {0x80, 2, &SerialEngine::SetLines},
      {0x86, 2, &SerialEngine::SetDivisor},
      {0x11, 2, &SerialEngine::StartBytesOut},
      {0x13, 2, &SerialEngine::BitsOut},
      {0x20, 2, &SerialEngine::BytesInOnRisingEdge},
      {0x24, 2, &SerialEngine::BytesInOnFallingEdge},
      {0x2E, 1, &SerialEngine::BitsIn},
  }};
  const auto found = std::find_if(kCommands.begin(), kCommands.end(),
                                  [opcode](const Command& command) { return command.opcode == opcode; });
  return found == kCommands.end() ? nullptr : &*found;
}

void SerialEngine::PowerOn(EngineTicks now) {
  time_ = now;
  divisor_ = kPowerOnDivisor;
  Reset(now);
}

void SerialEngine::Reset(EngineTicks now) {
  time_ = std::max(time_, now);
  pending_ = nullptr;
  operandsSeen_ = 0;
  bytesOutLeft_ = 0;
  value_ = 0;
  direction_ = kReleasedDirection;
  board_.Release(time_);
}

// An unknown command byte is reported and skipped; the engine reads the byte
// after it as the next command. A host that lost its place therefore gets one
// report for each byte until a byte happens to read as a command, and nothing
// is queued for it to read.
EngineTicks SerialEngine::Run(std::span<const std::uint8_t> bytes, EngineTicks start) {
  time_ = std::max(time_, start);
  for (offset_ = 0; offset_ < bytes.size(); ++offset_) {
    const std::uint8_t byte = byte_ = bytes[offset_];
    if (bytesOutLeft_ > 0) {
      --bytesOutLeft_;
      ClockByteOut(byte);
    } else if (pending_ == nullptr) {
      pending_ = FindCommand(byte);
      operandsSeen_ = 0;
      if (pending_ == nullptr) output_.ProtocolFault(offset_, byte, "unknown command");
    } else {
      operands_[operandsSeen_++] = byte;
      if (operandsSeen_ == pending_->operandBytes) {
        const Command* command = pending_;
        pending_ = nullptr;
        (this->*command->run)();
      }
    }
  }
  return time_;
}

void SerialEngine::SetLines() {
  time_ += kLineCommandTicks;
  value_ = operands_[0];
  direction_ = operands_[1];
  DriveLines();
}

void SerialEngine::SetDivisor() {
  time_ += kLineCommandTicks;
  divisor_ = Length16();
}

void SerialEngine::StartBytesOut() { bytesOutLeft_ = Length16() + 1; }

void SerialEngine::BitsOut() {
  const int bits = BitCount(operands_[0]);
  for (int bit = 0; bit < bits; ++bit) {
    ClockBit(true, (operands_[1] << bit) & 0x80, SampleEdge::None);
  }
}

void SerialEngine::BytesInOnRisingEdge() { BytesIn(SampleEdge::Rising); }

void SerialEngine::BytesInOnFallingEdge() { BytesIn(SampleEdge::Falling); }

void SerialEngine::BytesIn(SampleEdge edge) {
  for (unsigned byte = 0; byte <= Length16(); ++byte) {
    std::uint8_t value = 0;
    for (int bit = 0; bit < kBitsPerByte; ++bit) {
      value = static_cast<std::uint8_t>((value << 1) | (ClockBit(false, false, edge) ? 1 : 0));
    }
    output_.ReplyByte(value, time_);
  }
}

void SerialEngine::BitsIn() {
  const int bits = BitCount(operands_[0]);
  std::uint8_t value = 0;
  for (int bit = 0; bit < bits; ++bit) {
    if (ClockBit(false, false, SampleEdge::Falling)) value = static_cast<std::uint8_t>(value | (1 << bit));
  }
  if (bits > 0) output_.ReplyByte(value, time_);
}

// A bit count beyond one byte is a host error: reported, and the command does nothing.
int SerialEngine::BitCount(std::uint8_t lengthOperand) {
  const int bits = lengthOperand + 1;
  if (bits <= kMaxBitsPerBitCommand) return bits;
  output_.ProtocolFault(offset_, lengthOperand, "bit count above 8");
  return 0;
}

void SerialEngine::ClockByteOut(std::uint8_t byte) {
  for (int bit = 0; bit < kBitsPerByte; ++bit) ClockBit(true, (byte << bit) & 0x80, SampleEdge::None);
}

// One clocked bit: the clock leaves its idle level and comes back, half a
// period each way. Output data changes on the falling edge: with the clock
// idle low that is the previous bit's last edge, so the bit goes out at once;
// with the clock idle high it goes out at this bit's first edge. A sampled bit
// is taken at the edge the command names and reads what each chip shows
// across that edge (Board::SampledDataIn), so a command that samples on the
// other edge than the chip's output suits reads other bits.
bool SerialEngine::ClockBit(bool drivesData, bool dataBit, SampleEdge sampleOn) {
  const bool idleHigh = (value_ & line::kClock) != 0;
  const auto setData = [&] {
    value_ = static_cast<std::uint8_t>(dataBit ? (value_ | line::kDataOut) : (value_ & ~line::kDataOut));
  };
  if (drivesData && !idleHigh) {
    setData();
    DriveLines();
  }
  bool sampled = true;
  for (const bool toHigh : {!idleHigh, idleHigh}) {
    time_ += HalfPeriodTicks(divisor_);
    value_ = static_cast<std::uint8_t>(toHigh ? (value_ | line::kClock) : (value_ & ~line::kClock));
    DriveLines();
    if (sampleOn == (toHigh ? SampleEdge::Rising : SampleEdge::Falling)) sampled = board_.SampledDataIn();
    if (drivesData && idleHigh && !toHigh) {
      setData();
      DriveLines();
    }
  }
  return sampled;
}

void SerialEngine::DriveLines() { board_.Drive(value_, direction_, time_); }

}  // namespace tqxsim
