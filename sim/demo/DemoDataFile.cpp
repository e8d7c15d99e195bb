// Writes the demo's "tqxdata.bin" into the working directory, unless one is
// there already: three functions that listen to the simulated module's demo
// tones and switch lines, relays and analog outputs, so a newcomer's first run
// shows the monitor working from tone to relay. An existing file is never
// touched: it may hold the user's own setup by now.
#include <cstdio>
#include <filesystem>
#include <string_view>

#include "config/ConfigFile.h"
#include "sim/DemoProgramme.h"

namespace {

constexpr int kNoChoice = -1;
constexpr int kHigh = 0, kLow = 1, kToggle = 2;  // line actions; relays: Close, Open, Toggle
constexpr int kClose = 0, kOpen = 1;
constexpr int kLineP00 = 0;

// A function with one trigger bin and nothing enabled yet.
void Define(ConfigRecord& record, int function, int bin, std::string_view name, int requiredCount) {
  record.triggerBin1[function] = bin;
  StoreFunctionName(record, function, name);
  record.requiredCount[function] = requiredCount;
  record.lineSelect[function] = kNoChoice;
  record.lineAction[function] = kNoChoice;
  for (FunctionInts* action : {&record.relay1Action, &record.relay2Action, &record.relay3Action, &record.relay4Action}) {
    (*action)[function] = kNoChoice;
  }
}

ConfigRecord DemoRecord() {
  constexpr auto bins = tqxsim::DemoToneBins();
  ConfigRecord record{};

  Define(record, 1, bins[0], "Tone A: close K1, P00 on", 5);
  record.lineEnabled[1] = 1;
  record.lineSelect[1] = kLineP00;
  record.lineAction[1] = kHigh;
  record.relay1Enabled[1] = 1;
  record.relay1Action[1] = kClose;
  record.analog1Enabled[1] = 1;
  record.analog1Volts[1] = 2.5f;

  Define(record, 2, bins[1], "Tone B: open K1, P00 off", 5);
  record.lineEnabled[2] = 1;
  record.lineSelect[2] = kLineP00;
  record.lineAction[2] = kLow;
  record.relay1Enabled[2] = 1;
  record.relay1Action[2] = kOpen;
  record.analog1Enabled[2] = 1;
  record.analog1Volts[2] = 0.0f;

  Define(record, 3, bins[2], "Tone C: toggle K2", 10);
  record.relay2Enabled[3] = 1;
  record.relay2Action[3] = kToggle;
  record.analog2Enabled[3] = 1;
  record.analog2Volts[3] = 3.3f;
  return record;
}

}  // namespace

int main() {
  if (std::filesystem::exists(kDataFileName)) return 0;
  if (const std::error_code error = WriteConfigFile(DemoRecord())) {
    std::fprintf(stderr, "demo: %s could not be written: %s\n", kDataFileName, error.message().c_str());
    return 1;
  }
  std::printf("demo: wrote %s with three functions listening to the demo tones\n", kDataFileName);
  return 0;
}
