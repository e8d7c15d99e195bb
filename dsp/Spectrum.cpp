#include "dsp/Spectrum.h"

#include <cmath>
#include <cstring>
#include <numeric>
#include <utility>

SpectrumState Spectrum;

namespace {

constexpr int kStageCount = 7;
static_assert(1 << kStageCount == kFrameSampleCount);

// The divisor turns |X|² into a mean square: 128²/2, so a centred sinusoid of
// amplitude A volts gives A²/2.
constexpr double kPowerDivisor = 8192.0;

// Below this RMS amplitude (volts) 20·log10 lies below kLevelFloorDb by far
// more than log10's rounding error (the crossing is at 3.19890e-4 V), so the
// floor is written without taking the logarithm. That also covers the clamp of
// the amplitude at 1e-14 V, which only keeps log10 away from 0 and ends at the
// floor as well. A quiet frame costs no logarithms, with the same levels to
// the last bit.
constexpr double kAmplitudeCertainlyBelowFloorRms = 3.198e-4;

// What never changes between transforms: where each sample lands after the
// bit-reversal permutation, and the twiddle factors exactly as the per-stage
// recurrence U ← U·W produces them (rounding included), so the butterflies
// compute the same values as a transform that runs the recurrence itself.
struct TransformTables {
  std::array<int, kFrameSampleCount> loadOrder;  // work element p takes samples[loadOrder[p]]
  // Stage with half-span h (1, 2, 4, ..., 64) keeps its h factors from index h-1.
  std::array<double, kFrameSampleCount - 1> twiddleReal;
  std::array<double, kFrameSampleCount - 1> twiddleImag;
};

TransformTables BuildTables() {
  TransformTables tables{};

  // The counter form of the bit reversal (1-based i and j), replayed once on
  // the sample indices themselves.
  std::iota(tables.loadOrder.begin(), tables.loadOrder.end(), 0);
  int j = 1;
  for (int i = 1; i < kFrameSampleCount; ++i) {
    if (i < j) std::swap(tables.loadOrder[i - 1], tables.loadOrder[j - 1]);
    int k = kFrameSampleCount / 2;
    while (k < j) {
      j -= k;
      k /= 2;
    }
    j += k;
  }

  const double pi = 4.0 * std::atan(1.0);
  for (int halfSpan = 1; halfSpan < kFrameSampleCount; halfSpan *= 2) {
    const double wr = std::cos(pi / halfSpan);
    const double wi = -std::sin(pi / halfSpan);
    double ur = 1.0;
    double ui = 0.0;
    for (int step = 0; step < halfSpan; ++step) {
      tables.twiddleReal[halfSpan - 1 + step] = ur;
      tables.twiddleImag[halfSpan - 1 + step] = ui;
      const double nextReal = ur * wr - ui * wi;
      const double nextImag = ur * wi + ui * wr;
      ur = nextReal;
      ui = nextImag;
    }
  }
  return tables;
}

const TransformTables& Tables() {
  static const TransformTables tables = BuildTables();
  return tables;
}

// Two neighbouring butterflies at once. Each lane of GCC's vector extension
// performs exactly the scalar operation (no fused multiply-add: the library
// is built with -ffp-contract=off), so lanes round as the scalar code would.
using DoublePair = double __attribute__((vector_size(16)));

DoublePair LoadPair(const double* at) {
  DoublePair pair;
  std::memcpy(&pair, at, sizeof pair);
  return pair;
}

void StorePair(double* at, DoublePair pair) { std::memcpy(at, &pair, sizeof pair); }

// One stage of butterflies with half-span 4 or more, group by group, two
// neighbouring twiddles at a time.
template <int HalfSpan>
void Stage(double* __restrict re, double* __restrict im, const TransformTables& tables) {
  const double* twiddleReal = &tables.twiddleReal[HalfSpan - 1];
  const double* twiddleImag = &tables.twiddleImag[HalfSpan - 1];
  for (int top = 0; top < kFrameSampleCount; top += 2 * HalfSpan) {
    for (int step = 0; step < HalfSpan; step += 2) {
      const int i = top + step;
      const int ip = i + HalfSpan;
      const DoublePair ur = LoadPair(twiddleReal + step);
      const DoublePair ui = LoadPair(twiddleImag + step);
      const DoublePair bottomReal = LoadPair(re + ip);
      const DoublePair bottomImag = LoadPair(im + ip);
      const DoublePair topReal = LoadPair(re + i);
      const DoublePair topImag = LoadPair(im + i);
      const DoublePair tr = ur * bottomReal - ui * bottomImag;
      const DoublePair ti = ui * bottomReal + ur * bottomImag;
      StorePair(re + ip, topReal - tr);
      StorePair(im + ip, topImag - ti);
      StorePair(re + i, topReal + tr);
      StorePair(im + i, topImag + ti);
    }
  }
}

// Forward, unnormalised, in place. Butterflies within a stage touch disjoint
// pairs, so each stage runs them group by group with neighbouring twiddles
// side by side instead of twiddle by twiddle; every butterfly still computes
// T = X[ip]·U, X[ip] = X[i] − T, X[i] = X[i] + T with the same operands.
//
// The first two stages see purely real data (the imaginary parts are loaded
// as 0), and their first twiddle is exactly 1: products with those zeros and
// ones are left out. That changes at most the sign of a zero, never a value
// and never a power.
void Transform(const double* samples, double* __restrict re, double* __restrict im) {
  const TransformTables& tables = Tables();

  // Load in bit-reversed order and run stages 1 and 2 (half-spans 1 and 2)
  // on each group of four. Stage 2's second twiddle is the recurrence's
  // cos(π/2) − i·sin(π/2), not exactly −i.
  const double ur = tables.twiddleReal[2];
  const double ui = tables.twiddleImag[2];
  for (int i = 0; i < kFrameSampleCount; i += 4) {
    const double a = samples[tables.loadOrder[i]];
    const double b = samples[tables.loadOrder[i + 1]];
    const double c = samples[tables.loadOrder[i + 2]];
    const double d = samples[tables.loadOrder[i + 3]];
    const double sumAb = a + b;
    const double differenceAb = a - b;
    const double sumCd = c + d;
    const double differenceCd = c - d;
    const double tr = ur * differenceCd;
    const double ti = ui * differenceCd;
    re[i] = sumAb + sumCd;
    re[i + 2] = sumAb - sumCd;
    re[i + 1] = differenceAb + tr;
    re[i + 3] = differenceAb - tr;
    im[i] = 0.0;
    im[i + 2] = 0.0;
    im[i + 1] = ti;
    im[i + 3] = -ti;
  }

  Stage<4>(re, im, tables);
  Stage<8>(re, im, tables);
  Stage<16>(re, im, tables);
  Stage<32>(re, im, tables);
  Stage<64>(re, im, tables);
}

double LevelOfPower(double power) {
  const double amplitude = std::sqrt(power);
  if (amplitude < kAmplitudeCertainlyBelowFloorRms) return kLevelFloorDb;
  const double level = 20.0 * std::log10(amplitude);
  return level < kLevelFloorDb ? kLevelFloorDb : level;
}

}  // namespace

void ComputeSpectrum(SpectrumState& state) {
  double* re = state.workReal.data();
  double* im = state.workImag.data();
  Transform(state.samples.data(), re, im);

  // Bin 1 (DC) takes bin 2's power, so its level is bin 2's level.
  for (int k = 1; k < kLevelCount; ++k) {
    state.levels[k] = LevelOfPower((re[k] * re[k] + im[k] * im[k]) / kPowerDivisor);
  }
  state.levels[0] = state.levels[1];
}

void ComputeSpectrum() { ComputeSpectrum(Spectrum); }
