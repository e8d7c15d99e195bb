#pragma once
// The simulated module as the driver library's entry points see it: one
// device (number 0), its open state, bit mode and time-outs, the serial
// engine and chips behind it, the receive queue, the injected faults, and the
// record of the traffic. One instance per process; every call takes its lock,
// and a read waits on it without holding it.
//
// Time is the monotonic clock: a write starts on the engine at the moment it
// is made (or when the engine finishes the writes before it), returns when the
// engine is done with it, and its reply bytes become readable when the
// modelled clock reaches them.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

#include "device/DriverApi.h"
#include "sim/AdcModel.h"
#include "sim/Board.h"
#include "sim/ChipFaults.h"
#include "sim/DacModel.h"
#include "sim/ExpanderModel.h"
#include "sim/MessageLog.h"
#include "sim/ReceiveQueue.h"
#include "sim/SerialEngine.h"
#include "sim/SignalSource.h"
#include "sim/SimControl.h"
#include "sim/TrafficRecord.h"

namespace tqxsim {

// The module's status values; the monitor only tells 0 from the rest.
namespace status {
inline constexpr DriverStatus kOk = 0;
inline constexpr DriverStatus kInvalidHandle = 1;
inline constexpr DriverStatus kDeviceNotFound = 2;
inline constexpr DriverStatus kDeviceNotOpened = 3;
inline constexpr DriverStatus kIoError = 4;
inline constexpr DriverStatus kInvalidParameter = 5;
inline constexpr DriverStatus kNotSupported = 6;
}  // namespace status

class SimulatedModule final : public SimControl, private AnalogInput, private EngineOutput, private ChipFaults {
 public:
  static SimulatedModule& Instance();

  DriverStatus Open(int deviceNumber, DriverHandle* handle);
  DriverStatus OpenEx(void* argument, std::uint32_t flags, DriverHandle* handle);
  DriverStatus ListDevices(void* argument1, void* argument2, std::uint32_t flags);
  DriverStatus Close(DriverHandle handle);
  DriverStatus Read(DriverHandle handle, void* buffer, std::uint32_t n, std::uint32_t* got);
  DriverStatus Write(DriverHandle handle, const void* buffer, std::uint32_t n, std::uint32_t* written);
  DriverStatus SetBitMode(DriverHandle handle, std::uint8_t mask, std::uint8_t mode);
  DriverStatus SetTimeouts(DriverHandle handle, std::uint32_t readMs, std::uint32_t writeMs);
  DriverStatus GetQueueStatus(DriverHandle handle, std::uint32_t* count);

  // For an in-process harness that drives the model as fast as it computes (the
  // fuzzer): unpaced, a write returns as soon as the engine has run it and its
  // reply bytes are readable at once, so no input can make a call sleep for the
  // modelled time. The library's entry points always run paced.
  void SetPacedByClock(bool paced);

  // SimControl
  void ResetToPowerOn() override;
  void SetConstantInput(double volts) override;
  void SetToneInput(double frequencyHz, double amplitudeVolts, double biasVolts) override;
  void SetBinToneInput(int bin, double amplitudeVolts, double biasVolts) override;
  void SetInputFunction(std::function<double(double seconds)> volts) override;
  void SetDemoInput() override;
  std::array<std::uint8_t, 8> ExpanderRegisters() const override;
  AnalogOutput AnalogChannel(int channel) const override;
  bool IsOpen() const override;
  bool SerialEngineOn() const override;
  std::uint64_t ConversionCount() const override;
  std::uint64_t WriteCount() const override;
  std::vector<RecordedFrame> RecentFrames() const override;
  std::uint64_t ProtocolErrorCount() const override;
  std::uint64_t ChipProtocolErrorCount() const override;
  std::vector<ProtocolError> RecentProtocolErrors() const override;
  std::uint64_t InterleavedWriteCount() const override;
  std::uint64_t IgnoredExpanderTransactionCount() const override;
  std::uint64_t LenientAcknowledgeCount() const override;
  void SetStrictAcknowledge(bool strict) override;
  std::vector<std::string> RecentMessages() const override;
  void SetMessagesOnStderr(bool shown) override;
  void SetOpenFails(bool fails) override;
  void SetBitModeFails(bool fails) override;
  void SetWritesFail(bool fail) override;
  void SetReadsFail(bool fail) override;
  void DropReplyBytes(std::uint32_t count) override;
  void UnplugAfter(double milliseconds) override;
  double SampleRateHz() const override;
  double AdcFrameSeconds() const override;
  double SerialClockHz() const override;

 private:
  using Clock = std::chrono::steady_clock;
  using TickDuration = std::chrono::duration<std::int64_t, std::ratio<1, 12'000'000>>;
  static_assert(TickDuration::period::den == static_cast<std::int64_t>(kEngineTicksPerSecond));

  SimulatedModule();

  // AnalogInput
  double VoltsAt(EngineTicks at) override;
  // EngineOutput
  void ReplyByte(std::uint8_t value, EngineTicks readyAt) override;
  void ProtocolFault(std::uint32_t offset, std::uint8_t byte, const char* what) override;
  // ChipFaults
  void ChipFault(std::string what) override;
  void RecordFault(ProtocolError fault, const std::string& line);

  void PowerOnLocked();
  void SetSignalLocked(std::unique_ptr<SignalSource> source);
  // kOk when the call may go on: the module is plugged in and handle is the open device's.
  DriverStatus CheckCall(DriverHandle handle, Clock::time_point now);
  bool Unplugged(Clock::time_point now);
  // Returns when the engine will be done with the bytes.
  EngineTicks RunOnEngine(const std::uint8_t* bytes, std::uint32_t n, RecordedFrame& frame);
  EngineTicks TicksAt(Clock::time_point at) const;
  // Where the modelled clock stands for reply bytes: the wall clock when paced,
  // at least the engine's end when not.
  EngineTicks ReplyClockAt(Clock::time_point now) const;
  Clock::time_point TimeOf(EngineTicks ticks) const;
  void WaitForChangeUntil(std::unique_lock<std::mutex>& lock, Clock::time_point moment);
  DriverHandle OpenHandle() { return this; }

  mutable std::mutex mutex_;
  std::condition_variable changed_;  // queue, open state or faults changed: waiting reads look again

  MessageLog log_{false};
  AdcModel adc_{*this, *this};
  DacModel dac_{log_};
  ExpanderModel expander_{log_, *this};
  Board board_{adc_, dac_, expander_};
  SerialEngine engine_{board_, *this};
  ReceiveQueue queue_;
  TrafficRecord traffic_;

  Clock::time_point poweredOnAt_;
  std::uint64_t openings_ = 0;  // so a read notices a close, reopen or power-on while it waits
  bool open_ = false;
  bool engineOn_ = false;
  bool pacedByClock_ = true;  // kept across power-on: it belongs to the harness, not the module
  bool reportedWritesWhileOff_ = false;
  std::uint32_t readTimeoutMs_ = 0;  // 0: a read waits until it has all its bytes

  std::unique_ptr<SignalSource> signal_;
  EngineTicks signalStartedAt_ = 0;

  bool openFails_ = false;
  bool bitModeFails_ = false;
  bool writesFail_ = false;
  bool readsFail_ = false;
  std::uint32_t replyBytesToDrop_ = 0;
  std::optional<Clock::time_point> unplugAt_;
  bool reportedUnplugged_ = false;

  // The write the engine is running.
  std::thread::id writer_;
  std::uint64_t frameNumber_ = 0;
  std::uint32_t faultsInFrame_ = 0;
};

}  // namespace tqxsim
