#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstring>
#include <numbers>
#include <random>

#include "LiteralSpectrum.h"
#include "dsp/Spectrum.h"

namespace {

const double kHalfPowerDb = 20.0 * std::log10(1.0 / std::sqrt(2.0));  // -3.0103 dB

SampleFrame Tone(double biasVolts, double amplitudeVolts, double cyclesPerFrame, double phase) {
  SampleFrame frame{};
  for (int n = 0; n < kFrameSampleCount; ++n) {
    frame[n] = biasVolts + amplitudeVolts * std::sin(2.0 * std::numbers::pi * cyclesPerFrame * n / 128.0 + phase);
  }
  return frame;
}

LevelSpectrum LevelsOf(const SampleFrame& samples) {
  SpectrumState state;
  state.samples = samples;
  ComputeSpectrum(state);
  return state.levels;
}

// An independent reference: the plain O(N²) sum in long double, with the
// angles reduced exactly (k·n mod 128) before any rounding.
LevelSpectrum DirectDftLevels(const SampleFrame& samples) {
  std::array<long double, kLevelCount> power{};
  for (int k = 0; k < kLevelCount; ++k) {
    std::complex<long double> sum = 0;
    for (int n = 0; n < kFrameSampleCount; ++n) {
      const long double angle = -2.0L * std::numbers::pi_v<long double> * ((k * n) % 128) / 128.0L;
      sum += static_cast<long double>(samples[n]) * std::polar(1.0L, angle);
    }
    power[k] = std::norm(sum) / 8192.0L;
  }
  power[0] = power[1];
  LevelSpectrum levels{};
  for (int k = 0; k < kLevelCount; ++k) {
    const long double amplitude = std::max(std::sqrt(power[k]), 1e-14L);
    levels[k] = std::max(static_cast<double>(20.0L * std::log10(amplitude)), kLevelFloorDb);
  }
  return levels;
}

// A mix of frames the monitor meets: raw noise over the converter's range,
// converter codes, tones with noise at every loudness down through the
// floor, silence, and frames whose levels sit right at the floor.
class FrameGenerator {
 public:
  explicit FrameGenerator(unsigned seed) : random_(seed) {}

  SampleFrame Next() {
    SampleFrame frame{};
    const int kind = static_cast<int>(random_() % 4);
    std::uniform_real_distribution<double> volts(0.0, 10.0);
    std::uniform_int_distribution<int> code(0, 8191);
    std::normal_distribution<double> noise(0.0, 1.0);
    if (kind == 0) {
      for (double& v : frame) v = volts(random_);
    } else if (kind == 1) {
      // The converter's own steps: code × (single-precision 1/4095) × 5.
      const double step = static_cast<double>(2.4420026e-4f);
      for (double& v : frame) v = code(random_) * step * 5.0;
    } else {
      const double amplitude = std::pow(10.0, std::uniform_real_distribution<double>(-5.0, 0.5)(random_));
      const double cycles = std::uniform_real_distribution<double>(0.0, 64.0)(random_);
      frame = Tone(2.5, amplitude, kind == 2 ? std::round(cycles) : cycles, volts(random_));
      const double noiseRms = kind == 2 ? 0.0 : 3.2e-4 * std::uniform_real_distribution<double>(0.5, 2.0)(random_);
      for (double& v : frame) v += noiseRms * noise(random_);
    }
    return frame;
  }

 private:
  std::mt19937 random_;
};

TEST(LevelSpectrum, ConstantInputIsSilentInEveryBinBinOneIncluded) {
  for (double volts : {0.0, 0.0012210013, 2.5, 5.0000003, 10.0012216}) {
    SampleFrame frame{};
    frame.fill(volts);
    const LevelSpectrum levels = LevelsOf(frame);
    for (int k = 0; k < kLevelCount; ++k) EXPECT_EQ(levels[k], kLevelFloorDb) << volts << " V, index " << k;
  }
}

TEST(LevelSpectrum, BiasedSineOfTwentyCyclesReadsHalfPowerAtBin21AndFloorElsewhere) {
  for (double phase : {0.0, std::numbers::pi / 2.0, 1.0}) {
    const LevelSpectrum levels = LevelsOf(Tone(2.5, 1.0, 20.0, phase));
    for (int k = 0; k < kLevelCount; ++k) {
      if (k == 20) {
        EXPECT_NEAR(levels[k], kHalfPowerDb, 1e-9) << "phase " << phase;
      } else {
        EXPECT_EQ(levels[k], kLevelFloorDb) << "phase " << phase << ", index " << k;
      }
    }
  }
}

TEST(LevelSpectrum, BinOneShowsBinTwosLevelWhateverTheDcLevel) {
  const LevelSpectrum levels = LevelsOf(Tone(5.0, 0.3, 1.0, 0.0));
  EXPECT_NEAR(levels[1], 20.0 * std::log10(0.3 / std::sqrt(2.0)), 1e-9);
  EXPECT_EQ(levels[0], levels[1]);
}

TEST(LevelSpectrum, AgreesWithADirectFourierSumAboveTheFloor) {
  FrameGenerator frames(20240611);
  int comparedLevels = 0;
  for (int frame = 0; frame < 300; ++frame) {
    const SampleFrame samples = frames.Next();
    const LevelSpectrum fast = LevelsOf(samples);
    const LevelSpectrum direct = DirectDftLevels(samples);
    for (int k = 0; k < kLevelCount; ++k) {
      ASSERT_GE(fast[k], kLevelFloorDb);
      // Within a hair of the floor either side may round onto it.
      if (direct[k] <= kLevelFloorDb + 1e-6) continue;
      ASSERT_NEAR(fast[k], direct[k], 1e-9) << "frame " << frame << ", index " << k;
      ++comparedLevels;
    }
  }
  EXPECT_GT(comparedLevels, 300 * 20);
}

TEST(LevelSpectrum, MatchesTheStepByStepTransformBitForBit) {
  FrameGenerator frames(7);
  for (int frame = 0; frame < 4000; ++frame) {
    SpectrumState state;
    state.samples = frames.Next();
    ComputeSpectrum(state);
    const LiteralSpectrumResult literal = ComputeLiteralSpectrum(state.samples);

    ASSERT_EQ(std::memcmp(state.levels.data(), literal.levels.data(), sizeof state.levels), 0) << "frame " << frame;
    // Work data may differ in the sign of a zero only; == ignores that.
    for (int i = 0; i < kFrameSampleCount; ++i) {
      ASSERT_EQ(state.workReal[i], literal.workReal[i + 1]) << "frame " << frame << ", element " << i + 1;
      ASSERT_EQ(state.workImag[i], literal.workImag[i + 1]) << "frame " << frame << ", element " << i + 1;
    }
  }
}

TEST(LevelSpectrum, TheWorkersStateStartsSilentAndIsTransformedInPlace) {
  for (double level : Spectrum.levels) EXPECT_EQ(level, kLevelFloorDb);
  Spectrum.samples = Tone(2.5, 1.0, 20.0, 0.0);
  ComputeSpectrum();
  EXPECT_NEAR(Spectrum.levels[20], kHalfPowerDb, 1e-9);
}

}  // namespace
