#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "config/ConfigFile.h"
#include "detect/ToneDetector.h"
#include "framework/MessageBox.h"
#include "sim/ModelledTiming.h"
#include "tools/tqxscan/RecordingScan.h"
#include "tools/tqxscan/ScanTool.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRateHz = 8000;
constexpr double kHalfScale = 0.5;  // 1.25 V peak on the module's input: far above -20 dB

// Mono or multi-channel 16-bit PCM; each channel carries the same samples.
std::vector<std::uint8_t> WavBytes(const std::vector<double>& samples, int channels = 1) {
  const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2 * channels);
  std::vector<std::uint8_t> bytes;
  // Reserved whole also keeps GCC 12 under ThreadSanitizer from misreading the
  // tag inserts as writing past the end (-Wstringop-overflow).
  bytes.reserve(44 + dataBytes);
  auto put = [&bytes](std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  };
  auto tag = [&bytes](const char* text) { bytes.insert(bytes.end(), text, text + 4); };
  tag("RIFF");
  put(36 + dataBytes, 4);
  tag("WAVE");
  tag("fmt ");
  put(16, 4);
  put(1, 2);  // integer PCM
  put(static_cast<std::uint32_t>(channels), 2);
  put(kRateHz, 4);
  put(static_cast<std::uint32_t>(kRateHz * 2 * channels), 4);
  put(static_cast<std::uint32_t>(2 * channels), 2);
  put(16, 2);
  tag("data");
  put(dataBytes, 4);
  for (const double sample : samples) {
    for (int channel = 0; channel < channels; ++channel) {
      put(static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(sample * 32767))), 2);
    }
  }
  return bytes;
}

// Tones one after the other: (bin, seconds) each, centred on the bin at the
// module's sample rate.
std::vector<double> Tones(std::initializer_list<std::pair<int, double>> steps) {
  std::vector<double> samples;
  for (const auto& [bin, seconds] : steps) {
    const double hz = tqxsim::BinFrequencyHz(bin);
    const auto count = static_cast<std::size_t>(std::lround(seconds * kRateHz));
    for (std::size_t n = 0; n < count; ++n) {
      const double t = static_cast<double>(samples.size()) / kRateHz;
      samples.push_back(kHalfScale * std::sin(2 * std::numbers::pi * hz * t));
    }
  }
  return samples;
}

void Listen(ConfigRecord& record, int function, int bin, int requiredCount, const char* name) {
  record.triggerBin1[function] = bin;
  record.requiredCount[function] = requiredCount;
  StoreFunctionName(record, function, name);
}

// Bin 20 for the first second, bin 30 for the next. Functions 1 and 2 listen
// to them, 3 and 4 to bins that never sound.
ConfigRecord TwoToneRecord() {
  ConfigRecord record{};
  Listen(record, 1, 20, 2, "first tone");
  Listen(record, 2, 30, 2, "second tone");
  Listen(record, 3, 45, 1, "never played");
  Listen(record, 4, 25, 1, "between the tones");
  return record;
}

ScanRecording Recording(const std::vector<double>& samples) {
  ScanRecording recording;
  for (const double sample : samples) recording.volts.push_back(2.5 + 2.5 * sample);
  recording.sampleRateHz = kRateHz;
  return recording;
}

using Firing = std::pair<int, int>;  // tenths of a second, function

std::vector<Firing> Firings(const std::vector<TickOutcome>& ticks) {
  std::vector<Firing> fired;
  for (const TickOutcome& tick : ticks) {
    if (tick.firedFunction == 0) continue;
    fired.emplace_back(static_cast<int>(std::lround(tick.seconds * 10)), tick.firedFunction);
  }
  return fired;
}

class TwoToneScan : public testing::TestWithParam<std::int32_t> {};

// A required count of 2 fires on every second tick that hears the bin. The
// tick at 1.0 s still reads a frame of the first tone (0.955 s to 0.987 s),
// the one at 1.1 s already one of the second (1.038 s to 1.070 s).
TEST_P(TwoToneScan, FiresExactlyTheFunctionsOnTheTonesBinsOnEverySecondTick) {
  const ScanRecording recording = Recording(Tones({{20, 1.0}, {30, 1.0}}));
  const std::vector<TickOutcome> ticks = RunScan(recording, TwoToneRecord(), GetParam());

  ASSERT_EQ(ticks.size(), 20u) << "one tick every 100 ms up to the recording's end";
  EXPECT_DOUBLE_EQ(ticks.front().seconds, 0.1);
  const std::vector<Firing> expected = {{2, 1},  {4, 1},  {6, 1},  {8, 1},  {10, 1},
                                        {12, 2}, {14, 2}, {16, 2}, {18, 2}, {20, 2}};
  EXPECT_EQ(Firings(ticks), expected);
  for (const TickOutcome& tick : ticks) {
    EXPECT_EQ(tick.heardBin, tick.seconds < 1.05 ? 20 : 30) << "at " << tick.seconds << " s";
  }
}

INSTANTIATE_TEST_SUITE_P(BothEnvironmentModes, TwoToneScan, testing::Values(kNoisyEnvironment, 1),
                         [](const auto& info) { return info.param == kNoisyEnvironment ? "Noisy" : "Quiet"; });

TEST(RecordingScan, QuietModeHearsTheStrongestBinEvenWhenNoFunctionUsesItAndNoisyModeDoesNot) {
  const ScanRecording recording = Recording(Tones({{40, 0.5}}));
  for (const TickOutcome& tick : RunScan(recording, TwoToneRecord(), 1)) EXPECT_EQ(tick.heardBin, 40);
  for (const TickOutcome& tick : RunScan(recording, TwoToneRecord(), kNoisyEnvironment)) EXPECT_EQ(tick.heardBin, 0);
}

TEST(RecordingScan, ATickBeforeTheRecordingsEndReadsNoFrameBeyondIt) {
  // 0.13 s: the frame the tick at 0.1 s reads ends at 0.073 s; no tick at
  // 0.2 s, and the looping input is never reached.
  const ScanRecording recording = Recording(Tones({{20, 0.13}}));
  const std::vector<TickOutcome> ticks = RunScan(recording, TwoToneRecord(), kNoisyEnvironment);
  ASSERT_EQ(ticks.size(), 1u);
  EXPECT_EQ(ticks[0].heardBin, 20);
  EXPECT_NEAR(ticks[0].heardLevelDb, 20 * std::log10(1.25 / std::sqrt(2.0)), 0.2);
}

struct ToolRun {
  int status;
  std::string out;
  std::string err;
};

// The tool on files in a scratch folder of its own.
class ScanTool : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("tqxscan_tests_" + std::to_string(::getpid()) + "_" +
                                           testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    SetMessageBoxHook([](std::string_view text) { ADD_FAILURE() << "message box: " << text; });
    ASSERT_FALSE(WriteConfigFile(TwoToneRecord(), Path("tqxdata.bin")));
  }
  void TearDown() override {
    SetMessageBoxHook({});
    fs::remove_all(folder_);
  }

  std::string Path(const std::string& name) const { return (folder_ / name).string(); }

  std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
    std::ofstream(Path(name), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                      static_cast<std::streamsize>(bytes.size()));
    return Path(name);
  }

  static ToolRun Tool(std::vector<std::string> arguments) {
    std::ostringstream out, err;
    const int status = RunScanTool(arguments, out, err);
    return {status, out.str(), err.str()};
  }

  // A refused recording: status 1, nothing printed but the message.
  static void ExpectRefused(const ToolRun& run, const std::string& message) {
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
  }

 private:
  fs::path folder_;
};

TEST_F(ScanTool, PrintsTheTimelineEachFunctionFiredAndASummaryPerFunction) {
  const std::string wav = Write("two.wav", WavBytes(Tones({{20, 1.0}, {30, 1.0}})));
  const ToolRun run = Tool({"--quiet", wav, Path("tqxdata.bin")});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Quiet mode"), std::string::npos);
  EXPECT_NE(run.out.find("   0.1 s    20    602.6"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("   0.2 s  fired function 1 \"first tone\" (bin 20)\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("  function 2 \"second tone\", bins 30, required count 2: fired 5 times, first at 1.2 s, "
                         "last at 2.0 s\n"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("  function 3 \"never played\", bins 45, required count 1: never fired\n"), std::string::npos);
  EXPECT_NE(run.out.find("  function 5: no trigger bins\n"), std::string::npos);
}

TEST_F(ScanTool, SaysWhenATriggerBinLiesWhereTheMonitorNeverListens) {
  ConfigRecord record = TwoToneRecord();
  record.triggerBin2[1] = 10;
  ASSERT_FALSE(WriteConfigFile(record, Path("low.bin")));
  const ToolRun run = Tool({Write("two.wav", WavBytes(Tones({{20, 0.5}}))), Path("low.bin")});
  EXPECT_NE(run.out.find("bins 20 10, required count 2: fired 2 times, first at 0.2 s, last at 0.4 s (never heard: "
                         "10; the monitor listens to bins 15 to 64)"),
            std::string::npos)
      << run.out;
}

TEST_F(ScanTool, RefusesARecordingThatWillNotDoWithAMessageThatSaysWhy) {
  ExpectRefused(Tool({Write("stereo.wav", WavBytes(Tones({{20, 0.5}}), 2))}),
                "not mono (2 channels); tqxscan reads one channel");
  ExpectRefused(Tool({Write("empty.wav", {})}), "empty.wav: the file is empty (0 bytes), not a recording");
  ExpectRefused(Tool({Write("silent.wav", WavBytes({}))}), "silent.wav: the recording holds no samples");

  std::vector<std::uint8_t> cut = WavBytes(Tones({{20, 0.5}}));
  cut.resize(cut.size() / 2);
  ExpectRefused(Tool({Write("cut.wav", cut)}),
                "cut.wav: truncated: its header announces 8044 bytes, the file holds 4022");

  ExpectRefused(Tool({Write("text.wav", {'h', 'e', 'l', 'l', 'o'})}), "text.wav: not a WAV file");
  ExpectRefused(Tool({Write("blip.wav", WavBytes(Tones({{20, 0.05}}))), Path("tqxdata.bin")}),
                "lasts less than one tick");
  ExpectRefused(Tool({Path("absent.wav")}), "absent.wav: no such file");
}

TEST_F(ScanTool, RefusesAMissingDataFileAndAWrongCommandLine) {
  const std::string wav = Write("two.wav", WavBytes(Tones({{20, 0.5}})));
  ExpectRefused(Tool({wav, Path("absent.bin")}), "absent.bin: no such data file");

  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{}, {"--loud", wav}, {wav, Path("tqxdata.bin"), "extra"}, {"--version", wav}}) {
    const ToolRun run = Tool(arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("Usage: tqxscan [--quiet] RECORDING.wav [FILE]"), std::string::npos);
  }
}

}  // namespace
