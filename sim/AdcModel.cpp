#include "sim/AdcModel.h"

#include <algorithm>
#include <cmath>

#include "sim/MessageLog.h"

namespace tqxsim {

namespace {
constexpr double kFullScaleVolts = 5.0;
constexpr double kLargestCode = 4095.0;
}  // namespace

void AdcModel::PowerOn() {
  Select(false);
  result_ = 0;
  conversions_ = 0;
}

void AdcModel::Select(bool selected) {
  selected_ = selected;
  risingEdges_ = 0;
  configuration_ = 0;
  driving_ = false;
  reportedHostDrive_ = false;
}

// Counted from the rising edges, the ones on which the ADC takes the host's
// bits: a clock that falls while the select line falls is no bit.
void AdcModel::ClockEdge(bool rising, bool hostData, bool hostDrivesData, EngineTicks at) {
  if (!selected_) return;
  if (rising) {
    ++risingEdges_;
    if (risingEdges_ <= kConfigurationBits) {
      TakeConfigurationBit(hostData);
    } else if (driving_ && hostDrivesData && !reportedHostDrive_) {
      reportedHostDrive_ = true;
      faults_.ChipFault("host drives its data line during the ADC's result bits instead of letting it go");
    }
    return;
  }
  if (risingEdges_ == kConfigurationBits && !driving_) {
    EndConfiguration(at);
  } else if (risingEdges_ > kConfigurationBits && risingEdges_ < kConfigurationBits + kResultBits) {
    result_ = static_cast<std::uint16_t>(result_ << 1);
  } else if (risingEdges_ == kConfigurationBits + kResultBits) {
    driving_ = false;
  }
}

void AdcModel::TakeConfigurationBit(bool bit) {
  configuration_ = static_cast<std::uint8_t>((configuration_ << 1) | (bit ? 1 : 0));
}

void AdcModel::EndConfiguration(EngineTicks at) {
  if (configuration_ != kStartAndConfiguration) {
    char bits[kConfigurationBits + 1] = {};
    for (int bit = 0; bit < kConfigurationBits; ++bit) {
      bits[bit] = (configuration_ >> (kConfigurationBits - 1 - bit)) & 1 ? '1' : '0';
    }
    faults_.ChipFault(Formatted("ADC start and configuration bits %s, not 1111; nothing converted", bits));
    return;
  }
  result_ = static_cast<std::uint16_t>(CodeForVolts(input_.VoltsAt(at)) << kCodeShift);
  driving_ = true;
  ++conversions_;
}

bool AdcModel::DataOut() const { return !driving_ || (result_ & 0x8000) != 0; }

std::uint16_t AdcModel::CodeForVolts(double volts) {
  if (!std::isfinite(volts)) return 0;
  const double code = std::round(volts / kFullScaleVolts * kLargestCode);
  return static_cast<std::uint16_t>(std::clamp(code, 0.0, kLargestCode));
}

}  // namespace tqxsim
