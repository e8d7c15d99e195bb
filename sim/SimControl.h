#pragma once
// The simulated module's side door for tests. The module itself is reached
// only through the driver library's entry points, exactly as the real one;
// this interface sets the analog input, reads back what the module's chips
// hold, counts and records the traffic, and injects faults.
//
// Get it from the loaded library, never by linking (on Windows: Ftd2xx.dll,
// LoadLibraryA and GetProcAddress):
//   void* library = dlopen("libftd2xx.so", RTLD_NOW);
//   auto control = reinterpret_cast<tqxsim::TqxSimControlFunction>(dlsym(library, "TqxSimControl"))();
//
// All calls are thread-safe. Time stamps are seconds since the last power-on.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "sim/InputBias.h"

namespace tqxsim {

// Where ExpanderRegisters() holds each register: at its own number, the
// outputs of port 0 and 1, then their configuration.
enum ExpanderRegisterIndex : int { kOutputs0 = 0, kOutputs1 = 1, kConfiguration0 = 6, kConfiguration1 = 7 };

// One FT_Write as the module received it.
struct RecordedFrame {
  std::uint64_t number;  // 1 for the first write after power-on
  std::vector<std::uint8_t> bytes;
  bool accepted;            // false when an injected fault or an unplugged module refused it
  double writtenAtSeconds;  // wall time of the call
  double startsAtSeconds;   // modelled: when the serial engine began on it
  double endsAtSeconds;     // modelled: when it finished (ends - starts is the frame's modelled time)
};

struct ProtocolError {
  std::uint64_t frameNumber;  // the RecordedFrame::number of the write that carried it
  std::uint32_t offset;       // of the offending byte within that write (for a chip: the byte that clocked it)
  std::uint8_t byte;
  std::string what;
  bool byChip;  // a chip's own rule broken; false: a byte the serial engine cannot take
};

struct AnalogOutput {
  std::uint8_t channelByte;  // as last latched: 0x30 (channel 1) or 0x31 (channel 2); 0 before any write
  std::uint16_t code;        // 0 to 4095
  double volts;              // code · 5 / 4095
};

class SimControl {
 public:
  // Power-on: every chip at its power-on state (expander registers all 0xFF,
  // DAC outputs 0 V), the device closed and plugged in, the serial engine off,
  // no faults, counters and records cleared, and the analog input and the
  // expander's acknowledge chosen by TQXSIM_SIGNAL and TQXSIM_STRICT_ACK again.
  virtual void ResetToPowerOn() = 0;

  // The analog input. The ADC samples it at the modelled moment of each
  // conversion; a change applies to frames written after it. A function of
  // time is called with seconds since it was set, on the thread that writes
  // the frame, with the module locked: it must not call back into the module.
  virtual void SetConstantInput(double volts) = 0;
  virtual void SetToneInput(double frequencyHz, double amplitudeVolts, double biasVolts) = 0;
  virtual void SetBinToneInput(int bin, double amplitudeVolts, double biasVolts) = 0;  // centred on the bin
  virtual void SetInputFunction(std::function<double(double seconds)> volts) = 0;
  virtual void SetDemoInput() = 0;

  // What the module's chips hold.
  virtual std::array<std::uint8_t, 8> ExpanderRegisters() const = 0;  // by ExpanderRegisterIndex
  virtual AnalogOutput AnalogChannel(int channel) const = 0;          // 1 or 2
  virtual bool IsOpen() const = 0;
  virtual bool SerialEngineOn() const = 0;
  virtual std::uint64_t ConversionCount() const = 0;

  // Traffic since power-on. Frames and errors keep the most recent few
  // hundred; the counts are complete.
  virtual std::uint64_t WriteCount() const = 0;
  virtual std::vector<RecordedFrame> RecentFrames() const = 0;
  // Protocol errors: bytes the serial engine cannot take, and frames that
  // break a chip's own rules (the ADC's start and configuration bits, the
  // expander's clock and acknowledge; sim/README.md).
  virtual std::uint64_t ProtocolErrorCount() const = 0;
  virtual std::uint64_t ChipProtocolErrorCount() const = 0;  // those among them that a chip reported
  virtual std::vector<ProtocolError> RecentProtocolErrors() const = 0;
  // Writes that reached the module while bytes produced by another thread's
  // write were still queued or in flight: that thread's reply would be mixed
  // with this frame's.
  virtual std::uint64_t InterleavedWriteCount() const = 0;
  // Expander transactions that clocked bytes without a start condition; the
  // expander ignores them.
  virtual std::uint64_t IgnoredExpanderTransactionCount() const = 0;
  // Registers the expander sent after the host had declined the byte before
  // (its one leniency; the monitor's read frame uses it once per read).
  virtual std::uint64_t LenientAcknowledgeCount() const = 0;
  // Strict: no such register is sent; the host reads 0xFF. Until power-on,
  // which takes TQXSIM_STRICT_ACK again.
  virtual void SetStrictAcknowledge(bool strict) = 0;
  // The module's own report lines ("sim: K1 closed"), most recent last.
  virtual std::vector<std::string> RecentMessages() const = 0;
  virtual void SetMessagesOnStderr(bool shown) = 0;

  // Faults. Each stays until cleared or until power-on.
  virtual void SetOpenFails(bool fails) = 0;
  virtual void SetBitModeFails(bool fails) = 0;
  virtual void SetWritesFail(bool fail) = 0;
  virtual void SetReadsFail(bool fail) = 0;
  virtual void DropReplyBytes(std::uint32_t count) = 0;  // the next count reply bytes are lost
  virtual void UnplugAfter(double milliseconds) = 0;     // then every call fails

  // The model's timing: the conversion rate inside an ADC frame (the
  // spectrum's fs), the modelled time of the monitor's ADC frame, and the
  // serial clock at the divisor the engine holds now.
  virtual double SampleRateHz() const = 0;
  virtual double AdcFrameSeconds() const = 0;
  virtual double SerialClockHz() const = 0;

 protected:
  ~SimControl() = default;
};

using TqxSimControlFunction = SimControl* (*)();

}  // namespace tqxsim

extern "C" tqxsim::SimControl* TqxSimControl();
