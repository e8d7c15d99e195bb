#include "tools/tqxscan/TonePlot.h"

#include <algorithm>
#include <cmath>
#include <ostream>

#include "dsp/PeakSearch.h"
#include "sim/ModelledTiming.h"
#include "tools/tqxscan/ReportText.h"

namespace {

constexpr int kWidth = 1000;
constexpr int kLeft = 150;
constexpr int kColumns = 790;  // the plot's width, one column per pixel
constexpr int kTop = 40;
constexpr int kPlotHeight = 380;
constexpr int kAxisY = kTop + kPlotHeight;
constexpr int kFireRowHeight = 10;
constexpr int kHeight = kAxisY + 40 + kFunctionCount * kFireRowHeight;
constexpr double kTopHz = tqxsim::kModelledSampleRateHz / 2;
constexpr int kLabelGapColumns = 140;  // between two labels of one tone
constexpr int kBarHeight = 5;
constexpr int kTimeSteps = 8;

double YOf(double hz) { return kTop + kPlotHeight * (1.0 - hz / kTopHz); }

std::string Escaped(const std::string& text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

std::string TimeText(double seconds) {
  const auto whole = static_cast<long long>(std::floor(seconds + 0.05));
  if (whole < 60) return Formatted("%.1f s", seconds);
  if (whole < 3600) return Formatted("%lld:%02lld", whole / 60, whole % 60);
  return Formatted("%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60, whole % 60);
}

// A step of 1, 2 or 5 times a power of ten, so that about kTimeSteps fit.
double TimeStep(double span) {
  const double rough = span / kTimeSteps;
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  for (const double factor : {1.0, 2.0, 5.0}) {
    if (factor * power >= rough) return factor * power;
  }
  return 10.0 * power;
}

// Runs of set columns, as [first, last] pairs.
template <typename Draw>
void ForEachRun(const std::vector<bool>& columns, Draw draw) {
  for (int first = 0; first < kColumns; ++first) {
    if (!columns[first]) continue;
    int last = first;
    while (last + 1 < kColumns && columns[last + 1]) ++last;
    draw(first, last);
    first = last;
  }
}

}  // namespace

TonePlot::TonePlot(std::string title, double fromSeconds, double toSeconds)
    : title_(std::move(title)), fromSeconds_(fromSeconds), toSeconds_(std::max(toSeconds, fromSeconds + 0.1)) {
  fires_.fill(std::vector<bool>(kColumns, false));
}

int TonePlot::Column(double seconds) const {
  const double share = (seconds - fromSeconds_) / (toSeconds_ - fromSeconds_);
  return std::clamp(static_cast<int>(share * kColumns), 0, kColumns - 1);
}

void TonePlot::AddFire(int function, double seconds) { fires_[function][Column(seconds)] = true; }

void TonePlot::Write(std::ostream& out, const ToneFindings& findings, const ConfigRecord* functions) const {
  out << Formatted("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" viewBox=\"0 0 %d %d\" "
                   "font-family=\"sans-serif\" font-size=\"11\">\n",
                   kWidth, kHeight, kWidth, kHeight)
      << Formatted("<rect width=\"%d\" height=\"%d\" fill=\"white\"/>\n", kWidth, kHeight)
      << Formatted("<text x=\"%d\" y=\"20\" font-size=\"14\">%s</text>\n", kLeft, Escaped(title_).c_str());

  // The module's bins, each bin's centre a faint line, every fifth named.
  out << "<g stroke=\"#eeeeee\">\n";
  for (int bin = 1; bin <= kLastPeakBin; ++bin) {
    const double y = YOf(tqxsim::BinFrequencyHz(bin));
    out << Formatted("<line x1=\"%d\" y1=\"%.1f\" x2=\"%d\" y2=\"%.1f\"/>\n", kLeft, y, kLeft + kColumns, y);
  }
  out << "</g>\n<g fill=\"#999999\" font-size=\"9\">\n";
  for (int bin = 5; bin <= kLastPeakBin; bin += 5) {
    out << Formatted("<text x=\"%d\" y=\"%.1f\">bin %d</text>\n", kLeft + kColumns + 4,
                     YOf(tqxsim::BinFrequencyHz(bin)) + 3, bin);
  }
  out << "</g>\n";
  const double edgeY = YOf(tqxsim::BinFrequencyHz(kFirstPeakBin));
  out << Formatted("<line x1=\"%d\" y1=\"%.1f\" x2=\"%d\" y2=\"%.1f\" stroke=\"#cc9999\" stroke-dasharray=\"4 3\"/>\n",
                   kLeft, edgeY, kLeft + kColumns, edgeY)
      << Formatted("<text x=\"%d\" y=\"%.1f\" fill=\"#cc6666\" font-size=\"9\">%.0f Hz: below, never heard</text>\n",
                   kLeft + 4, edgeY + 11, tqxsim::BinFrequencyHz(kFirstPeakBin));

  // Axes, in Hz and in time.
  out << Formatted("<g stroke=\"#444444\"><line x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\"/>"
                   "<line x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\"/></g>\n",
                   kLeft, kTop, kLeft, kAxisY, kLeft, kAxisY, kLeft + kColumns, kAxisY);
  for (int hz = 0; hz <= 2000; hz += 500) {
    out << Formatted("<text x=\"%d\" y=\"%.1f\" text-anchor=\"end\">%d Hz</text>\n", kLeft - 6, YOf(hz) + 4, hz);
  }
  const double step = TimeStep(toSeconds_ - fromSeconds_);
  for (double t = std::ceil(fromSeconds_ / step) * step; t <= toSeconds_ + 1e-9; t += step) {
    const int x = kLeft + Column(t);
    out << Formatted("<line x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" stroke=\"#444444\"/>", x, kAxisY, x, kAxisY + 4)
        << Formatted("<text x=\"%d\" y=\"%d\" text-anchor=\"middle\">%s</text>\n", x, kAxisY + 16,
                     TimeText(t).c_str());
  }

  // Each distinct tone's bars, gathered into columns; a flagged one in orange.
  for (std::size_t d = 0; d < findings.distinct.size(); ++d) {
    std::vector<bool> columns(kColumns, false);
    bool flagged = false;
    double y = 0.0;
    for (const FoundTone& tone : findings.tones) {
      if (tone.distinct != static_cast<int>(d)) continue;
      for (int c = Column(tone.startSeconds); c <= Column(tone.endSeconds); ++c) columns[c] = true;
      flagged = flagged || tone.flags != 0;
      y = YOf(std::min(tone.foldsToHz, kTopHz));
    }
    const char* colour = flagged ? "#e07b00" : "#1f5fbf";
    const std::string label =
        Formatted("%.1f Hz%s", findings.distinct[d].frequencyHz, flagged ? " (flagged)" : "");
    int lastLabel = -kLabelGapColumns;
    ForEachRun(columns, [&](int first, int last) {
      out << Formatted("<rect x=\"%d\" y=\"%.1f\" width=\"%d\" height=\"%d\" fill=\"%s\"/>\n", kLeft + first,
                       y - kBarHeight / 2.0, last - first + 1, kBarHeight, colour);
      if (first - lastLabel < kLabelGapColumns) return;
      lastLabel = first;
      out << Formatted("<text x=\"%d\" y=\"%.1f\" fill=\"%s\">%s</text>\n", kLeft + first, y - 5, colour,
                       label.c_str());
    });
  }

  // The functions' fires, a row each under the time axis.
  if (functions == nullptr) {
    out << "</svg>\n";
    return;
  }
  for (int function = 1; function <= kFunctionCount; ++function) {
    if (functions->triggerBin1[function] == 0 && functions->triggerBin2[function] == 0 &&
        functions->triggerBin3[function] == 0) {
      continue;
    }
    const int y = kAxisY + 28 + (function - 1) * kFireRowHeight;
    out << Formatted("<text x=\"%d\" y=\"%d\" text-anchor=\"end\" font-size=\"9\">%d %s</text>\n", kLeft - 6, y + 7,
                     function, Escaped(FunctionNameText(*functions, function)).c_str());
    ForEachRun(fires_[function], [&](int first, int last) {
      out << Formatted("<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"#2a8f2a\"/>\n", kLeft + first, y,
                       std::max(last - first + 1, 2), kFireRowHeight - 2);
    });
  }
  out << "</svg>\n";
}
