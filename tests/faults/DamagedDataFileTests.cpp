// The monitor started on damaged data files: start-up completes, the window
// shows sane fields, and no function sends a voltage the analog outputs
// cannot deliver, whatever the file holds.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <utility>

#include "ModuleTraffic.h"
#include "app/DetectionWindow.h"
#include "detect/DetectionState.h"

namespace {

using namespace MainWindowIds;
namespace fs = std::filesystem;

constexpr std::size_t kNoiseFileBytes = 10 * 1024 * 1024;
constexpr int kToneBin = 30;

// The DAC words the stored record may send: those of enabled steps whose volts
// the outputs can deliver.
std::set<std::pair<std::uint8_t, std::int32_t>> DeliverableDacWords(const ConfigRecord& record) {
  std::set<std::pair<std::uint8_t, std::int32_t>> words;
  for (int function = 1; function <= kFunctionCount; ++function) {
    if (record.analog1Enabled[function] == 1 && AnalogVoltsInRange(record.analog1Volts[function])) {
      words.insert({0x30, VoltsToCode(record.analog1Volts[function])});
    }
    if (record.analog2Enabled[function] == 1 && AnalogVoltsInRange(record.analog2Volts[function])) {
      words.insert({0x31, VoltsToCode(record.analog2Volts[function])});
    }
  }
  return words;
}

class DamagedDataFile : public DetectionWindow, public ::testing::WithParamInterface<std::string> {
 protected:
  // Puts the file in the working folder as the data file; the noise file is
  // made here rather than kept in the repository.
  void PlaceDataFile(const std::string& name) {
    if (name == "noise-10MB") {
      std::mt19937 random(20240607);
      std::ofstream out(kDataFileName, std::ios::binary);
      for (std::size_t i = 0; i < kNoiseFileBytes; i += sizeof(std::uint32_t)) {
        const std::uint32_t word = random();
        out.write(reinterpret_cast<const char*>(&word), sizeof word);
      }
      return;
    }
    fs::copy_file(fs::path(TQX_FAULT_DATAFILES) / name, kDataFileName);
  }

  void StartOn(const std::string& name) {
    PlaceDataFile(name);
    ASSERT_TRUE(window.Create());
    ASSERT_TRUE(ProcessEventsUntil([] { return PeakBin.load() >= kFirstPeakBin; }));
  }
};

TEST_P(DamagedDataFile, StartsWithSaneFieldsAndSendsNoUndeliverableVoltage) {
  ASSERT_NO_FATAL_FAILURE(StartOn(GetParam()));
  const std::uint64_t startedAt = LastFrameNumber(sim);

  for (int function = 1; function <= kFunctionCount; ++function) {
    const std::string name = Text(NameFields[function - 1]);
    EXPECT_LE(name.size(), static_cast<std::size_t>(kNameMaxChars)) << "function " << function;
    EXPECT_EQ(name, FunctionNameText(configRecord, function).substr(0, kNameMaxChars));
    EXPECT_EQ(Text(CountFields[function - 1]), "0");
  }
  EXPECT_TRUE(ProcessEventsUntil([&] { return Text(IDC_PEAK_BIN) == "15"; })) << "the input is silent";

  // Every function that listens to the tone runs, on its own ticks; then each
  // one once more by hand.
  sim.SetBinToneInput(kToneBin, kLoudToneVolts, tqxsim::kInputBiasVolts);
  EXPECT_TRUE(ProcessEventsUntil([&] { return Text(IDC_PEAK_BIN) == std::to_string(kToneBin); }));
  ProcessEventsFor(400ms);
  for (int function = 1; function <= kFunctionCount; ++function) window.RunFunction(function);

  const auto deliverable = DeliverableDacWords(configRecord);
  for (const tqxsim::RecordedFrame& frame : WindowFramesAfter(sim, startedAt)) {
    if (const auto word = DecodeDacFrame(frame.bytes)) {
      EXPECT_TRUE(deliverable.contains({word->channelByte, word->code}))
          << "DAC frame " << frame.number << " sets code " << word->code;
    }
  }
  for (int channel : {1, 2}) {
    const tqxsim::AnalogOutput output = sim.AnalogChannel(channel);
    EXPECT_GE(output.volts, 0.0);
    EXPECT_LE(output.volts, 5.0);
  }
  EXPECT_TRUE(sim.IsOpen());
}

INSTANTIATE_TEST_SUITE_P(Corpus, DamagedDataFile,
                         ::testing::Values("empty.bin", "one-byte.bin", "cut-at-955-bytes.bin", "names-without-nul.bin",
                                           "counts-bins-and-actions-at-int32-limits.bin",
                                           "volts-nan-and-infinite.bin", "noise-10MB",
                                           "good-one-function-sets-3v3-and-closes-k1.bin"),
                         [](const auto& info) {
                           std::string name = info.param.substr(0, info.param.find('.'));
                           std::erase(name, '-');
                           return name;
                         });

TEST_F(DamagedDataFile, AFunctionWithUndeliverableVoltsStillSwitchesItsRelayButLeavesTheDacAlone) {
  ASSERT_NO_FATAL_FAILURE(StartOn("volts-nan-and-infinite.bin"));
  sim.SetBinToneInput(kToneBin, kLoudToneVolts, tqxsim::kInputBiasVolts);
  EXPECT_TRUE(ProcessEventsUntil([&] { return K1Closed(); }));
  EXPECT_EQ(sim.AnalogChannel(1).channelByte, 0) << "no DAC word since power-on";
  EXPECT_EQ(sim.AnalogChannel(2).channelByte, 0);
}

TEST_F(DamagedDataFile, SelectionsAtTheInt32LimitsSendNothingAtAll) {
  ASSERT_NO_FATAL_FAILURE(StartOn("counts-bins-and-actions-at-int32-limits.bin"));
  const std::uint64_t startedAt = LastFrameNumber(sim);
  sim.SetBinToneInput(kToneBin, kLoudToneVolts, tqxsim::kInputBiasVolts);
  EXPECT_TRUE(ProcessEventsUntil([&] { return Text(IDC_PEAK_BIN) == std::to_string(kToneBin); }));
  ProcessEventsFor(400ms);  // function 1 completes on every tick that hears the tone
  EXPECT_TRUE(WindowFramesAfter(sim, startedAt).empty());
  EXPECT_EQ(Text(IDC_COUNT_F1), "0");
}

// The corpus's good file proves the check above can see a function's frames.
TEST_F(DamagedDataFile, TheGoodFileSetsItsVoltsAndClosesItsRelayOnItsTone) {
  ASSERT_NO_FATAL_FAILURE(StartOn("good-one-function-sets-3v3-and-closes-k1.bin"));
  EXPECT_EQ(Text(IDC_NAME_F1), "Door bell");
  sim.SetBinToneInput(kToneBin, kLoudToneVolts, tqxsim::kInputBiasVolts);
  EXPECT_TRUE(ProcessEventsUntil([&] { return K1Closed(); }));
  EXPECT_EQ(sim.AnalogChannel(1).code, VoltsToCode(3.3f));
}

TEST_F(DamagedDataFile, NamesWithoutTheirNulAreShownCutToTheFieldsLength) {
  ASSERT_NO_FATAL_FAILURE(StartOn("names-without-nul.bin"));
  EXPECT_EQ(Text(IDC_NAME_F1), std::string(kNameMaxChars, 'B'));
  EXPECT_EQ(Text(IDC_NAME_F8), std::string(kNameMaxChars, 'I'));
  EXPECT_EQ(configRecord.functionName[2][0], 'C') << "the record keeps the slot as stored";
}

}  // namespace
