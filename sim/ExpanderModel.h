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
//
// What a real part would not take is a protocol error (ChipFaults), once per
// transaction for each kind: a clock phase shorter than the part allows, and
// the host driving the data line while the clock is high during a bit the
// expander drives (its acknowledge, or a bit of a register it sends).
#include <array>
#include <cstdint>

#include "sim/ChipFaults.h"
#include "sim/MessageLog.h"
#include "sim/ModelledTiming.h"

namespace tqxsim {

class ExpanderModel {
 public:
  static constexpr std::uint8_t kWriteAddressByte = 0x40;
  static constexpr std::uint8_t kReadAddressByte = 0x41;

  // A fast-mode part (400 kHz): the shortest clock phases it allows. With the
  // serial engine's even clock the low phase binds: divisor 15 (375 kHz) is
  // the fastest it takes, divisor 14 (400 kHz, 1.25 µs low) is too fast.
  static constexpr double kShortestClockLowNs = 1300.0;
  static constexpr double kShortestClockHighNs = 600.0;

  ExpanderModel(MessageLog& log, ChipFaults& faults) : log_(log), faults_(faults) {}

  // Registers and bus state to power-on; the strict-acknowledge switch stays.
  void PowerOn();
  // The clock level and the level the rest of the bus puts on the data line
  // (the host's drive or the pull-up), on the expander's side, after any
  // change, and whether the host drives the data line. When both levels
  // changed, the data line is taken to have settled first.
  void Sense(bool clock, bool othersData, bool hostDrivesData, EngineTicks at);
  bool PullsDataLow() const { return pullsDataLow_; }

  // Strict: after a byte the host declines, nothing more is sent until a
  // stop or start condition (a real part's rule). Lenient (the default): the
  // host letting the data line go while the clock is low asks for the next
  // register (OnDataReleasedWhileClockLow).
  void SetStrictAcknowledge(bool strict) { strictAcknowledge_ = strict; }

  const std::array<std::uint8_t, 8>& Registers() const { return registers_; }
  std::uint64_t IgnoredTransactions() const { return ignoredTransactions_; }
  std::uint64_t LenientAcknowledges() const { return lenientAcknowledges_; }

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
  void NewTransaction();
  void CheckClockPhase(EngineTicks at);
  void CheckHostLetsGo(bool hostDrivesData);
  bool SendsTheBit() const { return phase_ == Phase::Acknowledging || phase_ == Phase::Sending; }
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
  ChipFaults& faults_;
  bool strictAcknowledge_ = false;
  std::array<std::uint8_t, 8> registers_{};
  bool clock_ = true;
  EngineTicks clockChangedAt_ = 0;
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
  std::uint64_t lenientAcknowledges_ = 0;
  bool reportedFastClock_ = false;  // in this transaction
  bool reportedHostDrive_ = false;  // in this transaction
};

}  // namespace tqxsim
