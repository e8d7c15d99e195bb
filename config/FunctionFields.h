#pragma once
// Fills in one function of a record by hand, a group of fields at a time, for
// the demo's data file, the fuzz seeds and the tests. A field it is not told
// about keeps what the record held; "enabled" is given as the record stores
// it, so an action can stand without its tick as a file may have it.
#include <array>
#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "config/ConfigRecord.h"

class FunctionFields {
 public:
  FunctionFields(ConfigRecord& record, int function) : record_(record), function_(function) {}

  FunctionFields& Name(std::string_view name) {
    StoreFunctionName(record_, function_, name);
    return *this;
  }
  // The trigger bins from the first on, as many as given.
  FunctionFields& Bins(std::initializer_list<std::int32_t> bins) {
    FunctionInts* fields[] = {&record_.triggerBin1, &record_.triggerBin2, &record_.triggerBin3};
    int slot = 0;
    for (const std::int32_t bin : bins) (*fields[slot++])[function_] = bin;
    return *this;
  }
  FunctionFields& Count(std::int32_t requiredCount) {
    record_.requiredCount[function_] = requiredCount;
    return *this;
  }
  FunctionFields& Line(std::int32_t select, std::int32_t action, std::int32_t enabled = 1) {
    record_.lineEnabled[function_] = enabled;
    record_.lineSelect[function_] = select;
    record_.lineAction[function_] = action;
    return *this;
  }
  // channel: 1 or 2.
  FunctionFields& Analog(int channel, float volts, std::int32_t enabled = 1) {
    (channel == 1 ? record_.analog1Enabled : record_.analog2Enabled)[function_] = enabled;
    (channel == 1 ? record_.analog1Volts : record_.analog2Volts)[function_] = volts;
    return *this;
  }
  // relay: 1 to 4 (K1 to K4).
  FunctionFields& Relay(int relay, std::int32_t action, std::int32_t enabled = 1) {
    const std::array<FunctionInts*, 4> enables = {&record_.relay1Enabled, &record_.relay2Enabled,
                                                  &record_.relay3Enabled, &record_.relay4Enabled};
    const std::array<FunctionInts*, 4> actions = {&record_.relay1Action, &record_.relay2Action,
                                                  &record_.relay3Action, &record_.relay4Action};
    (*enables[relay - 1])[function_] = enabled;
    (*actions[relay - 1])[function_] = action;
    return *this;
  }

 private:
  ConfigRecord& record_;
  int function_;
};
