// Writes the demo's "tqxdata.bin" into the working directory, unless one is
// there already: three functions that listen to the simulated module's demo
// tones and switch lines, relays and analog outputs, so a newcomer's first run
// shows the monitor working from tone to relay. An existing file is never
// touched: it may hold the user's own setup by now.
#include <cstdio>
#include <filesystem>
#include <string_view>

#include "config/ConfigFile.h"
#include "config/FunctionFields.h"
#include "sim/DemoProgramme.h"

namespace {

constexpr int kNoChoice = -1;
constexpr int kHigh = 0, kLow = 1, kToggle = 2;  // line actions; relays: Close, Open, Toggle
constexpr int kClose = 0, kOpen = 1;
constexpr int kLineP00 = 0;

// A function with one trigger bin and nothing enabled yet.
FunctionFields Define(ConfigRecord& record, int function, int bin, std::string_view name, int requiredCount) {
  FunctionFields fields(record, function);
  fields.Bins({bin}).Name(name).Count(requiredCount).Line(kNoChoice, kNoChoice, 0);
  for (int relay = 1; relay <= 4; ++relay) fields.Relay(relay, kNoChoice, 0);
  return fields;
}

ConfigRecord DemoRecord() {
  constexpr auto bins = tqxsim::DemoToneBins();
  ConfigRecord record{};

  Define(record, 1, bins[0], "Tone A: close K1, P00 on", 5).Line(kLineP00, kHigh).Relay(1, kClose).Analog(1, 2.5f);
  Define(record, 2, bins[1], "Tone B: open K1, P00 off", 5).Line(kLineP00, kLow).Relay(1, kOpen).Analog(1, 0.0f);
  Define(record, 3, bins[2], "Tone C: toggle K2", 10).Relay(2, kToggle).Analog(2, 3.3f);
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
