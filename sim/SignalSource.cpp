#include "sim/SignalSource.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

#include "sim/DemoProgramme.h"
#include "sim/InputBias.h"
#include "sim/ModelledTiming.h"
#include "sim/RecordingStream.h"

namespace tqxsim {

namespace {

double Sine(double frequencyHz, double amplitudeVolts, double seconds) {
  return amplitudeVolts * std::sin(2.0 * std::numbers::pi * frequencyHz * seconds);
}

class Constant final : public SignalSource {
 public:
  explicit Constant(double volts) : volts_(volts) {}
  double VoltsAt(double) override { return volts_; }

 private:
  double volts_;
};

class Tone final : public SignalSource {
 public:
  Tone(double frequencyHz, double amplitudeVolts, double biasVolts)
      : frequencyHz_(frequencyHz), amplitudeVolts_(amplitudeVolts), biasVolts_(biasVolts) {}
  double VoltsAt(double seconds) override { return biasVolts_ + Sine(frequencyHz_, amplitudeVolts_, seconds); }

 private:
  double frequencyHz_;
  double amplitudeVolts_;
  double biasVolts_;
};

class Function final : public SignalSource {
 public:
  explicit Function(std::function<double(double)> volts) : volts_(std::move(volts)) {}
  double VoltsAt(double seconds) override { return volts_ ? volts_(seconds) : 0.0; }

 private:
  std::function<double(double)> volts_;
};

class ToneProgramme final : public SignalSource {
 public:
  ToneProgramme(std::vector<ToneStep> steps, double biasVolts, double noiseVoltsRms)
      : steps_(std::move(steps)), biasVolts_(biasVolts), noiseVoltsRms_(noiseVoltsRms) {
    for (const ToneStep& step : steps_) totalSeconds_ += step.seconds;
  }

  double VoltsAt(double seconds) override {
    double volts = biasVolts_;
    if (noiseVoltsRms_ > 0.0) volts += noiseVoltsRms_ * unitNoise_(random_);
    if (totalSeconds_ <= 0.0) return volts;
    double intoStep = std::fmod(seconds, totalSeconds_);
    for (const ToneStep& step : steps_) {
      if (intoStep < step.seconds) return volts + Sine(step.frequencyHz, step.amplitudeVolts, seconds);
      intoStep -= step.seconds;
    }
    return volts;
  }

 private:
  std::vector<ToneStep> steps_;
  double biasVolts_;
  double noiseVoltsRms_;
  double totalSeconds_ = 0.0;
  std::minstd_rand random_{20240611u};  // a fixed seed: the same noise on every run
  std::normal_distribution<double> unitNoise_{0.0, 1.0};
};

// Played from the file a block at a time, and from its start again when it
// ends. A file that ends before the frames it announced (cut short while
// playing) leaves the input at the bias. The module asks for its input only
// under its own lock, so the stream needs none.
class Recording final : public SignalSource {
 public:
  explicit Recording(std::unique_ptr<RecordingReader> reader) : stream_(std::move(reader)) {}

  double VoltsAt(double seconds) override {
    const auto frames = static_cast<double>(stream_.Frames());
    double position = std::fmod(seconds * stream_.SampleRateHz(), frames);
    if (position < 0.0) position += frames;
    return stream_.VoltsAt(position, kFirstFrame).value_or(kInputBiasVolts);
  }

 private:
  static constexpr std::int64_t kFirstFrame = 0;
  RecordingStream stream_;
};

}  // namespace

std::unique_ptr<SignalSource> ConstantSignal(double volts) { return std::make_unique<Constant>(volts); }

std::unique_ptr<SignalSource> ToneSignal(double frequencyHz, double amplitudeVolts, double biasVolts) {
  return std::make_unique<Tone>(frequencyHz, amplitudeVolts, biasVolts);
}

std::unique_ptr<SignalSource> FunctionSignal(std::function<double(double)> volts) {
  return std::make_unique<Function>(std::move(volts));
}

std::unique_ptr<SignalSource> ToneProgrammeSignal(std::vector<ToneStep> steps, double biasVolts, double noiseVoltsRms) {
  return std::make_unique<ToneProgramme>(std::move(steps), biasVolts, noiseVoltsRms);
}

std::unique_ptr<SignalSource> RecordingSignal(std::unique_ptr<RecordingReader> reader) {
  return std::make_unique<Recording>(std::move(reader));
}

std::unique_ptr<SignalSource> DemoSignal() {
  std::vector<ToneStep> steps;
  for (const DemoStep& step : kDemoProgramme) {
    steps.push_back({step.seconds, step.bin == 0 ? 0.0 : BinFrequencyHz(step.bin), step.amplitudeVolts});
  }
  return ToneProgrammeSignal(std::move(steps), kInputBiasVolts, kDemoNoiseVoltsRms);
}

}  // namespace tqxsim
