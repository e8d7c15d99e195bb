#pragma once
// The module's two-channel 12-bit DAC (0 to 5 V) on the serial engine's SPI
// lines, selected by line 4 (active low). It shifts in the data line on each
// rising clock edge while selected and, when deselected after exactly 24 bits,
// latches them: a channel byte (0x30 channel 1, 0x31 channel 2), then the code
// shifted left by four in 16 bits.
#include <array>
#include <cstdint>

#include "sim/MessageLog.h"
#include "sim/SimControl.h"

namespace tqxsim {

class DacModel {
 public:
  explicit DacModel(MessageLog& log) : log_(log) {}

  void PowerOn();
  void Select(bool selected);
  void ClockEdge(bool rising, bool dataLine);
  AnalogOutput Channel(int channel) const;  // 1 or 2

 private:
  static constexpr int kWordBits = 24;

  void Latch();

  MessageLog& log_;
  bool selected_ = false;
  int bits_ = 0;
  std::uint32_t shift_ = 0;
  std::array<AnalogOutput, 2> channels_{};
};

}  // namespace tqxsim
