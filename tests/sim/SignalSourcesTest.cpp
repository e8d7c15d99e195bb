// The analog input's sources: the demo programme, tone scripts, WAV
// recordings and the environment setting that chooses among them.
#include <gmock/gmock.h>

#include <cmath>
#include <complex>
#include <cstring>
#include <numbers>

#include "sim/DemoProgramme.h"
#include "sim/ModelledTiming.h"
#include "sim/SignalFromEnvironment.h"
#include "sim/ToneScript.h"
#include "sim/WavFile.h"

using namespace tqxsim;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

// Levels (dB re 1 V RMS) of 128 samples taken at the modelled rate from start, frequency index n at bin n + 1.
std::vector<double> LevelsFrom(SignalSource& source, double startSeconds) {
  std::vector<double> levels;
  for (int index = 0; index <= 64; ++index) {
    std::complex<double> sum = 0.0;
    for (int n = 0; n < 128; ++n) {
      const double volts = source.VoltsAt(startSeconds + n / kModelledSampleRateHz);
      sum += volts * std::polar(1.0, -2.0 * std::numbers::pi * index * n / 128.0);
    }
    levels.push_back(10.0 * std::log10(std::norm(sum) / 8192.0 + 1e-28));
  }
  return levels;
}

double LoudestDetectableLevelBut(const std::vector<double>& levels, int bin) {
  double loudest = -1000.0;
  for (int other = 15; other <= 64; ++other) {
    if (other != bin) loudest = std::max(loudest, levels[other - 1]);
  }
  return loudest;
}

TEST(DemoProgramme, PlaysEachToneLoudEnoughForTheNoisyModeInItsBinAloneThenSilence) {
  EXPECT_THAT(DemoToneBins(), ElementsAre(20, 30, 45));
  const std::unique_ptr<SignalSource> demo = DemoSignal();
  double stepStart = 0.0;
  for (const DemoStep& step : kDemoProgramme) {
    for (const double into : {0.1, step.seconds / 2, step.seconds - 0.1}) {
      const std::vector<double> levels = LevelsFrom(*demo, stepStart + into);
      if (step.bin != 0) {
        EXPECT_GT(levels[step.bin - 1], -20.0) << "bin " << step.bin;
        EXPECT_NEAR(levels[step.bin - 1], -9.03, 0.3) << "bin " << step.bin;
      }
      EXPECT_LT(LoudestDetectableLevelBut(levels, step.bin), -40.0) << "at " << stepStart + into << " s";
    }
    stepStart += step.seconds;
  }
  EXPECT_DOUBLE_EQ(stepStart, DemoProgrammeSeconds());
  // And from the start again.
  EXPECT_GT(LevelsFrom(*demo, DemoProgrammeSeconds() + 1.0)[19], -20.0);
}

TEST(ToneScript, ReadsDurationsFrequenciesInHertzOrBinsAndAmplitudes) {
  const ToneScript script = ParseToneScript(
      "# a comment\n"
      "3   b20  0.5\n"
      "\n"
      "2   0    0     # silence\r\n"
      "1.5 1000 0.25\n");
  ASSERT_EQ(script.error, "");
  ASSERT_EQ(script.steps.size(), 3u);
  EXPECT_DOUBLE_EQ(script.steps[0].frequencyHz, BinFrequencyHz(20));
  EXPECT_DOUBLE_EQ(script.steps[1].amplitudeVolts, 0.0);
  EXPECT_DOUBLE_EQ(script.steps[2].seconds, 1.5);
  EXPECT_DOUBLE_EQ(script.steps[2].frequencyHz, 1000.0);
}

TEST(ToneScript, RefusesAScriptNamingTheFirstLineItCannotRead) {
  EXPECT_THAT(ParseToneScript("1 b20 0.5\n2 b65 0.5\n").error, HasSubstr("line 2"));
  EXPECT_THAT(ParseToneScript("1 b20\n").error, HasSubstr("line 1"));
  EXPECT_THAT(ParseToneScript("0 b20 0.5\n").error, HasSubstr("line 1"));
  EXPECT_THAT(ParseToneScript("1 -50 0.5\n").error, HasSubstr("line 1"));
  EXPECT_EQ(ParseToneScript("# nothing\n").error, "no steps");
  EXPECT_THAT(ReadToneScript("/nonexistent/script.txt").error, HasSubstr("cannot open"));
}

std::vector<std::uint8_t> Wav(std::uint16_t format, std::uint16_t channels, std::uint16_t bits,
                              const std::vector<std::uint8_t>& data, std::uint32_t claimedDataBytes) {
  std::vector<std::uint8_t> file;
  const auto put = [&file](std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) file.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  };
  const auto tag = [&file](const char* text) {
    for (int i = 0; i < 4; ++i) file.push_back(static_cast<std::uint8_t>(text[i]));
  };
  tag("RIFF");
  put(36 + claimedDataBytes, 4);
  tag("WAVE");
  tag("LIST");  // an odd-sized chunk to skip, with its pad byte
  put(3, 4);
  put(0, 4);
  tag("fmt ");
  put(16, 4);
  put(format, 2);
  put(channels, 2);
  put(8000, 4);
  put(8000 * bits / 8, 4);
  put(bits / 8, 2);
  put(bits, 2);
  tag("data");
  put(claimedDataBytes, 4);
  file.insert(file.end(), data.begin(), data.end());
  return file;
}

TEST(WavFile, MapsFullScaleOntoZeroToFiveVoltsAroundTheBias) {
  const std::vector<std::uint8_t> samples{0x00, 0x00, 0x00, 0x40, 0x00, 0x80};  // 0, +0.5, -1
  const WavRecording recording = ParseWav(Wav(1, 1, 16, samples, 6));
  ASSERT_EQ(recording.error, "");
  EXPECT_DOUBLE_EQ(recording.sampleRateHz, 8000.0);
  EXPECT_THAT(recording.volts, ElementsAre(2.5, 3.75, 0.0));
  EXPECT_THAT(ParseWav(Wav(1, 1, 8, {0x80, 0xFF}, 2)).volts, ElementsAre(2.5, 2.5 + 2.5 * 127 / 128.0));
  float half = -0.5f;
  std::vector<std::uint8_t> floatSample(4);
  std::memcpy(floatSample.data(), &half, 4);
  EXPECT_THAT(ParseWav(Wav(3, 1, 32, floatSample, 4)).volts, ElementsAre(1.25));
}

TEST(WavFile, RefusesWhatItCannotPlayAndReadsATruncatedFileAsFarAsItGoes) {
  EXPECT_THAT(ParseWav(Wav(1, 2, 16, {0, 0, 0, 0}, 4)).error, HasSubstr("not mono"));
  EXPECT_THAT(ParseWav(Wav(2, 1, 16, {0, 0}, 2)).error, HasSubstr("unsupported"));
  EXPECT_EQ(ParseWav(std::vector<std::uint8_t>{'R', 'I', 'F', 'F'}).error, "not a WAV file");
  EXPECT_EQ(ParseWav(Wav(1, 1, 16, {0x00, 0x40, 0x00}, 1000)).volts.size(), 1u);
  EXPECT_EQ(ParseWav(Wav(1, 1, 16, {}, 0)).error, "no samples");
}

TEST(SignalSetting, ChoosesTheSourceAndFallsBackToSilenceWhenItCannot) {
  EXPECT_THAT(SignalFromSetting("").description, HasSubstr("bins 20, 30, 45"));
  ChosenSignal tone = SignalFromSetting("tone:b30:0.5");
  EXPECT_NEAR(tone.source->VoltsAt(0.25 / BinFrequencyHz(30)), 3.0, 1e-9);
  EXPECT_DOUBLE_EQ(SignalFromSetting("constant:1.25").source->VoltsAt(7.0), 1.25);
  for (const char* unusable : {"bogus", "constant:x", "tone:b30", "script:/nonexistent", "wav:/nonexistent"}) {
    ChosenSignal chosen = SignalFromSetting(unusable);
    EXPECT_THAT(chosen.description, HasSubstr("cannot be used")) << unusable;
    EXPECT_DOUBLE_EQ(chosen.source->VoltsAt(1.0), 2.5) << unusable;
  }
}

}  // namespace
