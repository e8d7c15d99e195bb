#pragma once
// The module's 16-bit I2C port expander: twelve digital lines (P00 to P03,
// P10 to P17) and the four relays K1 to K4 (port 0, bits 4 to 7). It sees the
// clock and data lines only while the expander bus is enabled, and decodes
// everything from their levels: start and stop conditions (a data change while
// the clock is high), bits sampled on the rising clock edge, and its own
// output (acknowledge bits, read data) changed after the falling edge.
//
// Bytes clocked without a start condition are ignored entirely, as a real
// I2C device ignores them.
#include <array>
#include <cstdint>

#include "sim/MessageLog.h"

namespace tqxsim {

class ExpanderModel {
 public:
  static constexpr std::uint8_t kWriteAddressByte = 0x40;
  static constexpr std::uint8_t kReadAddressByte = 0x41;
  static constexpr int kOutputRegister = 0;         // 0/1: outputs, port 0 then port 1
  static constexpr int kConfigurationRegister = 6;  // 6/7: a cleared bit makes the line an output

  explicit ExpanderModel(MessageLog& log) : log_(log) {}

  void PowerOn();
  // The clock level and the level the rest of the bus puts on the data line
  // (the host's drive or the pull-up), on the expander's side, after any
  // change. When both changed, the data line is taken to have settled first.
  void Sense(bool clock, bool othersData);
  bool PullsDataLow() const { return pullsDataLow_; }

  const std::array<std::uint8_t, 8>& Registers() const { return registers_; }
  std::uint64_t IgnoredTransactions() const { return ignoredTransactions_; }

 private:
  enum class Phase {
    Idle,                     // no start condition seen since the last stop
    NotAddressed,             // another address: wait for the next start or stop
    ReceivingAddress,         // the first byte after a start condition
    ReceivingPointer,         // the register number, after the write address
    ReceivingData,            // register values, after the register number
    Acknowledging,            // pulling data low for the ninth clock
    Sending,                  // a register's bits, most significant first
    AwaitingHostAcknowledge,  // the ninth clock of a byte it sent
    NotAcknowledged,          // the host did not acknowledge: data line let go
  };

  void OnStart();
  void OnStop();
  void OnClockRise(bool data);
  void OnClockFall();
  void OnDataReleasedWhileClockLow();
  void ByteReceived();
  void Acknowledge(Phase next);
  void StartSending();
  void StoreRegister(std::uint8_t value);
  void StepPointer();
  void ReportLineChanges(const std::array<std::uint8_t, 8>& before);
  void CountIgnoredClocks();

  MessageLog& log_;
  std::array<std::uint8_t, 8> registers_{};
  bool clock_ = true;
  bool data_ = true;
  Phase phase_ = Phase::Idle;
  Phase afterAcknowledge_ = Phase::Idle;
  int bits_ = 0;
  std::uint8_t shift_ = 0;
  std::uint8_t pointer_ = 0;
  bool pullsDataLow_ = false;
  bool hostAcknowledged_ = false;
  std::uint32_t clocksWithoutStart_ = 0;
  std::uint64_t ignoredTransactions_ = 0;
};

}  // namespace tqxsim
