#include <gtest/gtest.h>
#include <sndfile.h>
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
#include "tools/tqxscan/RecordingFile.h"
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

using Firing = std::pair<int, int>;  // tenths of a second, function

std::vector<Firing> Firings(const std::vector<TickOutcome>& ticks) {
  std::vector<Firing> fired;
  for (const TickOutcome& tick : ticks) {
    if (tick.firedFunction == 0) continue;
    fired.emplace_back(static_cast<int>(std::lround(tick.seconds * 10)), tick.firedFunction);
  }
  return fired;
}

// Tests on files in a scratch folder of their own.
class ScratchFolder : public testing::Test {
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

  // The channels through the sound-file library's writer; empty when it
  // cannot write format.
  std::string WriteRecording(const std::string& name, int format, const std::vector<std::vector<double>>& channels,
                             int rateHz = kRateHz) const {
    SF_INFO info{};
    info.samplerate = rateHz;
    info.channels = static_cast<int>(channels.size());
    info.format = format;
    SNDFILE* file = sf_open(Path(name).c_str(), SFM_WRITE, &info);
    if (file == nullptr) return "";
    std::vector<double> interleaved;
    for (std::size_t frame = 0; frame < channels[0].size(); ++frame) {
      for (const std::vector<double>& channel : channels) interleaved.push_back(channel[frame]);
    }
    sf_writef_double(file, interleaved.data(), static_cast<sf_count_t>(channels[0].size()));
    sf_close(file);
    return Path(name);
  }

  std::vector<TickOutcome> Scan(const std::string& path, std::int32_t environmentMode, int channel = 1) const {
    tqxsim::OpenedRecording opened = OpenScanRecording(path, channel);
    EXPECT_EQ(opened.error, "") << path;
    if (!opened.reader) return {};
    tqxsim::RecordingStream recording(std::move(opened.reader));
    std::vector<TickOutcome> ticks;
    EXPECT_FALSE(RunScan(recording, TwoToneRecord(), environmentMode, {},
                         [&ticks](const TickOutcome& tick) { ticks.push_back(tick); }));
    return ticks;
  }

 private:
  fs::path folder_;
};

class TwoToneScan : public ScratchFolder, public testing::WithParamInterface<std::int32_t> {};

// A required count of 2 fires on every second tick that hears the bin. The
// tick at 1.0 s still reads a frame of the first tone (0.955 s to 0.987 s),
// the one at 1.1 s already one of the second (1.038 s to 1.070 s).
TEST_P(TwoToneScan, FiresExactlyTheFunctionsOnTheTonesBinsOnEverySecondTick) {
  const std::vector<TickOutcome> ticks = Scan(Write("two.wav", WavBytes(Tones({{20, 1.0}, {30, 1.0}}))), GetParam());

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

using RecordingScan = ScratchFolder;

TEST_F(RecordingScan, QuietModeHearsTheStrongestBinEvenWhenNoFunctionUsesItAndNoisyModeDoesNot) {
  const std::string recording = Write("forty.wav", WavBytes(Tones({{40, 0.5}})));
  for (const TickOutcome& tick : Scan(recording, 1)) EXPECT_EQ(tick.heardBin, 40);
  for (const TickOutcome& tick : Scan(recording, kNoisyEnvironment)) EXPECT_EQ(tick.heardBin, 0);
}

TEST_F(RecordingScan, ATickBeforeTheRecordingsEndReadsNoFrameBeyondIt) {
  // 0.13 s: the frame the tick at 0.1 s reads ends at 0.073 s; no tick at
  // 0.2 s, and the looping input is never reached.
  const std::vector<TickOutcome> ticks = Scan(Write("short.wav", WavBytes(Tones({{20, 0.13}}))), kNoisyEnvironment);
  ASSERT_EQ(ticks.size(), 1u);
  EXPECT_EQ(ticks[0].heardBin, 20);
  EXPECT_NEAR(ticks[0].heardLevelDb, 20 * std::log10(1.25 / std::sqrt(2.0)), 0.2);
}

// The module samples with no anti-alias filter: a tone above half its rate
// is heard at its alias, as the real input would hear it.
TEST_F(RecordingScan, ATonePastHalfTheModulesRateIsHeardInTheBinItFoldsInto) {
  const double foldsOntoBin33Hz = tqxsim::kModelledSampleRateHz - tqxsim::BinFrequencyHz(33);
  std::vector<double> samples;
  for (int n = 0; n < kRateHz / 2; ++n) {
    samples.push_back(kHalfScale * std::sin(2 * std::numbers::pi * foldsOntoBin33Hz * n / kRateHz));
  }
  const std::vector<TickOutcome> ticks =
      Scan(WriteRecording("folded.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, {samples}), 1);
  ASSERT_EQ(ticks.size(), 5u);
  for (const TickOutcome& tick : ticks) EXPECT_EQ(tick.heardBin, 33) << "at " << tick.seconds << " s";
}

struct RecordingFormat {
  const char* name;
  int format;
  bool lossy;  // compared by the bins heard and the functions fired, not by levels
};

class EachFormat : public ScratchFolder, public testing::WithParamInterface<RecordingFormat> {};

TEST_P(EachFormat, FiresAsItsWavTwinAndHearsTheSameBins) {
  const std::vector<double> tones = Tones({{20, 1.0}, {30, 1.0}});
  const std::string recording = WriteRecording(std::string("two.") + GetParam().name, GetParam().format, {tones});
  if (recording.empty()) GTEST_SKIP() << "the sound-file library cannot write " << GetParam().name;
  const std::vector<TickOutcome> twin = Scan(Write("twin.wav", WavBytes(tones)), kNoisyEnvironment);
  const std::vector<TickOutcome> ticks = Scan(recording, kNoisyEnvironment);
  ASSERT_EQ(ticks.size(), twin.size());
  EXPECT_EQ(Firings(ticks), Firings(twin));
  for (std::size_t i = 0; i < ticks.size(); ++i) {
    EXPECT_EQ(ticks[i].heardBin, twin[i].heardBin) << "at " << ticks[i].seconds << " s";
    EXPECT_NEAR(ticks[i].heardLevelDb, twin[i].heardLevelDb, GetParam().lossy ? 1.5 : 0.05) << ticks[i].seconds;
  }
}

INSTANTIATE_TEST_SUITE_P(
    LibraryFormats, EachFormat,
    testing::Values(RecordingFormat{"float.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, false},
                    RecordingFormat{"24.wavex", SF_FORMAT_WAVEX | SF_FORMAT_PCM_24, false},
                    RecordingFormat{"rf64", SF_FORMAT_RF64 | SF_FORMAT_PCM_16, false},
                    RecordingFormat{"w64", SF_FORMAT_W64 | SF_FORMAT_PCM_32, false},
                    RecordingFormat{"flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, false},
                    RecordingFormat{"ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, true},
                    RecordingFormat{"opus", SF_FORMAT_OGG | SF_FORMAT_OPUS, true},
                    RecordingFormat{"mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, true}),
    [](const auto& info) {
      std::string name = info.param.name;
      std::erase(name, '.');
      return name;
    });

struct ToolRun {
  int status;
  std::string out;
  std::string err;
};

class ScanTool : public ScratchFolder {
 protected:
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
  ExpectRefused(Tool({"--channel", "3", Write("stereo.wav", WavBytes(Tones({{20, 0.5}}), 2))}),
                "stereo.wav: has no channel 3 (2 channels)");
  ExpectRefused(Tool({Write("empty.wav", {})}), "empty.wav: the file is empty (0 bytes), not a recording");
  ExpectRefused(Tool({Write("silent.wav", WavBytes({}))}), "silent.wav: the recording holds no samples");

  std::vector<std::uint8_t> cut = WavBytes(Tones({{20, 0.5}}));
  cut.resize(cut.size() / 2);
  ExpectRefused(Tool({Write("cut.wav", cut)}),
                "cut.wav: truncated: its header announces 8044 bytes, the file holds 4022");

  ExpectRefused(Tool({Write("text.wav", {'h', 'e', 'l', 'l', 'o'})}), "text.wav: not a recording this program reads");
  ExpectRefused(Tool({Write("blip.wav", WavBytes(Tones({{20, 0.05}}))), Path("tqxdata.bin")}),
                "lasts less than one tick");
  ExpectRefused(Tool({Path("absent.wav")}), "absent.wav: no such file");
}

// Channel 1 carries bin 45, channel 2 the two tones; only the summary and
// the functions fired within the window are printed.
TEST_F(ScanTool, ScansTheChosenChannelOverTheChosenWindowAndSummarises) {
  const std::string stereo = WriteRecording("stereo.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16,
                                            {Tones({{45, 2.0}}), Tones({{20, 1.0}, {30, 1.0}})});
  const ToolRun run =
      Tool({"--summary", "--channel", "2", "--from", "0:01", "--to", "1.6", stereo, Path("tqxdata.bin")});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("2.00 s, channel 2 of 2, 8000 Hz"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("   1.1 s    30"), std::string::npos) << "no timeline in a summary";
  EXPECT_NE(run.out.find("   1.2 s  fired function 2 \"second tone\" (bin 30)\n   1.4 s  fired function 2"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("  function 2 \"second tone\", bins 30, required count 2: fired 3 times, first at 1.2 s, "
                         "last at 1.6 s\n"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("function 1 \"first tone\", bins 20, required count 2: never fired"), std::string::npos);
  EXPECT_NE(run.out.find("function 3 \"never played\", bins 45, required count 1: never fired"), std::string::npos);
  EXPECT_EQ(run.err, "") << "no progress line off a terminal";
}

TEST_F(ScanTool, RefusesAMissingDataFileAndAWrongCommandLine) {
  const std::string wav = Write("two.wav", WavBytes(Tones({{20, 0.5}})));
  ExpectRefused(Tool({wav, Path("absent.bin")}), "absent.bin: no such data file");

  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{}, {"--loud", wav}, {wav, Path("tqxdata.bin"), "extra"}, {"--version", wav},
        {"--channel", "0", wav}, {"--from", "1:x", wav}, {wav, "--to"}, {"--from", "0.4", "--to", "0.3", wav}}) {
    const ToolRun run = Tool(arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("Usage: tqxscan [--quiet] [--summary] [--channel N] [--from TIME] [--to TIME] RECORDING"),
              std::string::npos);
  }
}

}  // namespace
