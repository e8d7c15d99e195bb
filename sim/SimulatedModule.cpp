#include "sim/SimulatedModule.h"

#include <algorithm>
#include <cinttypes>
#include <span>
#include <thread>

#include "sim/SignalFromEnvironment.h"
#include "sim/TimedWait.h"

namespace tqxsim {

namespace {

constexpr int kOnlyDeviceNumber = 0;
constexpr std::uint8_t kSerialEngineMode = 0x02;
constexpr std::uint8_t kResetMode = 0x00;

}  // namespace

// Returns at the moment, on a change, or early; every caller looks again. The
// last stretch is spent without the lock, so the other threads' calls go on,
// and a change within it is seen only at the moment.
void SimulatedModule::WaitForChangeUntil(std::unique_lock<std::mutex>& lock, Clock::time_point moment) {
  if (moment - Clock::now() > kCoarseWaitSlack) {
    changed_.wait_until(lock, moment - kCoarseWaitSlack);
    return;
  }
  lock.unlock();
  do {
    std::this_thread::yield();
  } while (Clock::now() < moment);
  lock.lock();
}

SimulatedModule& SimulatedModule::Instance() {
  // Never destroyed: a thread of the host may still be inside a call while the process exits.
  static SimulatedModule* const module = new SimulatedModule;
  return *module;
}

SimulatedModule::SimulatedModule() {
  log_.SetOnStderr(!QuietFromEnvironment());
  std::lock_guard lock(mutex_);
  PowerOnLocked();
}

void SimulatedModule::PowerOnLocked() {
  poweredOnAt_ = Clock::now();
  ++openings_;
  open_ = false;
  engineOn_ = false;
  reportedWritesWhileOff_ = false;
  readTimeoutMs_ = 0;
  openFails_ = bitModeFails_ = writesFail_ = readsFail_ = false;
  replyBytesToDrop_ = 0;
  unplugAt_.reset();
  reportedUnplugged_ = false;
  log_.Clear();
  traffic_.Clear();
  queue_.Clear();
  adc_.PowerOn();
  dac_.PowerOn();
  expander_.PowerOn();
  board_.PowerOn();
  engine_.PowerOn(0);
  ChosenSignal chosen = SignalFromEnvironment();
  SetSignalLocked(std::move(chosen.source));
  log_.Say("module powered on; analog input: %s", chosen.description.c_str());
  const bool strict = StrictAcknowledgeFromEnvironment();
  expander_.SetStrictAcknowledge(strict);
  if (strict) log_.Say("expander acknowledge is strict (%s=1)", kStrictAcknowledgeVariable);
  changed_.notify_all();
}

void SimulatedModule::SetSignalLocked(std::unique_ptr<SignalSource> source) {
  signal_ = std::move(source);
  signalStartedAt_ = TicksAt(Clock::now());
}

EngineTicks SimulatedModule::TicksAt(Clock::time_point at) const {
  if (at <= poweredOnAt_) return 0;
  return static_cast<EngineTicks>(std::chrono::floor<TickDuration>(at - poweredOnAt_).count());
}

EngineTicks SimulatedModule::ReplyClockAt(Clock::time_point now) const {
  const EngineTicks wall = TicksAt(now);
  return pacedByClock_ ? wall : std::max(wall, engine_.BusyUntil());
}

// Rounded up, so that at the returned moment the modelled clock has reached ticks.
SimulatedModule::Clock::time_point SimulatedModule::TimeOf(EngineTicks ticks) const {
  return poweredOnAt_ + std::chrono::ceil<Clock::duration>(TickDuration(static_cast<std::int64_t>(ticks)));
}

bool SimulatedModule::Unplugged(Clock::time_point now) {
  if (!unplugAt_ || now < *unplugAt_) return false;
  if (!reportedUnplugged_) {
    reportedUnplugged_ = true;
    log_.Say("module unplugged: every call fails from now on");
  }
  return true;
}

DriverStatus SimulatedModule::CheckCall(DriverHandle handle, Clock::time_point now) {
  if (Unplugged(now)) return status::kDeviceNotFound;
  if (!open_ || handle != OpenHandle()) return status::kInvalidHandle;
  return status::kOk;
}

// ---------------------------------------------------------------------------
// The driver library's entry points

DriverStatus SimulatedModule::Open(int deviceNumber, DriverHandle* handle) {
  std::lock_guard lock(mutex_);
  if (handle == nullptr) return status::kInvalidParameter;
  if (Unplugged(Clock::now()) || deviceNumber != kOnlyDeviceNumber) return status::kDeviceNotFound;
  if (openFails_ || open_) return status::kDeviceNotOpened;
  open_ = true;
  ++openings_;
  readTimeoutMs_ = 0;
  *handle = OpenHandle();
  log_.Say("module opened");
  return status::kOk;
}

// There is only the one module, whatever the arguments name.
DriverStatus SimulatedModule::OpenEx(void*, std::uint32_t, DriverHandle* handle) {
  return Open(kOnlyDeviceNumber, handle);
}

// Listing is not modelled (the monitor binds it but never calls it); the
// arguments are left untouched.
DriverStatus SimulatedModule::ListDevices(void*, void*, std::uint32_t) {
  std::lock_guard lock(mutex_);
  if (Unplugged(Clock::now())) return status::kDeviceNotFound;
  return status::kNotSupported;
}

DriverStatus SimulatedModule::Close(DriverHandle handle) {
  std::lock_guard lock(mutex_);
  if (const DriverStatus refused = CheckCall(handle, Clock::now())) return refused;
  open_ = false;
  ++openings_;
  if (engineOn_) engine_.Reset(TicksAt(Clock::now()));
  engineOn_ = false;
  queue_.Clear();
  log_.Say("module closed");
  changed_.notify_all();
  return status::kOk;
}

// The mask plays no part in the serial engine's mode: its line directions come
// from the line commands.
DriverStatus SimulatedModule::SetBitMode(DriverHandle handle, std::uint8_t, std::uint8_t mode) {
  std::lock_guard lock(mutex_);
  if (const DriverStatus refused = CheckCall(handle, Clock::now())) return refused;
  if (bitModeFails_) return status::kIoError;
  const bool wasOn = engineOn_;
  engineOn_ = mode == kSerialEngineMode;
  reportedWritesWhileOff_ = false;
  engine_.Reset(TicksAt(Clock::now()));
  if (engineOn_) {
    log_.Say(wasOn ? "serial engine restarted" : "serial engine on");
  } else if (mode == kResetMode) {
    log_.Say("serial engine reset: every line let go");
  } else {
    log_.Say("bit mode 0x%02X is not modelled: the serial engine is off", mode);
  }
  return status::kOk;
}

DriverStatus SimulatedModule::SetTimeouts(DriverHandle handle, std::uint32_t readMs, std::uint32_t) {
  std::lock_guard lock(mutex_);
  if (const DriverStatus refused = CheckCall(handle, Clock::now())) return refused;
  // A write waits only for the engine to run what was written before it and
  // itself, a few tens of milliseconds at most; the write time-out is not modelled.
  readTimeoutMs_ = readMs;
  return status::kOk;
}

DriverStatus SimulatedModule::GetQueueStatus(DriverHandle handle, std::uint32_t* count) {
  std::lock_guard lock(mutex_);
  const Clock::time_point now = Clock::now();
  if (const DriverStatus refused = CheckCall(handle, now)) return refused;
  if (count == nullptr) return status::kInvalidParameter;
  *count = static_cast<std::uint32_t>(queue_.ReadyCount(ReplyClockAt(now)));
  return status::kOk;
}

// The module takes a write's bytes only as fast as its engine runs them: the
// call returns when the engine has finished the write, so every reply byte it
// produces is readable by then. A reading transaction's drain therefore finds
// the acknowledge bytes of the expander writes before it, and a frame and its
// reply take the modelled time whether the time is spent in the write or in
// the read.
DriverStatus SimulatedModule::Write(DriverHandle handle, const void* buffer, std::uint32_t n, std::uint32_t* written) {
  std::unique_lock lock(mutex_);
  const Clock::time_point now = Clock::now();
  if (const DriverStatus refused = CheckCall(handle, now)) return refused;
  if (written == nullptr || (buffer == nullptr && n > 0)) return status::kInvalidParameter;
  const auto* bytes = static_cast<const std::uint8_t*>(buffer);
  const double writtenAt = std::chrono::duration<double>(now - poweredOnAt_).count();
  RecordedFrame frame{traffic_.NextFrameNumber(), {bytes, bytes + n}, !writesFail_, writtenAt, writtenAt, writtenAt};
  *written = 0;
  if (writesFail_) {
    traffic_.AddFrame(std::move(frame));
    return status::kIoError;
  }
  if (!engineOn_) {
    if (!reportedWritesWhileOff_) {
      reportedWritesWhileOff_ = true;
      log_.Say("bytes written while the serial engine is off are ignored (first: write %" PRIu64 ", %u bytes)",
               frame.number, n);
    }
    traffic_.AddFrame(std::move(frame));
    *written = n;
    return status::kOk;
  }
  const Clock::time_point done = TimeOf(RunOnEngine(bytes, n, frame));
  traffic_.AddFrame(std::move(frame));
  changed_.notify_all();
  const std::uint64_t opening = openings_;
  while (pacedByClock_ && Clock::now() < done) {
    if (openings_ != opening || Unplugged(Clock::now())) return status::kIoError;
    WaitForChangeUntil(lock, unplugAt_ ? std::min(done, *unplugAt_) : done);
  }
  *written = n;
  return status::kOk;
}

EngineTicks SimulatedModule::RunOnEngine(const std::uint8_t* bytes, std::uint32_t n, RecordedFrame& frame) {
  writer_ = std::this_thread::get_id();
  if (queue_.HoldsBytesFromOtherThan(writer_)) {
    traffic_.CountInterleavedWrite();
    log_.Say("write %" PRIu64 " went out while another thread's reply was still queued: interleaved transactions",
             frame.number);
  }
  frameNumber_ = frame.number;
  faultsInFrame_ = 0;
  const EngineTicks start = std::max(TicksAt(Clock::now()), engine_.BusyUntil());
  const EngineTicks end = engine_.Run({bytes, n}, start);
  frame.startsAtSeconds = TicksToSeconds(start);
  frame.endsAtSeconds = TicksToSeconds(end);
  if (faultsInFrame_ > 1) log_.Say("(%u more protocol errors in write %" PRIu64 ")", faultsInFrame_ - 1, frame.number);
  return end;
}

DriverStatus SimulatedModule::Read(DriverHandle handle, void* buffer, std::uint32_t n, std::uint32_t* got) {
  std::unique_lock lock(mutex_);
  const Clock::time_point start = Clock::now();
  if (const DriverStatus refused = CheckCall(handle, start)) return refused;
  if (got == nullptr || (buffer == nullptr && n > 0)) return status::kInvalidParameter;
  if (readsFail_) return status::kIoError;
  const std::uint64_t opening = openings_;
  const Clock::time_point deadline =
      readTimeoutMs_ == 0 ? Clock::time_point::max() : start + std::chrono::milliseconds(readTimeoutMs_);
  while (true) {
    const Clock::time_point now = Clock::now();
    if (openings_ != opening || Unplugged(now)) return status::kIoError;
    const std::size_t ready = queue_.ReadyCount(ReplyClockAt(now));
    if (ready >= n || now >= deadline) {
      *got = static_cast<std::uint32_t>(
          queue_.Take({static_cast<std::uint8_t*>(buffer), std::min<std::size_t>(ready, n)}));
      return status::kOk;
    }
    Clock::time_point wake = deadline;
    if (const std::optional<EngineTicks> readyAt = queue_.ReadyAtFor(n)) wake = std::min(wake, TimeOf(*readyAt));
    if (unplugAt_) wake = std::min(wake, *unplugAt_);
    if (wake == Clock::time_point::max()) {
      changed_.wait(lock);
    } else {
      WaitForChangeUntil(lock, wake);
    }
  }
}

void SimulatedModule::SetPacedByClock(bool paced) {
  std::lock_guard lock(mutex_);
  pacedByClock_ = paced;
  changed_.notify_all();
}

// ---------------------------------------------------------------------------
// What the chips and the engine hand back

double SimulatedModule::VoltsAt(EngineTicks at) {
  const double seconds = at >= signalStartedAt_ ? TicksToSeconds(at - signalStartedAt_) : 0.0;
  return signal_ ? signal_->VoltsAt(seconds) : 0.0;
}

void SimulatedModule::ReplyByte(std::uint8_t value, EngineTicks readyAt) {
  if (replyBytesToDrop_ > 0) {
    --replyBytesToDrop_;
    return;
  }
  queue_.Push(value, readyAt, writer_);
}

void SimulatedModule::ProtocolFault(std::uint32_t offset, std::uint8_t byte, const char* what) {
  RecordFault({frameNumber_, offset, byte, what, false},
              Formatted("%s 0x%02X at byte %u of write %" PRIu64 "; skipped", what, byte, offset, frameNumber_));
}

// A chip's report comes while the engine runs the byte that clocked it.
void SimulatedModule::ChipFault(std::string what) {
  const std::uint32_t offset = engine_.Offset();
  std::string line = Formatted("%s, at byte %u of write %" PRIu64, what.c_str(), offset, frameNumber_);
  RecordFault({frameNumber_, offset, engine_.CurrentByte(), std::move(what), true}, std::move(line));
}

// Every fault is recorded; only the first of a write is said, so one bad frame
// does not flood the terminal.
void SimulatedModule::RecordFault(ProtocolError fault, const std::string& line) {
  if (++faultsInFrame_ == 1) log_.Say("protocol error: %s", line.c_str());
  traffic_.AddProtocolError(std::move(fault));
}

// ---------------------------------------------------------------------------
// The control side door

void SimulatedModule::ResetToPowerOn() {
  std::lock_guard lock(mutex_);
  PowerOnLocked();
}

void SimulatedModule::SetConstantInput(double volts) {
  std::lock_guard lock(mutex_);
  SetSignalLocked(ConstantSignal(volts));
}

void SimulatedModule::SetToneInput(double frequencyHz, double amplitudeVolts, double biasVolts) {
  std::lock_guard lock(mutex_);
  SetSignalLocked(ToneSignal(frequencyHz, amplitudeVolts, biasVolts));
}

void SimulatedModule::SetBinToneInput(int bin, double amplitudeVolts, double biasVolts) {
  std::lock_guard lock(mutex_);
  SetSignalLocked(ToneSignal(BinFrequencyHz(bin), amplitudeVolts, biasVolts));
}

void SimulatedModule::SetInputFunction(std::function<double(double seconds)> volts) {
  std::lock_guard lock(mutex_);
  SetSignalLocked(FunctionSignal(std::move(volts)));
}

void SimulatedModule::SetDemoInput() {
  std::lock_guard lock(mutex_);
  SetSignalLocked(DemoSignal());
}

std::array<std::uint8_t, 8> SimulatedModule::ExpanderRegisters() const {
  std::lock_guard lock(mutex_);
  return expander_.Registers();
}

AnalogOutput SimulatedModule::AnalogChannel(int channel) const {
  std::lock_guard lock(mutex_);
  return dac_.Channel(channel);
}

bool SimulatedModule::IsOpen() const {
  std::lock_guard lock(mutex_);
  return open_;
}

bool SimulatedModule::SerialEngineOn() const {
  std::lock_guard lock(mutex_);
  return engineOn_;
}

std::uint64_t SimulatedModule::ConversionCount() const {
  std::lock_guard lock(mutex_);
  return adc_.Conversions();
}

std::uint64_t SimulatedModule::WriteCount() const {
  std::lock_guard lock(mutex_);
  return traffic_.WriteCount();
}

std::vector<RecordedFrame> SimulatedModule::RecentFrames() const {
  std::lock_guard lock(mutex_);
  return traffic_.RecentFrames();
}

std::uint64_t SimulatedModule::ProtocolErrorCount() const {
  std::lock_guard lock(mutex_);
  return traffic_.ProtocolErrorCount();
}

std::uint64_t SimulatedModule::ChipProtocolErrorCount() const {
  std::lock_guard lock(mutex_);
  return traffic_.ChipProtocolErrorCount();
}

std::vector<ProtocolError> SimulatedModule::RecentProtocolErrors() const {
  std::lock_guard lock(mutex_);
  return traffic_.RecentProtocolErrors();
}

std::uint64_t SimulatedModule::InterleavedWriteCount() const {
  std::lock_guard lock(mutex_);
  return traffic_.InterleavedWriteCount();
}

std::uint64_t SimulatedModule::IgnoredExpanderTransactionCount() const {
  std::lock_guard lock(mutex_);
  return expander_.IgnoredTransactions();
}

std::uint64_t SimulatedModule::LenientAcknowledgeCount() const {
  std::lock_guard lock(mutex_);
  return expander_.LenientAcknowledges();
}

void SimulatedModule::SetStrictAcknowledge(bool strict) {
  std::lock_guard lock(mutex_);
  expander_.SetStrictAcknowledge(strict);
}

std::vector<std::string> SimulatedModule::RecentMessages() const {
  std::lock_guard lock(mutex_);
  return log_.Recent();
}

void SimulatedModule::SetMessagesOnStderr(bool shown) {
  std::lock_guard lock(mutex_);
  log_.SetOnStderr(shown);
}

void SimulatedModule::SetOpenFails(bool fails) {
  std::lock_guard lock(mutex_);
  openFails_ = fails;
}

void SimulatedModule::SetBitModeFails(bool fails) {
  std::lock_guard lock(mutex_);
  bitModeFails_ = fails;
}

void SimulatedModule::SetWritesFail(bool fail) {
  std::lock_guard lock(mutex_);
  writesFail_ = fail;
}

void SimulatedModule::SetReadsFail(bool fail) {
  std::lock_guard lock(mutex_);
  readsFail_ = fail;
}

void SimulatedModule::DropReplyBytes(std::uint32_t count) {
  std::lock_guard lock(mutex_);
  replyBytesToDrop_ = count;
}

void SimulatedModule::UnplugAfter(double milliseconds) {
  std::lock_guard lock(mutex_);
  unplugAt_ = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                 std::chrono::duration<double, std::milli>(std::max(milliseconds, 0.0)));
  changed_.notify_all();
}

double SimulatedModule::SampleRateHz() const { return kModelledSampleRateHz; }

double SimulatedModule::AdcFrameSeconds() const { return kAdcFrameSeconds; }

double SimulatedModule::SerialClockHz() const {
  std::lock_guard lock(mutex_);
  return tqxsim::SerialClockHz(engine_.Divisor());
}

}  // namespace tqxsim
