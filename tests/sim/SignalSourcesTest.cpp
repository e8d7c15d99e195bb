// The analog input's sources: the demo programme, tone scripts, recordings
// streamed from their files and the environment setting that chooses among
// them.
#include <gmock/gmock.h>

#include <cmath>
#include <complex>
#include <cstring>
#include <filesystem>
#include <numbers>

#include "sim/DemoProgramme.h"
#include "sim/ModelledTiming.h"
#include "sim/SignalFromEnvironment.h"
#include "sim/ToneScript.h"
#include "support/FileBytes.h"
#include "support/ScratchFolder.h"

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

// The bytes as a file of the test's own, and the input that plays it.
class WavInput : public testing::Test {
 protected:
  ChosenSignal Play(const std::vector<std::uint8_t>& bytes) {
    WriteFileBytes(path_, bytes);
    return SignalFromSetting("wav:" + path_.string());
  }

 private:
  ScratchFolder folder_{"tqx-sim-signal"};
  std::filesystem::path path_ = folder_.Path() / "input.wav";
};

constexpr double kFrameSeconds = 1.0 / 8000;

TEST_F(WavInput, MapsFullScaleOntoZeroToFiveVoltsAroundTheBiasAndLoops) {
  const std::vector<std::uint8_t> samples{0x00, 0x00, 0x00, 0x40, 0x00, 0x80};  // 0, +0.5, -1
  ChosenSignal pcm = Play(Wav(1, 1, 16, samples, 6));
  ASSERT_THAT(pcm.description, HasSubstr("recording"));
  EXPECT_DOUBLE_EQ(pcm.source->VoltsAt(0.0), 2.5);
  EXPECT_DOUBLE_EQ(pcm.source->VoltsAt(kFrameSeconds), 3.75);
  EXPECT_DOUBLE_EQ(pcm.source->VoltsAt(2 * kFrameSeconds), 0.0);
  EXPECT_NEAR(pcm.source->VoltsAt(2.5 * kFrameSeconds), 1.25, 1e-9) << "the last frame runs on into the first";
  EXPECT_NEAR(pcm.source->VoltsAt(4 * kFrameSeconds), 3.75, 1e-9);
  EXPECT_NEAR(Play(Wav(1, 1, 8, {0x80, 0xFF}, 2)).source->VoltsAt(kFrameSeconds), 2.5 + 2.5 * 127 / 128.0, 1e-9);
  float half = -0.5f;
  std::vector<std::uint8_t> floatSample(4);
  std::memcpy(floatSample.data(), &half, 4);
  EXPECT_DOUBLE_EQ(Play(Wav(3, 1, 32, floatSample, 4)).source->VoltsAt(0.0), 1.25);
}

TEST_F(WavInput, RefusesWhatItCannotPlayAndReadsATruncatedFileAsFarAsItGoes) {
  EXPECT_THAT(Play(std::vector<std::uint8_t>{'R', 'I', 'F', 'F'}).description, HasSubstr("cannot be used"));
  EXPECT_THAT(Play(Wav(1, 1, 16, {}, 0)).description, HasSubstr("no samples"));
  ChosenSignal cut = Play(Wav(1, 1, 16, {0x00, 0x40, 0x00, 0x20, 0x00}, 1000));
  EXPECT_DOUBLE_EQ(cut.source->VoltsAt(kFrameSeconds), 2.5 + 2.5 * 0.25);
  EXPECT_DOUBLE_EQ(cut.source->VoltsAt(2 * kFrameSeconds), 3.75) << "two frames, looped";
}

// Longer than the stream reads ahead at once: every moment is read from the
// right block, whether the input moves on, jumps far ahead, or loops back.
TEST_F(WavInput, StreamsALongRecordingBlockByBlockAndLoopsIt) {
  constexpr int kFrames = 50'000;
  std::vector<std::uint8_t> ramp;
  for (int n = 0; n < kFrames; ++n) {
    const auto value = static_cast<std::uint16_t>(n % 30'000);
    ramp.push_back(static_cast<std::uint8_t>(value & 0xFF));
    ramp.push_back(static_cast<std::uint8_t>(value >> 8));
  }
  ChosenSignal input = Play(Wav(1, 1, 16, ramp, static_cast<std::uint32_t>(ramp.size())));
  for (const int frame : {0, 100, 9'000, 9'001, 20'000, 45'000, 49'999, 50'000 + 3, 2 * 50'000 + 31'000}) {
    EXPECT_NEAR(input.source->VoltsAt(frame * kFrameSeconds), 2.5 + 2.5 * (frame % kFrames % 30'000) / 32768.0, 1e-6)
        << "frame " << frame;
  }
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
