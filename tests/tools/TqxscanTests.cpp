#include <gtest/gtest.h>
#if defined(TQX_HAVE_SNDFILE)
#include <sndfile.h>
#endif

#include <bit>
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
#include "support/FileBytes.h"
#include "support/ScratchFolder.h"
#include "tools/Utf8Path.h"
#include "tools/tqxscan/RecordingFile.h"
#include "tools/tqxscan/RecordingScan.h"
#include "tools/tqxscan/ScanTool.h"
#include "tools/tqxscan/ToneFinder.h"
#include "tools/tqxscan/TonePlot.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRateHz = 8000;
constexpr double kHalfScale = 0.5;  // 1.25 V peak on the module's input: far above -20 dB

// How WavBytes stores a sample: integer PCM (format 1) or IEEE float (3) of
// `bytes` bytes, in a plain or an extensible format chunk.
struct WaveCoding {
  std::uint16_t format;
  std::uint32_t bytes;
  bool extensible;
};
constexpr WaveCoding kPcm16{1, 2, false};

std::uint64_t SampleBits(double sample, const WaveCoding& coding) {
  if (coding.format == 3 && coding.bytes == 4) return std::bit_cast<std::uint32_t>(static_cast<float>(sample));
  if (coding.format == 3) return std::bit_cast<std::uint64_t>(sample);
  const auto value = static_cast<std::uint64_t>(std::llround(sample * (std::ldexp(1.0, 8 * coding.bytes - 1) - 1)));
  return coding.bytes == 1 ? value + 128 : value;  // 8-bit samples are unsigned
}

// One channel per vector, all of one length.
std::vector<std::uint8_t> WavBytes(const std::vector<std::vector<double>>& channels, const WaveCoding& coding) {
  const auto count = static_cast<std::uint32_t>(channels.size());
  const std::uint32_t frameBytes = coding.bytes * count;
  const auto dataBytes = static_cast<std::uint32_t>(channels[0].size() * frameBytes);
  const std::uint32_t formatBytes = coding.extensible ? 40 : 16;
  std::vector<std::uint8_t> bytes;
  bytes.reserve(28 + formatBytes + dataBytes);
  auto put = [&bytes](std::uint64_t value, std::uint32_t count) {
    for (std::uint32_t i = 0; i < count; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  };
  // Byte by byte: GCC 12 misreads a range insert here as writing past the end
  // (-Wstringop-overflow).
  auto tag = [&bytes](const char* text) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(text[i]));
  };
  tag("RIFF");
  put(20 + formatBytes + dataBytes, 4);
  tag("WAVE");
  tag("fmt ");
  put(formatBytes, 4);
  put(coding.extensible ? 0xFFFE : coding.format, 2);
  put(count, 2);
  put(kRateHz, 4);
  put(kRateHz * frameBytes, 4);
  put(frameBytes, 2);
  put(8 * coding.bytes, 2);
  if (coding.extensible) {
    put(22, 2);                // the extension's size
    put(8 * coding.bytes, 2);  // valid bits
    put(0, 4);                 // no speaker positions
    put(coding.format, 2);     // the coding's GUID, from the format tag
    for (std::uint8_t byte : {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}) {
      bytes.push_back(byte);
    }
  }
  tag("data");
  put(dataBytes, 4);
  for (std::size_t frame = 0; frame < channels[0].size(); ++frame) {
    for (const std::vector<double>& channel : channels) put(SampleBits(channel[frame], coding), coding.bytes);
  }
  return bytes;
}

// Mono or multi-channel 16-bit PCM; each channel carries the same samples.
std::vector<std::uint8_t> WavBytes(const std::vector<double>& samples, int channels = 1) {
  return WavBytes(std::vector<std::vector<double>>(static_cast<std::size_t>(channels), samples), kPcm16);
}

// Appends seconds of a sine at hz (or silence, at amplitude 0).
void AddSine(std::vector<double>& samples, double hz, double seconds, double amplitude = kHalfScale) {
  const auto count = static_cast<std::size_t>(std::lround(seconds * kRateHz));
  for (std::size_t n = 0; n < count; ++n) {
    const double t = static_cast<double>(samples.size()) / kRateHz;
    samples.push_back(amplitude * std::sin(2 * std::numbers::pi * hz * t));
  }
}

// A voice, as the finder meets it: ten harmonics of a pitch that glides
// between 110 and 170 Hz.
void AddVoice(std::vector<double>& samples, double seconds) {
  double phase = 0.0;
  for (int n = 0; n < std::lround(seconds * kRateHz); ++n) {
    phase += 2 * std::numbers::pi * (140 + 30 * std::sin(2 * std::numbers::pi * 1.5 * n / kRateHz)) / kRateHz;
    double value = 0.0;
    for (int k = 1; k <= 10; ++k) value += 0.15 * std::sin(k * phase) / k;
    samples.push_back(value);
  }
}

// Tones one after the other: (bin, seconds) each, centred on the bin at the
// module's sample rate.
std::vector<double> Tones(std::initializer_list<std::pair<int, double>> steps) {
  std::vector<double> samples;
  for (const auto& [bin, seconds] : steps) AddSine(samples, tqxsim::BinFrequencyHz(bin), seconds);
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
class ScanFolder : public testing::Test {
 protected:
  void SetUp() override {
    SetMessageBoxHook([](std::string_view text) { ADD_FAILURE() << "message box: " << text; });
    ASSERT_FALSE(WriteConfigFile(TwoToneRecord(), Path("tqxdata.bin")));
  }
  void TearDown() override { SetMessageBoxHook({}); }

  // The tool's command-line form of a file in the folder: UTF-8.
  std::string Path(const std::string& name) const { return Utf8FromPath(scratch_.Path() / PathFromUtf8(name)); }

  std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
    WriteFileBytes(PathFromUtf8(Path(name)), bytes);
    return Path(name);
  }

#if defined(TQX_HAVE_SNDFILE)
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
#endif

  ToneFindings Find(const std::string& path) const {
    tqxsim::OpenedRecording native = OpenScanRecording(PathFromUtf8(path), 1);
    tqxsim::OpenedRecording module = OpenScanRecording(PathFromUtf8(path), 1);
    ToneFindings findings;
    if (!native.reader || !module.reader) return findings;
    tqxsim::RecordingStream moduleStream(std::move(module.reader));
    EXPECT_TRUE(FindTones(*native.reader, moduleStream, {}, findings));
    return findings;
  }

  std::vector<TickOutcome> Scan(const std::string& path, std::int32_t environmentMode, int channel = 1) const {
    tqxsim::OpenedRecording opened = OpenScanRecording(PathFromUtf8(path), channel);
    EXPECT_EQ(opened.error, "") << path;
    if (!opened.reader) return {};
    tqxsim::RecordingStream recording(std::move(opened.reader));
    std::vector<TickOutcome> ticks;
    EXPECT_FALSE(RunScan(recording, TwoToneRecord(), environmentMode, {},
                         [&ticks](const TickOutcome& tick) { ticks.push_back(tick); }));
    return ticks;
  }

 private:
  ScratchFolder scratch_{"tqxscan-tests"};
};

class TwoToneScan : public ScanFolder, public testing::WithParamInterface<std::int32_t> {};

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

using RecordingScan = ScanFolder;

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
  const std::vector<TickOutcome> ticks = Scan(Write("folded.wav", WavBytes(samples)), 1);
  ASSERT_EQ(ticks.size(), 5u);
  for (const TickOutcome& tick : ticks) EXPECT_EQ(tick.heardBin, 33) << "at " << tick.seconds << " s";
}

// A format written by the sound-file library, or, where its number is 0, a
// WAV coding written by WavBytes.
struct RecordingFormat {
  const char* name;
  int libraryFormat;
  WaveCoding coding;
  bool lossy;  // compared by the bins heard and the functions fired, not by levels
};

class EachFormat : public ScanFolder, public testing::WithParamInterface<RecordingFormat> {
 protected:
  // Empty when the sound-file library cannot write the format.
  std::string WriteFormat(const std::vector<double>& samples) const {
    const std::string name = std::string("two.") + GetParam().name;
#if defined(TQX_HAVE_SNDFILE)
    if (GetParam().libraryFormat != 0) return WriteRecording(name, GetParam().libraryFormat, {samples});
#endif
    return Write(name, WavBytes({samples}, GetParam().coding));
  }
};

TEST_P(EachFormat, FiresAsItsWavTwinAndHearsTheSameBins) {
  const std::vector<double> tones = Tones({{20, 1.0}, {30, 1.0}});
  const std::string recording = WriteFormat(tones);
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

std::string FormatTestName(const testing::TestParamInfo<RecordingFormat>& info) {
  std::string name = info.param.name;
  std::erase(name, '.');
  return name;
}

// Every coding a WAV reader must take, on every platform.
INSTANTIATE_TEST_SUITE_P(
    WaveCodings, EachFormat,
    testing::Values(RecordingFormat{"u8.wav", 0, {1, 1, false}, true},
                    RecordingFormat{"24.wav", 0, {1, 3, false}, false},
                    RecordingFormat{"32.wav", 0, {1, 4, false}, false},
                    RecordingFormat{"double.wav", 0, {3, 8, false}, false},
                    RecordingFormat{"float.wavex", 0, {3, 4, true}, false}),
    FormatTestName);

#if defined(TQX_HAVE_SNDFILE)
INSTANTIATE_TEST_SUITE_P(
    LibraryFormats, EachFormat,
    testing::Values(RecordingFormat{"float.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, {}, false},
                    RecordingFormat{"24.wavex", SF_FORMAT_WAVEX | SF_FORMAT_PCM_24, {}, false},
                    RecordingFormat{"rf64", SF_FORMAT_RF64 | SF_FORMAT_PCM_16, {}, false},
                    RecordingFormat{"w64", SF_FORMAT_W64 | SF_FORMAT_PCM_32, {}, false},
                    RecordingFormat{"flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, {}, false},
                    RecordingFormat{"ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, {}, true},
                    RecordingFormat{"opus", SF_FORMAT_OGG | SF_FORMAT_OPUS, {}, true},
                    RecordingFormat{"mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, {}, true}),
    FormatTestName);
#endif

// Each tone as measured, its ends within 0.1 s and its frequency within
// 2 Hz; speech, a blip shorter than 0.3 s and noise are no tones.
TEST_F(RecordingScan, FindsEachSteadyToneWithWhatTheModuleMakesOfIt) {
  std::vector<double> samples;
  AddSine(samples, 0, 0.5);
  AddSine(samples, 1122.5, 1.0);  // between bins 36 and 37, then at once
  AddSine(samples, 850.0, 3.0);   // tone B of a two-tone page
  AddSine(samples, 0, 0.5);
  AddVoice(samples, 1.5);
  AddSine(samples, 0, 0.5);
  AddSine(samples, 2500.0, 1.0);  // folds to 1559.5 Hz
  AddSine(samples, 300.0, 1.0);
  AddSine(samples, 0, 0.5);
  AddSine(samples, 1500.0, 0.2);  // a blip
  AddSine(samples, 0, 0.5);
  AddSine(samples, 1500.0, 1.0, 0.02);  // -29 dB
  AddSine(samples, 1130.0, 0.25);       // shorter than a count of 3 needs, still no tone
  AddSine(samples, 1130.0, 0.5, 0.3);   // in bin 37 with the first
  for (int n = 0; n < kRateHz; ++n) samples.push_back(0.1 * std::sin(n * n * 0.37));  // noise
  const ToneFindings found = Find(Write("tones.wav", WavBytes(samples)));

  struct Expected {
    double start, end, hz;
    int strongestBin;
    unsigned flags;
  };
  const auto flags = [](std::initializer_list<ToneFlag> set) {
    unsigned bits = 0;
    for (const ToneFlag flag : set) bits |= static_cast<unsigned>(flag);
    return bits;
  };
  const std::vector<Expected> expected = {
      {0.5, 1.5, 1122.5, 36, flags({ToneFlag::BetweenBins, ToneFlag::SharesBins})},
      {1.5, 4.5, 850.0, 28, 0},
      {7.0, 8.0, 2500.0, 50, flags({ToneFlag::AboveRange})},
      {8.0, 9.0, 300.0, 10, flags({ToneFlag::BelowRange, ToneFlag::BetweenBins})},
      {10.2, 11.2, 1500.0, 48, flags({ToneFlag::TooWeakForNoisy})},
      {11.2, 11.95, 1130.0, 37, flags({ToneFlag::BetweenBins, ToneFlag::SharesBins})},
  };
  ASSERT_EQ(found.tones.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const FoundTone& tone = found.tones[i];
    SCOPED_TRACE(testing::Message() << "tone " << i << " at " << tone.startSeconds << " s, " << tone.frequencyHz);
    EXPECT_NEAR(tone.startSeconds, expected[i].start, 0.1);
    EXPECT_NEAR(tone.endSeconds, expected[i].end, 0.1);
    EXPECT_NEAR(tone.frequencyHz, expected[i].hz, 2.0);
    ASSERT_FALSE(tone.bins.empty());
    EXPECT_EQ(tone.bins.front().bin, expected[i].strongestBin);
    EXPECT_EQ(tone.flags, expected[i].flags);
  }
  EXPECT_NEAR(found.tones[2].foldsToHz, tqxsim::kModelledSampleRateHz - 2500.0, 2.0);
  EXPECT_TRUE(found.tones[1].noisyHears && found.tones[1].quietHears);
  EXPECT_FALSE(found.tones[3].noisyHears || found.tones[3].quietHears);
  EXPECT_EQ(found.distinct.size(), 6u);
}

// A day with a page every ten seconds draws a picture no larger than a
// minute's: tones and fires are gathered into the picture's columns.
TEST(TonePlot, ADayLongRecordingMakesAPictureOfReasonableSize) {
  ToneFindings day;
  day.distinct = {{1122.5, 0, {{36, -4.0}}, true, {}}, {741.0, 0, {{24, -3.3}}, true, {}}};
  TonePlot plot("day.wav", 0.0, 86400.0);
  for (double start = 0.0; start < 86400.0; start += 10.0) {
    day.tones.push_back({start, start + 1.0, 1122.5, -1.0, 1122.5, {{36, -4.0}}, true, true, 10, 10, 0, 0});
    day.tones.push_back({start + 1.0, start + 4.0, 741.0, -1.0, 741.0, {{24, -3.3}}, true, true, 30, 30, 0, 1});
    plot.AddFire(1, start + 0.7);
  }
  ConfigRecord record{};
  Listen(record, 1, 36, 7, "1122.5 Hz");
  std::ostringstream svg;
  plot.Write(svg, day, &record);
  EXPECT_LT(svg.str().size(), 100'000u);
  EXPECT_NE(svg.str().find(">1 1122.5 Hz</text>"), std::string::npos);
}

struct ToolRun {
  int status;
  std::string out;
  std::string err;
};

class ScanTool : public ScanFolder {
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

// The files' names are outside any one-byte code page, which Windows would
// read a narrow name in.
TEST_F(ScanTool, PrintsTheTimelineEachFunctionFiredAndASummaryPerFunction) {
  const std::string wav = Write("два тона.wav", WavBytes(Tones({{20, 1.0}, {30, 1.0}})));
  ASSERT_FALSE(WriteConfigFile(TwoToneRecord(), PathFromUtf8(Path("функции.bin"))));
  const ToolRun run = Tool({"--quiet", wav, Path("функции.bin")});
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

// Damaged or hostile headers: refused with the reason, never read past.
TEST_F(ScanTool, RefusesAHeaderThatDescribesNoSamplesItCanRead) {
  const std::vector<std::uint8_t> plain = WavBytes(Tones({{20, 0.5}}));
  const std::vector<std::uint8_t> extensible = WavBytes({Tones({{20, 0.5}})}, {3, 4, true});
  struct Damage {
    const std::vector<std::uint8_t>& bytes;
    std::size_t offset;
    std::uint8_t value;
  };
  for (const Damage& damage : {Damage{plain, 22, 0},            // no channels
                               Damage{plain, 20, 0x34},         // a coding nobody reads
                               Damage{plain, 12, 'x'},          // no format chunk
                               Damage{plain, 36, 'x'},          // no data chunk
                               Damage{extensible, 50, 0x11}}) {  // a foreign coding's GUID
    std::vector<std::uint8_t> bytes = damage.bytes;
    bytes[damage.offset] = damage.value;
    ExpectRefused(Tool({Write("damaged.wav", bytes)}), "damaged.wav: not a recording this program reads (");
  }
}

// Channel 1 carries bin 45, channel 2 the two tones; only the summary and
// the functions fired within the window are printed.
TEST_F(ScanTool, ScansTheChosenChannelOverTheChosenWindowAndSummarises) {
  const std::vector<std::vector<double>> channels = {Tones({{45, 2.0}}), Tones({{20, 1.0}, {30, 1.0}})};
#if defined(TQX_HAVE_SNDFILE)
  // Compressed: the window is reached by decoding, not by a seek.
  const std::string stereo = WriteRecording("stereo.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, channels);
#else
  const std::string stereo = Write("stereo.wav", WavBytes(channels, kPcm16));
#endif
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

// Two pages of tones A and B, with speech between: one function each, fired
// once per page by the replay, written as a new data file that is then kept.
TEST_F(ScanTool, DefinesAFunctionPerToneThatFiresOncePerOccurrenceAndKeepsTheFile) {
  std::vector<double> samples;
  for (int page = 0; page < 2; ++page) {
    AddSine(samples, 0, 1.0);
    AddSine(samples, 1122.5, 1.0);
    AddSine(samples, 741.0, 3.0);
    AddSine(samples, 0, 1.0);
    AddVoice(samples, 2.0);
  }
  const std::string wav = Write("pages.wav", WavBytes(samples));
  const std::string defined = Path("новые.bin"), picture = Path("pages.svg");
  const ToolRun run = Tool({"--tones", "--define", defined, "--plot", picture, wav});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("  function 1 \"1122.4 Hz\", bins 36 37"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("  function 2 \"740.9 Hz\", bins 24 25"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("warning"), std::string::npos) << run.out;
  const std::string once = "fired 2 times, 2 occurrences of its tone: once per occurrence\n";
  EXPECT_NE(run.out.find(once, run.out.find(once) + 1), std::string::npos) << "both functions: " << run.out;
  ConfigRecord record{};
  ASSERT_FALSE(ReadConfigFile(record, PathFromUtf8(defined)));
  EXPECT_EQ(record.triggerBin1[1], 36);
  EXPECT_EQ(record.triggerBin1[3], 0);
  std::ifstream svg(PathFromUtf8(picture));
  const std::string drawn{std::istreambuf_iterator<char>(svg), std::istreambuf_iterator<char>()};
  EXPECT_NE(drawn.find(">740.9 Hz (flagged)</text>"), std::string::npos);

  const ToolRun again = Tool({"--tones", "--json", "--define", defined, wav});
  ExpectRefused(again, "exists already and is kept");
  const ToolRun forced = Tool({"--tones", "--json", "--define", defined, "--force", wav});
  EXPECT_EQ(forced.status, 0);
  EXPECT_EQ(forced.out.find("{\"start_s\":1.00,\"end_s\":2.00,\"frequency_hz\":1122."), 0u) << forced.out;
}

// Ten tones, the first two twice: the eight most frequent get functions, and
// the two found last are named as left out.
TEST_F(ScanTool, DefinesEightFunctionsAtMostAndSaysWhichTonesWereLeftOut) {
  std::vector<double> samples;
  for (const int bin : {20, 23, 26, 29, 32, 35, 38, 41, 44, 47, 20, 23}) {
    AddSine(samples, tqxsim::BinFrequencyHz(bin), 0.6);
    AddSine(samples, 0, 0.4);
  }
  const ToolRun run = Tool({"--tones", "--define", Path("ten.bin"), Write("ten.wav", WavBytes(samples))});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("  function 1 \"602.7 Hz\", bins 20, required count"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("  function 8 \"1268.7 Hz\""), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("  left out (eight functions at most): 1363.7 Hz, 1 occurrence\n"
                         "  left out (eight functions at most): 1458.8 Hz, 1 occurrence\n"),
            std::string::npos)
      << run.out;
}

TEST_F(ScanTool, RefusesAMissingDataFileAndAWrongCommandLine) {
  const std::string wav = Write("two.wav", WavBytes(Tones({{20, 0.5}})));
  ExpectRefused(Tool({wav, Path("absent.bin")}), "absent.bin: no such data file");

  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{}, {"--loud", wav}, {wav, Path("tqxdata.bin"), "extra"}, {"--version", wav},
        {"--channel", "0", wav}, {"--from", "1:x", wav}, {wav, "--to"}, {"--from", "0.4", "--to", "0.3", wav},
        {"--json", wav}, {"--tones", "--summary", wav}, {"--tones", "--force", wav},
        {"--tones", "--define", "x.bin", wav, Path("tqxdata.bin")}}) {
    const ToolRun run = Tool(arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("Usage: tqxscan [--quiet] [--summary] [--channel N] [--from TIME] [--to TIME] RECORDING"),
              std::string::npos);
  }
}

}  // namespace
