#include "sim/Board.h"

namespace tqxsim {

namespace {

constexpr std::uint8_t kPulledUp = 0xFF;

bool High(std::uint8_t levels, std::uint8_t mask) { return (levels & mask) != 0; }

}  // namespace

void Board::PowerOn() {
  levels_ = kPulledUp;
  direction_ = 0;
  expanderPulledLowAtEdge_ = false;
}

void Board::Drive(std::uint8_t value, std::uint8_t direction, EngineTicks at) {
  const auto after = static_cast<std::uint8_t>((value & direction) | (kPulledUp & ~direction));
  const std::uint8_t changed = levels_ ^ after;
  const bool dataReleaseChanged = ((direction_ ^ direction) & line::kDataOut) != 0;
  const bool hostDrivesData = (direction & line::kDataOut) != 0;
  levels_ = after;
  direction_ = direction;
  if (changed == 0 && !dataReleaseChanged) return;
  if (changed & line::kAdcSelect) adc_.Select(!High(after, line::kAdcSelect));
  if (changed & line::kDacSelect) dac_.Select(!High(after, line::kDacSelect));

  // Behind the open switch the expander sees its own pulled-up idle lines.
  const bool expanderConnected = !High(after, line::kExpanderEnable);
  if (changed & line::kClock) expanderPulledLowAtEdge_ = expander_.PullsDataLow();
  expander_.Sense(!expanderConnected || High(after, line::kClock), !expanderConnected || High(after, line::kDataOut),
                  expanderConnected && hostDrivesData, at);

  if (changed & line::kClock) {
    const bool rising = High(after, line::kClock);
    adc_.ClockEdge(rising, High(after, line::kDataOut), hostDrivesData, at);
    dac_.ClockEdge(rising, High(after, line::kDataOut));
  }
}

bool Board::SampledDataIn() const {
  bool level = true;
  if (!High(levels_, line::kExpanderEnable)) level = High(levels_, line::kDataOut) && !expanderPulledLowAtEdge_;
  if (!High(levels_, line::kAdcSelect)) level = level && adc_.DataOut();
  return level;
}

}  // namespace tqxsim
