#include "detect/FunctionActions.h"

#include <array>
#include <optional>

#include "device/DacFrame.h"
#include "device/Expander.h"

namespace {

// The stored action of a line or relay: 0 drives the bit high (closes a
// relay), 1 low (opens it), 2 inverts it; anything else does nothing.
std::optional<LineAction> StoredAction(std::int32_t action) {
  switch (action) {
    case 0: return LineAction::High;
    case 1: return LineAction::Low;
    case 2: return LineAction::Toggle;
    default: return std::nullopt;
  }
}

// A stored enable field switches its step on only when it holds exactly 1:
// 0, 2 and -1 all mean off.
bool Enabled(std::int32_t field) { return field == 1; }

struct AnalogStep {
  int channel;
  FunctionInts ConfigRecord::*enabled;
  FunctionFloats ConfigRecord::*volts;
};

constexpr std::array<AnalogStep, 2> kAnalogSteps{{
    {1, &ConfigRecord::analog1Enabled, &ConfigRecord::analog1Volts},
    {2, &ConfigRecord::analog2Enabled, &ConfigRecord::analog2Volts},
}};

struct RelayStep {
  ExpanderLine relay;
  FunctionInts ConfigRecord::*enabled;
  FunctionInts ConfigRecord::*action;
};

constexpr std::array<RelayStep, 4> kRelaySteps{{
    {ExpanderLine::K1, &ConfigRecord::relay1Enabled, &ConfigRecord::relay1Action},
    {ExpanderLine::K2, &ConfigRecord::relay2Enabled, &ConfigRecord::relay2Action},
    {ExpanderLine::K3, &ConfigRecord::relay3Enabled, &ConfigRecord::relay3Action},
    {ExpanderLine::K4, &ConfigRecord::relay4Enabled, &ConfigRecord::relay4Action},
}};

}  // namespace

void RunFunction(DriverTable& table, const ConfigRecord& record, int function, const bool& closeBegun) {
  if (function < 1 || function > kFunctionCount) return;

  if (Enabled(record.lineEnabled[function])) {
    const std::optional<ExpanderLine> line = DigitalLineForSelect(record.lineSelect[function]);
    const std::optional<LineAction> action = StoredAction(record.lineAction[function]);
    if (line && action && !closeBegun) DriveExpanderLine(table, *line, *action);
  }

  for (const AnalogStep& step : kAnalogSteps) {
    if (!Enabled((record.*step.enabled)[function])) continue;
    // The Function Setup dialog does not refuse such volts, and a data file
    // written by other means can hold anything: they stop here, before the
    // analog output would turn them into some other voltage.
    const float volts = (record.*step.volts)[function];
    if (AnalogVoltsInRange(volts) && !closeBegun) WriteAnalogChannel(table, step.channel, volts);
  }

  for (const RelayStep& step : kRelaySteps) {
    if (!Enabled((record.*step.enabled)[function])) continue;
    const std::optional<LineAction> action = StoredAction((record.*step.action)[function]);
    if (action && !closeBegun) DriveExpanderLine(table, step.relay, *action);
  }
}
