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
  risingEdges_ = 0;
  driving_ = false;
  result_ = 0;
  conversions_ = 0;
}

void AdcModel::Select(bool selected) {
  selected_ = selected;
  risingEdges_ = 0;
  driving_ = false;
}

// Counted from the rising edges, the ones on which the ADC takes the host's
// bits: a clock that falls while the select line falls is no bit.
void AdcModel::ClockEdge(bool rising, EngineTicks at) {
  if (!selected_) return;
  if (rising) {
    ++risingEdges_;
    return;
  }
  if (risingEdges_ == kConfigurationBits && !driving_) {
    result_ = static_cast<std::uint16_t>(CodeForVolts(input_.VoltsAt(at)) << kCodeShift);
    driving_ = true;
    ++conversions_;
  } else if (risingEdges_ > kConfigurationBits && risingEdges_ < kConfigurationBits + kResultBits) {
    result_ = static_cast<std::uint16_t>(result_ << 1);
  } else if (risingEdges_ == kConfigurationBits + kResultBits) {
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
