#include "tools/tqxscan/ToneFinder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>

#include "detect/ToneDetector.h"
#include "dsp/PeakSearch.h"
#include "sim/InputBias.h"
#include "sim/ModelledTiming.h"
#include "tools/tqxscan/SpectralPeaks.h"

namespace {

// A component belongs to a tone while it stays this close to the tone's mean.
constexpr double kSameToneHz = 4.0;
// Over its steady middle a tone moves no further than this in all.
constexpr double kSteadySpreadHz = 5.0;
// Design note: a tone lasts at least 0.3 s; its ends are measured to about
// 20 ms, so a tone of 0.3 s is not lost to that.
constexpr double kShortestToneSeconds = 0.27;
// A tone carries at least this share of the power around it; a voice's
// harmonics each carry less.
constexpr double kLeastPowerShare = 0.2;
// The bins a tone lands in: those within 6 dB of its strongest, looked for no
// further than two bins either side of where its frequency falls.
constexpr double kLandingSpreadDb = 6.0;
constexpr int kLandingSearchBins = 2;
constexpr std::size_t kMostBins = 3;
// A tone whose strongest bin reads this far below its own level falls
// between bins.
constexpr double kBetweenBinsDb = 1.0;
// The ticks a required count of 3 needs.
constexpr int kTicksForCountOfThree = 3;
constexpr std::size_t kReadBlockFrames = 4096;

constexpr double kModuleBinHz = tqxsim::kModelledSampleRateHz / kFrameSampleCount;
using BinCounts = std::array<int, kLevelCount>;
using BinLevels = std::array<double, kLevelCount>;

double LevelDb(double amplitude) {
  return 20.0 * std::log10(tqxsim::kRecordingFullScaleVolts * amplitude / std::numbers::sqrt2);
}

// Where the module's sampling, with no filter before its converter, puts a
// frequency: folded into 0 to half its rate.
double FoldedHz(double frequencyHz) {
  const double folded = std::fmod(frequencyHz, tqxsim::kModelledSampleRateHz);
  return std::min(folded, tqxsim::kModelledSampleRateHz - folded);
}

// The share of a Hann window's weight in its last (or first) fraction u.
double HannShare(double u) { return u - std::sin(2 * std::numbers::pi * u) / (2 * std::numbers::pi); }

double HannCoverage(double share) {
  double low = 0.0, high = 1.0;
  for (int i = 0; i < 40; ++i) {
    const double middle = 0.5 * (low + high);
    (HannShare(middle) < share ? low : high) = middle;
  }
  return 0.5 * (low + high);
}

// The recording at its own rate, the last stretch before any moment asked
// for, moments in order.
class NativeStretch {
 public:
  NativeStretch(tqxsim::RecordingReader& reader, int length, std::int64_t firstEnd)
      : reader_(reader), length_(length), stretch_(static_cast<std::size_t>(length)) {
    bufferStart_ = next_ = std::max<std::int64_t>(0, firstEnd - length);
    if (next_ > 0 && !reader_.Seek(next_)) failed_ = true;
  }

  // The length_ samples before end (silence before the recording's start);
  // empty when the file ends before its announced frames.
  std::optional<std::span<const float>> Before(std::int64_t end) {
    while (!failed_ && next_ < end) {
      const std::size_t held = buffer_.size();
      buffer_.resize(held + kReadBlockFrames);
      const std::size_t read = reader_.Read(std::span(buffer_).subspan(held));
      buffer_.resize(held + read);
      next_ += static_cast<std::int64_t>(read);
      if (read == 0) failed_ = true;
    }
    if (failed_) return std::nullopt;
    const std::int64_t start = end - length_;
    for (int i = 0; i < length_; ++i) {
      const std::int64_t at = start + i;
      stretch_[i] = at < bufferStart_ ? 0.0f : buffer_[static_cast<std::size_t>(at - bufferStart_)];
    }
    // What no later stretch reaches is let go, a block at a time.
    if (const std::int64_t unneeded = start - bufferStart_; unneeded > static_cast<std::int64_t>(kReadBlockFrames)) {
      buffer_.erase(buffer_.begin(), buffer_.begin() + unneeded);
      bufferStart_ += unneeded;
    }
    return std::span<const float>(stretch_);
  }

 private:
  tqxsim::RecordingReader& reader_;
  int length_;
  std::vector<float> buffer_;  // samples bufferStart_ to next_
  std::int64_t bufferStart_ = 0;
  std::int64_t next_ = 0;
  std::vector<float> stretch_;
  bool failed_ = false;
};

struct Moment {
  double seconds;
  double amplitude;
};

// One component followed from stretch to stretch. Its first and last
// stretches, and its first and last ticks, catch only part of it; what it is
// is read from the ones between.
class Track {
 public:
  Track(double seconds, const SpectralPeak& peak) : head_{Moment{seconds, peak.amplitude}, {}} { AddPeak(seconds, peak); }

  double MeanHz() const { return weightedHz_ / weight_; }

  void AddPeak(double seconds, const SpectralPeak& peak) {
    if (stretches_ == 1) head_[1] = {seconds, peak.amplitude};
    if (stretches_ >= 2) AddInterior(last_);
    beforeLast_ = lastMoment_;
    lastMoment_ = {seconds, peak.amplitude};
    last_ = peak;
    const double weight = peak.amplitude * peak.amplitude;
    weightedHz_ += weight * peak.frequencyHz;
    weight_ += weight;
    ++stretches_;
  }

  void AddTick(const LevelSpectrum& levels, std::int32_t peakBin) {
    if (ticks_ >= 2) {
      for (int i = 0; i < kLevelCount; ++i) levelSums_[i] += lastLevels_[i];
      ++interiorTicks_;
    }
    lastLevels_ = levels;
    for (int i = 0; i < kLevelCount; ++i) {
      if (levels[i] > kNoisyHearingThresholdDb) ++aboveNoisy_[i];
    }
    if (peakBin >= 1 && peakBin <= kLevelCount) ++peakHits_[peakBin - 1];
    ++ticks_;
  }

  // The tone it was, if it was one.
  std::optional<FoundTone> Tone(double stretchSeconds, ScanWindow window) const;

 private:
  void AddInterior(const SpectralPeak& peak) {
    minHz_ = std::min(minHz_, peak.frequencyHz);
    maxHz_ = std::max(maxHz_, peak.frequencyHz);
    steadyAmplitude_ = std::max(steadyAmplitude_, peak.amplitude);
    shareSum_ += peak.powerShare;
    ++interiorStretches_;
  }
  void Land(FoundTone& tone) const;

  std::array<Moment, 2> head_;
  Moment beforeLast_{}, lastMoment_{};
  SpectralPeak last_{};
  int stretches_ = 0, interiorStretches_ = 0;
  double weightedHz_ = 0.0, weight_ = 0.0;
  double minHz_ = 1e300, maxHz_ = -1e300;
  double steadyAmplitude_ = 0.0, shareSum_ = 0.0;

  int ticks_ = 0, interiorTicks_ = 0;
  LevelSpectrum lastLevels_{};
  BinLevels levelSums_{};
  BinCounts aboveNoisy_{}, peakHits_{};
};

// Its ends, from the edge stretches: a stretch that catches part of a tone
// shows the Hann window's share over that part, so the share says where in
// the stretch the tone began or stopped. The stretch closest to half shows
// it best.
std::optional<FoundTone> Track::Tone(double stretchSeconds, ScanWindow window) const {
  if (interiorStretches_ == 0 || maxHz_ - minHz_ > kSteadySpreadHz ||
      shareSum_ / interiorStretches_ < kLeastPowerShare) {
    return std::nullopt;
  }
  const auto bestEdge = [this](const Moment& a, const Moment& b) -> std::optional<Moment> {
    std::optional<Moment> best;
    for (const Moment& moment : {a, b}) {
      const double share = moment.amplitude / steadyAmplitude_;
      if (share < 0.02 || share > 0.98) continue;
      if (!best || std::abs(share - 0.5) < std::abs(best->amplitude / steadyAmplitude_ - 0.5)) best = moment;
    }
    return best;
  };
  FoundTone tone;
  if (const std::optional<Moment> edge = bestEdge(head_[0], head_[1])) {
    tone.startSeconds = edge->seconds - HannCoverage(edge->amplitude / steadyAmplitude_) * stretchSeconds;
  } else {
    tone.startSeconds = head_[0].seconds - stretchSeconds;
  }
  if (const std::optional<Moment> edge = bestEdge(lastMoment_, beforeLast_)) {
    tone.endSeconds = edge->seconds - (1.0 - HannCoverage(edge->amplitude / steadyAmplitude_)) * stretchSeconds;
  } else {
    tone.endSeconds = lastMoment_.seconds;
  }
  tone.startSeconds = std::max(tone.startSeconds, window.fromSeconds);
  tone.endSeconds = std::min(tone.endSeconds, lastMoment_.seconds);
  if (tone.endSeconds - tone.startSeconds < kShortestToneSeconds) return std::nullopt;

  tone.frequencyHz = MeanHz();
  tone.levelDb = LevelDb(steadyAmplitude_);
  tone.foldsToHz = FoldedHz(tone.frequencyHz);
  Land(tone);
  return tone;
}

// What the module makes of it, over the ticks that saw only the tone.
void Track::Land(FoundTone& tone) const {
  const int ticks = std::max(interiorTicks_, 1);
  const BinLevels& sums = interiorTicks_ > 0 ? levelSums_ : lastLevels_;
  const int around = static_cast<int>(std::lround(tone.foldsToHz / kModuleBinHz)) + 1;
  std::vector<ModuleBin> candidates;
  // Bin 1 only repeats bin 2, and the last transform point is no bin.
  for (int bin = std::max(2, around - kLandingSearchBins); bin <= std::min(kLevelCount - 1, around + kLandingSearchBins);
       ++bin) {
    candidates.push_back({bin, sums[bin - 1] / ticks});
  }
  std::sort(candidates.begin(), candidates.end(),
            [](const ModuleBin& a, const ModuleBin& b) { return a.levelDb > b.levelDb; });
  for (const ModuleBin& candidate : candidates) {
    if (tone.bins.size() == kMostBins || candidate.levelDb < candidates.front().levelDb - kLandingSpreadDb) break;
    if (candidate.levelDb > kLevelFloorDb) tone.bins.push_back(candidate);
  }

  const auto set = [&tone](ToneFlag flag) { tone.flags |= static_cast<unsigned>(flag); };
  double loudestListened = kLevelFloorDb;
  for (const ModuleBin& landed : tone.bins) {
    if (landed.bin < kFirstPeakBin || landed.bin > kLastPeakBin) continue;
    loudestListened = std::max(loudestListened, landed.levelDb);
    tone.noisyTicks = std::max(tone.noisyTicks, aboveNoisy_[landed.bin - 1]);
    tone.quietTicks += peakHits_[landed.bin - 1];
  }
  tone.noisyHears = loudestListened > kNoisyHearingThresholdDb;
  tone.quietHears = !tone.bins.empty() && 2 * tone.quietTicks >= ticks_;
  if (!tone.noisyHears) tone.noisyTicks = 0;
  if (!tone.quietHears) tone.quietTicks = 0;

  const double topBinHz = tqxsim::BinFrequencyHz(kLastPeakBin) + kModuleBinHz / 2;
  if (tone.frequencyHz > topBinHz) {
    set(ToneFlag::AboveRange);
  } else if (tone.bins.empty() || tone.bins.front().bin < kFirstPeakBin) {
    set(ToneFlag::BelowRange);
  } else if (!tone.noisyHears) {
    set(ToneFlag::TooWeakForNoisy);
  }
  if (!tone.bins.empty() && tone.bins.front().levelDb <= tone.levelDb - kBetweenBinsDb && tone.bins.size() >= 2) {
    set(ToneFlag::BetweenBins);
  }
  const int heardTicks = tone.noisyHears || tone.quietHears
                             ? std::max(tone.noisyTicks, tone.quietTicks)
                             : static_cast<int>((tone.endSeconds - tone.startSeconds) / kTickPeriodSeconds);
  if (heardTicks < kTicksForCountOfThree) set(ToneFlag::Short);
}

bool SameBin(const std::vector<ModuleBin>& a, const std::vector<ModuleBin>& b) {
  return std::any_of(a.begin(), a.end(), [&b](const ModuleBin& x) {
    return std::any_of(b.begin(), b.end(), [&x](const ModuleBin& y) { return x.bin == y.bin; });
  });
}

// Tones of one frequency become one distinct tone; distinct tones that land
// in a common bin share it.
void Distinguish(ToneFindings& findings) {
  std::sort(findings.tones.begin(), findings.tones.end(),
            [](const FoundTone& a, const FoundTone& b) { return a.startSeconds < b.startSeconds; });
  std::vector<double> sums;
  for (FoundTone& tone : findings.tones) {
    auto nearest = findings.distinct.end();
    for (auto it = findings.distinct.begin(); it != findings.distinct.end(); ++it) {
      if (std::abs(it->frequencyHz - tone.frequencyHz) <= kSameToneHz &&
          (nearest == findings.distinct.end() ||
           std::abs(it->frequencyHz - tone.frequencyHz) < std::abs(nearest->frequencyHz - tone.frequencyHz))) {
        nearest = it;
      }
    }
    if (nearest == findings.distinct.end()) {
      findings.distinct.push_back({tone.frequencyHz, 0, tone.bins, false, {}});
      sums.push_back(0.0);
      nearest = findings.distinct.end() - 1;
    }
    tone.distinct = static_cast<int>(nearest - findings.distinct.begin());
    DistinctTone& distinct = *nearest;
    sums[tone.distinct] += tone.frequencyHz;
    distinct.frequencyHz = sums[tone.distinct] / ++distinct.occurrences;
    distinct.noisyHears = distinct.noisyHears || tone.noisyHears;
  }
  for (std::size_t i = 0; i < findings.distinct.size(); ++i) {
    for (std::size_t j = 0; j < findings.distinct.size(); ++j) {
      if (i != j && SameBin(findings.distinct[i].bins, findings.distinct[j].bins)) {
        findings.distinct[i].sharesBinsWith.push_back(static_cast<int>(j));
      }
    }
  }
  for (FoundTone& tone : findings.tones) {
    if (!findings.distinct[tone.distinct].sharesBinsWith.empty()) tone.flags |= static_cast<unsigned>(ToneFlag::SharesBins);
  }
}

}  // namespace

const char* ToneFlagName(ToneFlag flag) {
  switch (flag) {
    case ToneFlag::BetweenBins: return "between_bins";
    case ToneFlag::BelowRange: return "below_range";
    case ToneFlag::AboveRange: return "above_range";
    case ToneFlag::TooWeakForNoisy: return "too_weak_for_noisy";
    case ToneFlag::Short: return "short";
    case ToneFlag::SharesBins: return "shares_bins";
  }
  return "";
}

std::vector<std::int32_t> ListenedBins(const std::vector<ModuleBin>& bins) {
  std::vector<std::int32_t> listened;
  for (const ModuleBin& landed : bins) {
    if (landed.bin >= kFirstPeakBin && landed.bin <= kLastPeakBin) listened.push_back(landed.bin);
  }
  return listened;
}

bool FindTones(tqxsim::RecordingReader& native, tqxsim::RecordingStream& module, ScanWindow window,
               ToneFindings& findings, const std::function<void(double)>& atTick) {
  const double rateHz = native.SampleRateHz();
  SpectralPeaks peaks(rateHz);
  ModuleTicks ticks(module, window);
  const auto endFrame = [rateHz](double seconds) { return static_cast<std::int64_t>(std::llround(seconds * rateHz)); };
  NativeStretch stretch(native, peaks.Length(), endFrame(window.fromSeconds + kTickPeriodSeconds));
  std::vector<Track> open;
  std::vector<bool> matched;
  const auto close = [&](const Track& track) {
    if (std::optional<FoundTone> tone = track.Tone(peaks.LengthSeconds(), window)) findings.tones.push_back(*tone);
  };

  bool complete = true;
  while (ticks.Next()) {
    if (atTick) atTick(ticks.Seconds());
    const std::optional<std::span<const float>> samples = stretch.Before(endFrame(ticks.Seconds()));
    if (!samples) {
      complete = false;
      break;
    }
    // Each peak, strongest first, continues the open track nearest to it.
    matched.assign(open.size(), false);
    std::vector<Track> started;
    for (const SpectralPeak& peak : peaks.Find(*samples)) {
      std::size_t nearest = open.size();
      for (std::size_t i = 0; i < open.size(); ++i) {
        const double distance = std::abs(open[i].MeanHz() - peak.frequencyHz);
        if (!matched[i] && distance <= kSameToneHz &&
            (nearest == open.size() || distance < std::abs(open[nearest].MeanHz() - peak.frequencyHz))) {
          nearest = i;
        }
      }
      if (nearest == open.size()) {
        started.emplace_back(ticks.Seconds(), peak);
      } else {
        open[nearest].AddPeak(ticks.Seconds(), peak);
        matched[nearest] = true;
      }
    }
    std::vector<Track> continuing;
    for (std::size_t i = 0; i < open.size(); ++i) {
      if (matched[i]) {
        continuing.push_back(std::move(open[i]));
      } else {
        close(open[i]);
      }
    }
    open = std::move(continuing);
    open.insert(open.end(), std::make_move_iterator(started.begin()), std::make_move_iterator(started.end()));
    // The module's spectrum is transformed only while a component is followed.
    if (!open.empty()) {
      if (!ticks.Read()) {
        complete = false;
        break;
      }
      for (Track& track : open) track.AddTick(ticks.Levels(), ticks.PeakBin());
    }
  }
  for (const Track& track : open) close(track);
  Distinguish(findings);
  return complete;
}
