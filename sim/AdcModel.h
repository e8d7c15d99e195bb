#pragma once
// The module's 12-bit ADC on the serial engine's SPI lines, selected by line 3
// (active low). Selected, it takes 4 bits from the host (start and
// configuration; the module has one input, so they are only counted), samples
// its analog input at the falling clock edge that ends them, and then shifts
// out 16 bits, most significant first, changing its output on each falling
// edge: the 12-bit code shifted left by three.
#include <cstdint>

#include "sim/ModelledTiming.h"

namespace tqxsim {

// Where the ADC's input voltage comes from, at a modelled moment.
class AnalogInput {
 public:
  virtual double VoltsAt(EngineTicks at) = 0;

 protected:
  ~AnalogInput() = default;
};

class AdcModel {
 public:
  explicit AdcModel(AnalogInput& input) : input_(input) {}

  void PowerOn();
  void Select(bool selected);
  void ClockEdge(bool rising, EngineTicks at);
  // The level the ADC puts on the data-in line; high (pulled up) while it does not drive it.
  bool DataOut() const;

  std::uint64_t Conversions() const { return conversions_; }

  // 0 to 5 V in 4096 steps, rounded to the nearest code and clamped at the
  // ends: a steady 2.5 V gives 2048.
  static std::uint16_t CodeForVolts(double volts);

 private:
  static constexpr int kConfigurationBits = 4;
  static constexpr int kResultBits = 16;
  static constexpr int kCodeShift = 3;  // the result carries code << 3

  AnalogInput& input_;
  bool selected_ = false;
  int risingEdges_ = 0;
  bool driving_ = false;
  std::uint16_t result_ = 0;
  std::uint64_t conversions_ = 0;
};

}  // namespace tqxsim
