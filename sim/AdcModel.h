#pragma once
// The module's 12-bit ADC on the serial engine's SPI lines, selected by line 3
// (active low). Selected, it reads 4 bits from the host's data line on the
// rising clock edges: a start bit and three configuration bits. The module
// wires its one input to the channel that the bits 1 1 1 1 select, so the ADC
// converts only for those: it samples its input at the falling clock edge
// that ends them and then shifts out 16 bits, most significant first: the
// 12-bit code shifted left by three. Other bits convert nothing and are a
// protocol error.
//
// Its output changes on each falling edge with no hold time: a host that
// samples on the rising edge reads each bit, one that samples on the falling
// edge reads the next bit instead. The host lets go of its data line for the
// 16 result bits; one that still drives it is a protocol error.
#include <cstdint>

#include "sim/ChipFaults.h"
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
  AdcModel(AnalogInput& input, ChipFaults& faults) : input_(input), faults_(faults) {}

  void PowerOn();
  void Select(bool selected);
  // hostData: the level of the host's data line (the ADC's input) at the
  // edge; hostDrivesData: whether the host drives it or has let it go.
  void ClockEdge(bool rising, bool hostData, bool hostDrivesData, EngineTicks at);
  // The level the ADC puts on the data-in line; high (pulled up) while it does not drive it.
  bool DataOut() const;

  std::uint64_t Conversions() const { return conversions_; }

  // 0 to 5 V in 4096 steps, rounded to the nearest code and clamped at the
  // ends: a steady 2.5 V gives 2048.
  static std::uint16_t CodeForVolts(double volts);

 private:
  static constexpr int kConfigurationBits = 4;
  // Start bit, single-ended, the channel the module's input is wired to, most significant bit first.
  static constexpr std::uint8_t kStartAndConfiguration = 0b1111;
  static constexpr int kResultBits = 16;
  static constexpr int kCodeShift = 3;  // the result carries code << 3

  void TakeConfigurationBit(bool bit);
  void EndConfiguration(EngineTicks at);

  AnalogInput& input_;
  ChipFaults& faults_;
  bool selected_ = false;
  int risingEdges_ = 0;
  std::uint8_t configuration_ = 0;
  bool driving_ = false;
  bool reportedHostDrive_ = false;  // once per conversion
  std::uint16_t result_ = 0;
  std::uint64_t conversions_ = 0;
};

}  // namespace tqxsim
