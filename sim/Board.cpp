#include "sim/Board.h"

namespace tqxsim {

namespace {

constexpr std::uint8_t kPulledUp = 0xFF;

bool High(std::uint8_t levels, std::uint8_t mask) { return (levels & mask) != 0; }

}  // namespace

void Board::Drive(std::uint8_t value, std::uint8_t direction, EngineTicks at) {
  const auto after = static_cast<std::uint8_t>((value & direction) | (kPulledUp & ~direction));
  const std::uint8_t changed = levels_ ^ after;
  levels_ = after;
  if (changed == 0) return;
  if (changed & line::kAdcSelect) adc_.Select(!High(after, line::kAdcSelect));
  if (changed & line::kDacSelect) dac_.Select(!High(after, line::kDacSelect));

  // Behind the open switch the expander sees its own pulled-up idle lines.
  const bool expanderConnected = !High(after, line::kExpanderEnable);
  expander_.Sense(!expanderConnected || High(after, line::kClock), !expanderConnected || High(after, line::kDataOut));

  if (changed & line::kClock) {
    const bool rising = High(after, line::kClock);
    adc_.ClockEdge(rising, at);
    dac_.ClockEdge(rising, High(after, line::kDataOut));
  }
}

bool Board::DataIn() const {
  bool level = true;
  if (!High(levels_, line::kExpanderEnable)) level = High(levels_, line::kDataOut) && !expander_.PullsDataLow();
  if (!High(levels_, line::kAdcSelect)) level = level && adc_.DataOut();
  return level;
}

}  // namespace tqxsim
