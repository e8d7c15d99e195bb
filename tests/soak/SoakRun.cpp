// The soak run: the monitor on the simulated module for a fixed time, driven
// by a random programme of tones, noise, silence, manual commands, both
// environment modes, Function Setup edits and injected short replies. At the end
// it checks that the module saw no protocol error and no interleaved frame,
// that every function that fired sent its actions whole and in order, that
// memory stopped growing after the warm-up, and that every message was one a
// read fault explains; then it prints its figures.
//   tqx_soak [seconds]        (default: SOAK_SECONDS, else 600)
// Exit code 0 when every check holds, 1 otherwise.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "FrameLedger.h"
#include "app/MonitorDlg.h"
#include "config/ConfigFile.h"
#include "device/DacFrame.h"
#include "framework/MessageBox.h"
#include "framework/WinApp.h"
#include "res/ResourceIds.h"
#include "support/DialogDriver.h"
#include "support/ScratchFolder.h"
#include "support/SimulatedModuleControl.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kDefaultSeconds = 600;
constexpr double kToneVolts = 0.5;     // -9 dB: heard in both modes
constexpr double kNoiseRmsVolts = 0.05;
constexpr auto kLedgerEvery = 25ms;    // the module keeps about 8 s of frames
constexpr long kAllowedGrowthKb = 1024;
// Each function listens to its own bin; function f at kFunctionBins[f].
constexpr std::array<int, kFunctionCount + 1> kFunctionBins{0, 18, 23, 28, 33, 38, 43, 48, 53};
constexpr int kRequiredCount = 2;
// Manual Set Analog volts; the functions' volts start above them, so their
// DAC codes never meet.
constexpr std::array<const char*, 3> kManualVolts{"0.1", "0.2", "0.3"};
constexpr float kFirstFunctionVolts = 1.0f;
constexpr float kFunctionVoltsStep = 0.01f;

const std::set<std::string> kReadFaultMessages{"error: too few bytes returned"};

// The main window, counting its ticks.
class SoakWindow : public CMonitorDlg {
 public:
  long ticks = 0;

 protected:
  void OnTimer(int id) override {
    ++ticks;
    CMonitorDlg::OnTimer(id);
  }
};

long ResidentKb() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0;
  long resident = 0;
  statm >> pages >> resident;
  return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

// The kernel updates its high-water mark lazily: it can lag behind resident
// sizes read earlier, which therefore count too.
long PeakResidentKb(std::initializer_list<long> readEarlier) {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return std::max(usage.ru_maxrss, std::max(readEarlier));
}

bool UnderSanitizer() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
  return true;
#endif
#endif
  return false;
}

class Soak {
 public:
  Soak(int seconds, unsigned seed)
      : duration_(std::chrono::seconds(seconds)),
        // The module's frame record, the windows' first paint and the
        // allocator's pools settle within about 30 s.
        warmUp_(std::max(std::chrono::seconds(30), std::chrono::seconds(seconds / 5))),
        random_(seed) {}

  int Run();

 private:
  ConfigRecord FirstRecord();
  void Pump(std::chrono::milliseconds duration);
  void PlayTone();
  void PlayNoise();
  void ClickOutput();
  void SetAnalogByHand();
  void SwitchMode();
  void EditFunction();
  void InjectReadFault();
  float NextFunctionVolts() { return kFirstFunctionVolts + kFunctionVoltsStep * static_cast<float>(voltsUsed_++); }
  int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  std::chrono::seconds duration_;
  std::chrono::seconds warmUp_;
  std::mt19937 random_;
  tqxsim::SimControl& sim_ = SimulatedModuleControl();
  SoakWindow window_;
  FrameLedger* ledger_ = nullptr;
  Clock::time_point lastLedgerLook_;
  int voltsUsed_ = 0;
  int faultsInjected_ = 0;
  int manualClicks_ = 0;
  int setupEdits_ = 0;
  std::mutex messagesMutex_;
  std::vector<std::string> messages_;
};

ConfigRecord Soak::FirstRecord() {
  ConfigRecord record{};
  for (int function = 1; function <= kFunctionCount; ++function) {
    record.triggerBin1[function] = kFunctionBins[function];
    record.requiredCount[function] = kRequiredCount;
    record.lineEnabled[function] = 1;
    record.lineSelect[function] = 3 + function;  // P10 to P17
    record.lineAction[function] = 2;             // toggle
    record.analog1Enabled[function] = 1;
    record.analog1Volts[function] = NextFunctionVolts();
    (record.*std::array{&ConfigRecord::relay1Enabled, &ConfigRecord::relay2Enabled, &ConfigRecord::relay3Enabled,
                        &ConfigRecord::relay4Enabled}[(function - 1) % 4])[function] = 1;
    (record.*std::array{&ConfigRecord::relay1Action, &ConfigRecord::relay2Action, &ConfigRecord::relay3Action,
                        &ConfigRecord::relay4Action}[(function - 1) % 4])[function] = 2;
    StoreFunctionName(record, function, "soak " + std::to_string(function));
  }
  return record;
}

// Runs the window's events, looking at the module's record often enough.
void Soak::Pump(std::chrono::milliseconds duration) {
  const Clock::time_point end = Clock::now() + duration;
  do {
    ProcessEventsFor(std::min<std::chrono::milliseconds>(
        5ms, std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()) + 1ms));
    if (Clock::now() - lastLedgerLook_ >= kLedgerEvery) {
      ledger_->Poll();
      lastLedgerLook_ = Clock::now();
    }
  } while (Clock::now() < end);
}

void Soak::PlayTone() { sim_.SetBinToneInput(kFunctionBins[Uniform(1, kFunctionCount)], kToneVolts, tqxsim::kInputBiasVolts); }

// Noise on the bias, sometimes with a function's tone under it.
void Soak::PlayNoise() {
  const int bin = Uniform(0, 1) ? kFunctionBins[Uniform(1, kFunctionCount)] : 0;
  const double frequencyHz = (bin - 1) * sim_.SampleRateHz() / 128.0;
  sim_.SetInputFunction([noise = std::mt19937(random_()), bin, frequencyHz](double seconds) mutable {
    const double tone = bin == 0 ? 0.0 : kToneVolts * std::sin(2.0 * M_PI * frequencyHz * seconds);
    return tqxsim::kInputBiasVolts + tone + std::normal_distribution<double>(0.0, kNoiseRmsVolts)(noise);
  });
}

void Soak::ClickOutput() {
  using namespace MainWindowIds;
  const bool relay = Uniform(0, 1) != 0;
  const int index = relay ? Uniform(0, kRelayCount - 1) : Uniform(0, kLineCount - 1);
  const bool high = Uniform(0, 1) != 0;
  const int id = relay ? (high ? RelayCloseButtons : RelayOpenButtons)[index]
                       : (high ? LineHighButtons : LineLowButtons)[index];
  ClickControl(window_, id);
  ledger_->CountManualFrames(4, 0);
  ++manualClicks_;
}

void Soak::SetAnalogByHand() {
  using namespace MainWindowIds;
  const bool first = Uniform(0, 1) != 0;
  ReplaceText(window_, first ? IDC_VOLTS1 : IDC_VOLTS2, kManualVolts[Uniform(0, 2)]);
  ClickControl(window_, first ? IDC_SET_ANALOG1 : IDC_SET_ANALOG2);
  ledger_->CountManualFrames(0, 1);
  ++manualClicks_;
}

void Soak::SwitchMode() { ClickControl(window_, Uniform(0, 1) ? MainWindowIds::IDC_QUIET : MainWindowIds::IDC_NOISY); }

// Opens a function's Setup, lets the monitor run behind it a while, gives
// channel 1 new volts and ends with OK, or now and then with Cancel.
void Soak::EditFunction() {
  using namespace FunctionSetupIds;
  const int function = Uniform(1, kFunctionCount);
  const bool keep = Uniform(0, 4) != 0;
  const float volts = NextFunctionVolts();
  PostToWindowThread([&, function, keep, volts] {
    ProcessEventsUntil([] { return ActiveModalDialog() != nullptr; });
    CDialog* dialog = ActiveModalDialog();
    if (dialog == nullptr) return;
    Pump(std::chrono::milliseconds(Uniform(0, 400)));
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", volts);
    ReplaceText(*dialog, IDC_ANALOG1_VOLTS, text);
    // The code of the volts as the dialog reads the text back.
    if (keep) ledger_->ExpectFunctionCode(VoltsToCode(std::strtof(text, nullptr)), function);
    ClickControl(*dialog, keep ? IDOK : IDCANCEL);
  });
  ClickControl(window_, MainWindowIds::SetupButtons[function - 1]);
  ++setupEdits_;
}

// Short replies: the worker's reads alone meet them, since the window's frames
// only write. A read made to fail outright is left out here: its reply goes on
// arriving, and the module rightly counts the window's writes behind it as
// interleaved (harmless, as the next sample frame drains first; the fault
// tests cover it).
void Soak::InjectReadFault() {
  sim_.DropReplyBytes(static_cast<std::uint32_t>(Uniform(1, 256)));
  ++faultsInjected_;
}

int Soak::Run() {
  const ScratchFolder folder("tqx-soak");
  SetMessageBoxHook([this](std::string_view text) {
    const std::lock_guard lock(messagesMutex_);
    messages_.emplace_back(text);
  });

  PowerOnSilently(sim_);
  const ConfigRecord first = FirstRecord();
  if (WriteConfigFile(first)) return 1;
  if (!window_.Create()) return 1;
  FrameLedger ledger(sim_);
  ledger_ = &ledger;
  for (int function = 1; function <= kFunctionCount; ++function) {
    ledger.ExpectFunctionCode(VoltsToCode(first.analog1Volts[function]), function);
  }

  const Clock::time_point start = Clock::now();
  long residentAfterWarmUp = -1;
  while (Clock::now() - start < duration_) {
    if (residentAfterWarmUp < 0 && Clock::now() - start >= warmUp_) residentAfterWarmUp = ResidentKb();
    switch (Uniform(0, 19)) {
      case 0: case 1: case 2: case 3: case 4: case 5: PlayTone(); break;
      case 6: case 7: PlayNoise(); break;
      case 8: case 9: sim_.SetConstantInput(tqxsim::kInputBiasVolts); break;
      case 10: case 11: case 12: ClickOutput(); break;
      case 13: SetAnalogByHand(); break;
      case 14: case 15: SwitchMode(); break;
      case 16: EditFunction(); break;
      default: InjectReadFault(); break;
    }
    Pump(std::chrono::milliseconds(Uniform(100, 900)));
  }
  const long residentAtEnd = ResidentKb();
  window_.SendSysCommand(SC_CLOSE);
  ledger.Poll();
  window_.DestroyWindow();

  std::vector<std::string> problems = ledger.Check();
  if (sim_.ProtocolErrorCount() != 0) {
    problems.push_back(std::to_string(sim_.ProtocolErrorCount()) + " protocol errors at the module");
  }
  if (sim_.InterleavedWriteCount() != 0) {
    problems.push_back(std::to_string(sim_.InterleavedWriteCount()) + " interleaved frames at the module");
  }
  for (const std::string& text : messages_) {
    if (!kReadFaultMessages.contains(text)) problems.push_back("message \"" + text + "\"");
  }
  const long growthKb = residentAtEnd - residentAfterWarmUp;
  // The sanitizers hold freed memory back on purpose; growth means nothing there.
  if (!UnderSanitizer() && residentAfterWarmUp >= 0 && growthKb >= kAllowedGrowthKb) {
    problems.push_back("resident memory grew " + std::to_string(growthKb) + " kB after the warm-up");
  }

  const std::chrono::duration<double> ran = Clock::now() - start;
  std::printf("soak: %.0f s, cycles %llu, ticks %ld, functions fired %d, faults injected %d, "
              "read-fault messages %zu, manual commands %d, setup edits %d\n",
              ran.count(), static_cast<unsigned long long>(ledger.SampleFrames()), window_.ticks,
              ledger.FunctionsFired(), faultsInjected_, messages_.size(), manualClicks_, setupEdits_);
  std::printf("soak: fired per function:");
  for (const auto& [function, count] : ledger.FiredPerFunction()) std::printf(" F%d %d", function, count);
  std::printf("\nsoak: peak RSS %ld kB, RSS after warm-up %ld kB, at the end %ld kB (growth %ld kB%s)\n",
              PeakResidentKb({residentAfterWarmUp, residentAtEnd}), residentAfterWarmUp, residentAtEnd, growthKb,
              UnderSanitizer() ? ", not judged under a sanitizer" : "");
  for (const std::string& problem : problems) std::printf("soak: FAILED: %s\n", problem.c_str());
  std::printf("soak: %s\n", problems.empty() ? "passed" : "failed");
  return problems.empty() ? 0 : 1;
}

// The soak runs as the application's InitInstance, with the window system up,
// and returns false: no loop of the application's own follows.
class SoakApp : public CWinApp {
 public:
  SoakApp(int seconds, unsigned seed) : CWinApp("tqxfft"), seconds_(seconds), seed_(seed) {}
  bool InitInstance() override {
    exitCode = Soak(seconds_, seed_).Run();
    return false;
  }

  int exitCode = 1;

 private:
  int seconds_;
  unsigned seed_;
};

}  // namespace

int main(int argc, char** argv) {
  int seconds = kDefaultSeconds;
  if (const char* fromEnvironment = std::getenv("SOAK_SECONDS")) seconds = std::atoi(fromEnvironment);
  if (argc > 1) seconds = std::atoi(argv[1]);
  if (seconds <= 0) {
    std::fprintf(stderr, "usage: tqx_soak [seconds]\n");
    return 2;
  }
  // A failed run is repeated with the seed it printed: SOAK_SEED=<seed>.
  const char* seedText = std::getenv("SOAK_SEED");
  const auto seed = seedText ? static_cast<unsigned>(std::strtoul(seedText, nullptr, 10))
                             : static_cast<unsigned>(std::time(nullptr));
  std::printf("soak: seed %u\n", seed);
  std::fflush(stdout);
  SoakApp app(seconds, seed);
  const int code = RunApplication(argc, argv);
  return code != 0 ? code : app.exitCode;
}
