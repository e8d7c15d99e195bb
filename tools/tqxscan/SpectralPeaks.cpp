#include "tools/tqxscan/SpectralPeaks.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>

namespace {

constexpr double kSpanSeconds = 0.1;
// A peak stands this far above the stretch's median power, or it is noise: a
// noise point reaches it about once in three thousand million.
constexpr double kProminence = 31.6;  // 15 dB
// Below this share of the strongest peak's power a peak is ignored (a Hann
// window's side lobes lie at 31.5 dB and less).
constexpr double kWeakestAfterStrongest = 1e-4;  // 40 dB
// Near a stronger peak, only what comes within 20 dB of it counts: the rest
// is its leakage, loudest while a tone starts or stops inside the stretch.
constexpr int kLeakagePoints = 8;
constexpr double kWeakestBesideStronger = 1e-2;
// Quieter than about -75 dB of full scale (-60 dB re 1 V RMS at the module's
// input) the module's own spectrum shows nothing.
constexpr double kQuietestAmplitude = 1.8e-4;
// A point may read up to 1.42 dB below the peak it lies beside.
constexpr double kParabolaSlack = 0.7;
// A tone's power lies in the Hann window's main lobe, two points either side;
// its share is of the power within 250 Hz of it, where a voice's neighbouring
// harmonics lie but most of a broad hiss does not.
constexpr int kMainLobePoints = 2;
constexpr double kShareBandHz = 250.0;
constexpr std::size_t kMostPeaks = 16;

int SpanLength(double sampleRateHz) {
  int length = 16;
  while (length < kSpanSeconds * sampleRateHz) length *= 2;
  return length - kSpanSeconds * sampleRateHz > kSpanSeconds * sampleRateHz - length / 2 ? length / 2 : length;
}

}  // namespace

SpectralPeaks::SpectralPeaks(double sampleRateHz) : sampleRateHz_(sampleRateHz), length_(SpanLength(sampleRateHz)) {
  const int half = length_ / 2;
  window_.resize(static_cast<std::size_t>(length_));
  for (int n = 0; n < length_; ++n) window_[n] = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * n / length_);
  // Points 0 to half of a full-length transform: the half-length twiddles are
  // every second one of them.
  cosines_.resize(static_cast<std::size_t>(half) + 1);
  sines_.resize(static_cast<std::size_t>(half) + 1);
  for (int k = 0; k <= half; ++k) {
    cosines_[k] = std::cos(2 * std::numbers::pi * k / length_);
    sines_[k] = std::sin(2 * std::numbers::pi * k / length_);
  }
  bitReversed_.resize(static_cast<std::size_t>(half));
  for (int i = 0, bits = std::countr_zero(static_cast<unsigned>(half)); i < half; ++i) {
    int reversed = 0;
    for (int b = 0; b < bits; ++b) reversed |= ((i >> b) & 1) << (bits - 1 - b);
    bitReversed_[i] = reversed;
  }
  real_.resize(static_cast<std::size_t>(half));
  imag_.resize(static_cast<std::size_t>(half));
  power_.resize(static_cast<std::size_t>(half) + 1);
}

// The real transform through a complex one of half the length: even samples
// as the real parts, odd ones as the imaginary, then one pass that separates
// the two.
void SpectralPeaks::Transform() {
  const int half = length_ / 2;
  for (int size = 2; size <= half; size *= 2) {
    const int step = length_ / size;  // into the full-length twiddles
    for (int start = 0; start < half; start += size) {
      for (int j = 0; j < size / 2; ++j) {
        const double c = cosines_[j * step], s = sines_[j * step];
        double& ar = real_[start + j];
        double& ai = imag_[start + j];
        double& br = real_[start + j + size / 2];
        double& bi = imag_[start + j + size / 2];
        const double tr = c * br + s * bi, ti = c * bi - s * br;
        br = ar - tr;
        bi = ai - ti;
        ar += tr;
        ai += ti;
      }
    }
  }
  for (int k = 0; k <= half; ++k) {
    const double ar = real_[k % half], ai = imag_[k % half];
    const double br = real_[(half - k) % half], bi = imag_[(half - k) % half];
    const double er = 0.5 * (ar + br), ei = 0.5 * (ai - bi);
    const double orr = 0.5 * (ai + bi), oi = -0.5 * (ar - br);
    const double c = cosines_[k], s = sines_[k];
    const double xr = er + c * orr + s * oi, xi = ei + c * oi - s * orr;
    power_[k] = xr * xr + xi * xi;
  }
}

const std::vector<SpectralPeak>& SpectralPeaks::Find(std::span<const float> samples) {
  const int half = length_ / 2;
  for (int n = 0; n < half; ++n) {
    real_[bitReversed_[n]] = window_[2 * n] * samples[2 * n];
    imag_[bitReversed_[n]] = window_[2 * n + 1] * samples[2 * n + 1];
  }
  Transform();
  peaks_.clear();

  // Maxima loud enough to be a tone at all come first: in a quiet stretch
  // there are none, and the noise floor need not be found.
  std::vector<Candidate>& candidates = candidates_;
  candidates.clear();
  const double quietest = std::pow(kQuietestAmplitude * length_ / 4.0, 2) * kParabolaSlack;
  for (int k = 3; k < half - 1; ++k) {
    if (power_[k] > power_[k - 1] && power_[k] >= power_[k + 1] && power_[k] > quietest) {
      candidates.push_back({k, power_[k]});
    }
  }
  if (candidates.empty()) return peaks_;
  // Points 0 and 1 hold the recording's offset.
  sorted_.assign(power_.begin() + 2, power_.end() - 1);
  std::nth_element(sorted_.begin(), sorted_.begin() + sorted_.size() / 2, sorted_.end());
  const double floor = sorted_[sorted_.size() / 2];
  std::erase_if(candidates, [floor](const Candidate& candidate) { return candidate.power <= kProminence * floor; });
  if (candidates.empty()) return peaks_;
  std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) { return a.power > b.power; });
  std::vector<Candidate>& kept = kept_;
  kept.clear();
  for (const Candidate& candidate : candidates) {
    if (kept.size() == kMostPeaks || candidate.power < kWeakestAfterStrongest * candidates.front().power) break;
    const bool leakage = std::any_of(kept.begin(), kept.end(), [&](const Candidate& stronger) {
      return std::abs(stronger.point - candidate.point) <= kLeakagePoints &&
             candidate.power < kWeakestBesideStronger * stronger.power;
    });
    if (leakage) continue;
    kept.push_back(candidate);

    // A parabola through the logarithms of the three points places the peak
    // between them; for a Hann window it is off by less than a fiftieth of a
    // point.
    const int k = candidate.point;
    const double a = std::log(power_[k - 1]), b = std::log(power_[k]), c = std::log(power_[k + 1]);
    const double offset = 0.5 * (a - c) / (a - 2 * b + c);
    const double peakPower = std::exp(b - 0.25 * (a - c) * offset);
    // A sine of amplitude A gives A·N/4 through a Hann window of N points.
    const double amplitude = 4.0 * std::sqrt(peakPower) / length_;
    if (amplitude < kQuietestAmplitude) continue;
    const auto sum = [this, k, half](int points) {
      double power = 0.0;
      for (int j = std::max(2, k - points); j <= std::min(half, k + points); ++j) power += power_[j];
      return power;
    };
    const double band = sum(static_cast<int>(kShareBandHz * length_ / sampleRateHz_));
    peaks_.push_back({(k + offset) * sampleRateHz_ / length_, amplitude, sum(kMainLobePoints) / band});
  }
  return peaks_;
}
