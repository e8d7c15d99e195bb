#include "sim/ExpanderModel.h"

#include "sim/SimControl.h"

namespace tqxsim {

namespace {

constexpr int kBitsPerByte = 8;
constexpr std::uint8_t kRegisterCount = 8;
constexpr std::uint8_t kPowerOnRegisterValue = 0xFF;

enum class LineState { Input, OutputLow, OutputHigh };

LineState StateOf(const std::array<std::uint8_t, 8>& registers, int port, int bit) {
  const bool isInput = (registers[kConfiguration0 + port] >> bit) & 1;
  if (isInput) return LineState::Input;
  return ((registers[kOutputs0 + port] >> bit) & 1) ? LineState::OutputHigh : LineState::OutputLow;
}

bool IsRelay(int port, int bit) { return port == 0 && bit >= 4; }

// Port 0 then port 1, bit 0 first.
constexpr std::array<const char*, 16> kLineNames{"P00", "P01", "P02", "P03", "K1",  "K2",  "K3",  "K4",
                                                 "P10", "P11", "P12", "P13", "P14", "P15", "P16", "P17"};

const char* StateText(bool relay, LineState state) {
  switch (state) {
    case LineState::Input:
      return relay ? "open (its line is an input)" : "input";
    case LineState::OutputLow:
      return relay ? "open" : "output low";
    case LineState::OutputHigh:
      return relay ? "closed" : "output high";
  }
  return "";
}

}  // namespace

void ExpanderModel::PowerOn() {
  registers_.fill(kPowerOnRegisterValue);
  clock_ = true;
  clockChangedAt_ = 0;
  data_ = true;
  phase_ = Phase::Idle;
  afterAcknowledge_ = Phase::Idle;
  bits_ = 0;
  shift_ = 0;
  pointer_ = 0;
  pullsDataLow_ = false;
  hostAcknowledged_ = false;
  clocksWithoutStart_ = 0;
  ignoredTransactions_ = 0;
  lenientAcknowledges_ = 0;
  reportedFastClock_ = false;
  reportedHostDrive_ = false;
}

void ExpanderModel::Sense(bool clock, bool othersData, bool hostDrivesData, EngineTicks at) {
  const bool data = othersData && !pullsDataLow_;
  if (data != data_) {
    data_ = data;
    if (clock_) {
      data ? OnStop() : OnStart();
    } else if (data) {
      OnDataReleasedWhileClockLow();
    }
  }
  if (clock != clock_) {
    CheckClockPhase(at);
    clock_ = clock;
    clockChangedAt_ = at;
    clock ? OnClockRise(data) : OnClockFall();
  }
  // What the expander does to the data line itself is never a condition.
  data_ = othersData && !pullsDataLow_;
  CheckHostLetsGo(hostDrivesData);
}

void ExpanderModel::OnStart() {
  CountIgnoredClocks();
  NewTransaction();
  phase_ = Phase::ReceivingAddress;
  bits_ = 0;
  shift_ = 0;
  pullsDataLow_ = false;
}

void ExpanderModel::OnStop() {
  CountIgnoredClocks();
  NewTransaction();
  phase_ = Phase::Idle;
  pullsDataLow_ = false;
}

void ExpanderModel::NewTransaction() {
  reportedFastClock_ = false;
  reportedHostDrive_ = false;
}

// The phase that the clock edge at `at` ends, measured on the modelled edges.
void ExpanderModel::CheckClockPhase(EngineTicks at) {
  if (reportedFastClock_ || at < clockChangedAt_) return;
  const double phaseNs = TicksToSeconds(at - clockChangedAt_) * 1e9;
  const double shortestNs = clock_ ? kShortestClockHighNs : kShortestClockLowNs;
  if (phaseNs >= shortestNs) return;
  reportedFastClock_ = true;
  faults_.ChipFault(Formatted("expander clock %s for %.3f µs, shorter than the %.1f µs a 400 kHz part allows",
                              clock_ ? "high" : "low", phaseNs / 1e3, shortestNs / 1e3));
}

// While the clock is high the bit on the data line is read; during a bit the
// expander drives, the host must have let the line go, or the two drive
// against each other. Before the rising edge the host may still be letting go.
void ExpanderModel::CheckHostLetsGo(bool hostDrivesData) {
  if (!clock_ || !hostDrivesData || !SendsTheBit() || reportedHostDrive_) return;
  reportedHostDrive_ = true;
  faults_.ChipFault(phase_ == Phase::Acknowledging ? "host drives the data line while the expander acknowledges"
                                                   : "host drives the data line while the expander sends a register");
}

void ExpanderModel::CountIgnoredClocks() {
  if (clocksWithoutStart_ == 0) return;
  ++ignoredTransactions_;
  log_.Say("expander ignored %u clock pulses without a start condition", clocksWithoutStart_);
  clocksWithoutStart_ = 0;
}

void ExpanderModel::OnClockRise(bool data) {
  switch (phase_) {
    case Phase::Idle:
      ++clocksWithoutStart_;
      break;
    case Phase::ReceivingAddress:
    case Phase::ReceivingPointer:
    case Phase::ReceivingData:
      shift_ = static_cast<std::uint8_t>((shift_ << 1) | (data ? 1 : 0));
      ++bits_;
      break;
    case Phase::AwaitingHostAcknowledge:
      hostAcknowledged_ = !data;
      break;
    case Phase::NotAddressed:
    case Phase::Acknowledging:
    case Phase::Sending:
    case Phase::NotAcknowledged:
      break;
  }
}

void ExpanderModel::OnClockFall() {
  switch (phase_) {
    case Phase::ReceivingAddress:
    case Phase::ReceivingPointer:
    case Phase::ReceivingData:
      if (bits_ == kBitsPerByte) ByteReceived();
      break;
    case Phase::Acknowledging:
      pullsDataLow_ = false;
      phase_ = afterAcknowledge_;
      if (phase_ == Phase::Sending) StartSending();
      break;
    case Phase::Sending:
      if (++bits_ < kBitsPerByte) {
        pullsDataLow_ = !((shift_ << bits_) & 0x80);
      } else {
        pullsDataLow_ = false;
        phase_ = Phase::AwaitingHostAcknowledge;
      }
      break;
    case Phase::AwaitingHostAcknowledge:
      StepPointer();
      if (hostAcknowledged_) {
        phase_ = Phase::Sending;
        StartSending();
      } else {
        phase_ = Phase::NotAcknowledged;
      }
      break;
    case Phase::Idle:
    case Phase::NotAddressed:
    case Phase::NotAcknowledged:
      break;
  }
}

// A byte the host did not acknowledge ends the sending, so that the host can
// make its stop condition. The monitor's read frame nevertheless clocks a
// second register after leaving the first unacknowledged: it holds the data
// line low and lets it go while the clock is low, and then clocks. Unless
// strict, this expander takes that release as a request for the next
// register, and says so each time; a host that goes straight to its stop ends
// the transaction as usual. A strict one sends nothing, so the host reads the
// pulled-up line: 0xFF.
void ExpanderModel::OnDataReleasedWhileClockLow() {
  if (phase_ != Phase::NotAcknowledged) return;
  if (strictAcknowledge_) {
    log_.Say("expander sends no register %u: the host declined the byte before it (strict acknowledge)", pointer_);
    return;
  }
  ++lenientAcknowledges_;
  log_.Say("expander sends register %u although the host declined the byte before it (lenient acknowledge)", pointer_);
  phase_ = Phase::Sending;
  StartSending();
}

void ExpanderModel::ByteReceived() {
  const std::uint8_t byte = shift_;
  bits_ = 0;
  shift_ = 0;
  switch (phase_) {
    case Phase::ReceivingAddress:
      if (byte == kWriteAddressByte) {
        Acknowledge(Phase::ReceivingPointer);
      } else if (byte == kReadAddressByte) {
        log_.Say("expander read register %u", pointer_);
        Acknowledge(Phase::Sending);
      } else {
        log_.Say("expander not addressed (address byte 0x%02X)", byte);
        phase_ = Phase::NotAddressed;
      }
      break;
    case Phase::ReceivingPointer:
      if (byte >= kRegisterCount) {
        log_.Say("expander has no register %u; transaction ignored", byte);
        phase_ = Phase::NotAddressed;
        break;
      }
      pointer_ = byte;
      Acknowledge(Phase::ReceivingData);
      break;
    case Phase::ReceivingData:
      StoreRegister(byte);
      Acknowledge(Phase::ReceivingData);
      break;
    default:
      break;
  }
}

void ExpanderModel::Acknowledge(Phase next) {
  pullsDataLow_ = true;
  afterAcknowledge_ = next;
  phase_ = Phase::Acknowledging;
}

void ExpanderModel::StartSending() {
  shift_ = registers_[pointer_];
  bits_ = 0;
  pullsDataLow_ = !(shift_ & 0x80);
}

void ExpanderModel::StoreRegister(std::uint8_t value) {
  const std::array<std::uint8_t, 8> before = registers_;
  registers_[pointer_] = value;
  StepPointer();
  ReportLineChanges(before);
}

// The register pointer steps within its pair: 0 and 1, 6 and 7 take turns.
void ExpanderModel::StepPointer() { pointer_ ^= 1; }

void ExpanderModel::ReportLineChanges(const std::array<std::uint8_t, 8>& before) {
  for (int port = 0; port < 2; ++port) {
    for (int bit = 0; bit < kBitsPerByte; ++bit) {
      const LineState now = StateOf(registers_, port, bit);
      if (now == StateOf(before, port, bit)) continue;
      log_.Say("%s %s", kLineNames[port * kBitsPerByte + bit], StateText(IsRelay(port, bit), now));
    }
  }
}

}  // namespace tqxsim
