#pragma once
// The module's wiring between the serial engine's eight low-byte lines and
// its three chips. Lines the engine does not drive are pulled high. The ADC
// and the DAC hang on the clock, data-out and data-in lines with a select line
// each; the expander's clock and data lines sit behind a bus switch that line 5
// closes (active low), its data line tied to both data-out and data-in, so that
// the engine reads what the expander drives once it lets go of data-out.
//
// Every change of the lines becomes events for the chips. Within one line
// command the SPI chips see their select lines settle before the clock, and
// the expander sees the levels behind its switch move at once (data before
// clock, as it takes any simultaneous change). The chips also learn whether
// the host drives its data line or has let it go.
//
// A sample the engine takes at a clock edge sees each chip's output as that
// chip holds it across the edge: the expander keeps its data line through the
// falling edge, as I2C parts do, while the ADC changes its output at that edge
// with no hold time.
#include <cstdint>

#include "sim/AdcModel.h"
#include "sim/DacModel.h"
#include "sim/ExpanderModel.h"
#include "sim/ModelledTiming.h"

namespace tqxsim {

namespace line {
inline constexpr std::uint8_t kClock = 0x01;
inline constexpr std::uint8_t kDataOut = 0x02;
inline constexpr std::uint8_t kDataIn = 0x04;
inline constexpr std::uint8_t kAdcSelect = 0x08;       // active low
inline constexpr std::uint8_t kDacSelect = 0x10;       // active low
inline constexpr std::uint8_t kExpanderEnable = 0x20;  // active low
}  // namespace line

class Board {
 public:
  Board(AdcModel& adc, DacModel& dac, ExpanderModel& expander) : adc_(adc), dac_(dac), expander_(expander) {}

  // Every line undriven (pulled high), the chips told nothing: power-on.
  void PowerOn();
  // Every line let go (pulled high), as a bit-mode reset does.
  void Release(EngineTicks at) { Drive(0, 0, at); }
  // The engine's line values and directions (1 = output) from this moment on.
  void Drive(std::uint8_t value, std::uint8_t direction, EngineTicks at);
  // The level a sample taken at the clock edge just driven reads on the data-in line.
  bool SampledDataIn() const;

 private:
  AdcModel& adc_;
  DacModel& dac_;
  ExpanderModel& expander_;
  std::uint8_t levels_ = 0xFF;
  std::uint8_t direction_ = 0;
  bool expanderPulledLowAtEdge_ = false;  // before the last clock edge reached it
};

}  // namespace tqxsim
