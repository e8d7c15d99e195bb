#pragma once
// A long run's progress on a terminal.
#include <algorithm>
#include <ostream>

#include "tools/tqxscan/RecordingScan.h"

// How far a scan has come, drawn in place on a terminal. The scan's own lines
// may go to the same terminal: the progress line is wiped before each, and
// drawn again, below them, at its next step.
class ProgressLine {
 public:
  ProgressLine(std::ostream& out, std::ostream& err, bool shown, ScanWindow window, double recordingSeconds)
      : out_(out), err_(err), shown_(shown), fromSeconds_(window.fromSeconds),
        spanSeconds_(std::min(window.toSeconds, recordingSeconds) - window.fromSeconds) {}
  ~ProgressLine() { Wipe(); }
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  void At(double seconds) {
    if (!shown_ || seconds < nextSeconds_) return;
    nextSeconds_ = seconds + kStepSeconds;
    const double done = seconds - fromSeconds_;
    out_.flush();
    err_ << "\rtqxscan: " << static_cast<int>(100.0 * done / spanSeconds_) << " % ("
         << static_cast<long long>(done / kSecondsPerMinute) << " of "
         << static_cast<long long>(spanSeconds_ / kSecondsPerMinute) << " min)" << std::flush;
    drawn_ = true;
  }

  void Wipe() {
    if (!drawn_) return;
    err_ << "\r\033[K" << std::flush;
    drawn_ = false;
  }

 private:
  // Redrawn at most this often, in recording time.
  static constexpr double kStepSeconds = 60.0;
  static constexpr double kSecondsPerMinute = 60.0;

  std::ostream& out_;
  std::ostream& err_;
  bool shown_;
  double fromSeconds_;
  double spanSeconds_;
  double nextSeconds_ = 0.0;
  bool drawn_ = false;
};
