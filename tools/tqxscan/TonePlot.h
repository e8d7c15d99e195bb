#pragma once
// The picture `tqxscan --plot` draws, as SVG: time across, 0 to 2 kHz up, the
// module's bins faintly behind, each tone found as a bar at its frequency and
// each function's fires as marks under the time axis. Tones and fires are
// gathered into the picture's columns, so a day-long recording draws no more
// than a minute-long one.
#include <array>
#include <iosfwd>
#include <string>
#include <vector>

#include "config/ConfigRecord.h"
#include "tools/tqxscan/FoundTones.h"

class TonePlot {
 public:
  TonePlot(std::string title, double fromSeconds, double toSeconds);

  void AddFire(int function, double seconds);
  // functions: those whose fires were added, each with a row of marks
  // beside its name; none without a data file.
  void Write(std::ostream& out, const ToneFindings& findings, const ConfigRecord* functions) const;

 private:
  int Column(double seconds) const;

  std::string title_;
  double fromSeconds_;
  double toSeconds_;
  std::array<std::vector<bool>, kFunctionCount + 1> fires_;  // per function, per column
};
