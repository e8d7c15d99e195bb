#include "sim/AdcModel.h"

#include <algorithm>
#include <cmath>

namespace tqxsim {

namespace {
constexpr double kFullScaleVolts = 5.0;
constexpr double kLargestCode = 4095.0;
}  // namespace

void AdcModel::PowerOn() {
  selected_ = false;
  fallingEdges_ = 0;
  driving_ = false;
  result_ = 0;
  conversions_ = 0;
}

void AdcModel::Select(bool selected) {
  selected_ = selected;
  fallingEdges_ = 0;
  driving_ = false;
}

void AdcModel::ClockEdge(bool rising, EngineTicks at) {
  if (!selected_ || rising) return;
  ++fallingEdges_;
  if (fallingEdges_ == kConfigurationBits) {
    result_ = static_cast<std::uint16_t>(CodeForVolts(input_.VoltsAt(at)) << kCodeShift);
    driving_ = true;
    ++conversions_;
  } else if (fallingEdges_ > kConfigurationBits && fallingEdges_ < kConfigurationBits + kResultBits) {
    result_ = static_cast<std::uint16_t>(result_ << 1);
  } else if (fallingEdges_ == kConfigurationBits + kResultBits) {
    driving_ = false;
  }
}

bool AdcModel::DataOut() const { return !driving_ || (result_ & 0x8000) != 0; }

std::uint16_t AdcModel::CodeForVolts(double volts) {
  if (!std::isfinite(volts)) return 0;
  const double code = std::round(volts / kFullScaleVolts * kLargestCode);
  return static_cast<std::uint16_t>(std::clamp(code, 0.0, kLargestCode));
}

}  // namespace tqxsim
