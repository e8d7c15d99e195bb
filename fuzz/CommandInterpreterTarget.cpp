// Fuzz target: the simulated module's command interpreter. After the bit-mode
// call, any byte stream, written whole or in pieces, must run without a crash
// or a wait, report every byte the interpreter cannot take as a protocol error
// (none silently skipped, none invented), queue exactly the reply bytes its
// commands ask for, and leave a module that the next bit-mode reset brings
// back to work.
//
// Input: the first byte is the size of each write (0: the rest in one write),
// the rest is the byte stream.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "sim/SimulatedModule.h"

namespace {

constexpr std::uint8_t kSerialEngineMode = 0x02;
constexpr std::uint8_t kResetMode = 0x00;
constexpr std::uint8_t kAllLines = 0xFF;

// The interpreter's work is clocked bits, and one three-byte command can ask
// for half a million of them. Streams beyond this many bits are declined, so
// that the fuzzer spends its time on many streams rather than on long clocking:
// a whole ADC frame (2560 bits) fits. Long commands are still read and
// counted; only streams that would clock past the budget are skipped.
constexpr std::uint64_t kClockedBitBudget = 4096;

// The commands as the module's users know them: opcode and operand bytes.
struct CommandShape {
  std::uint8_t opcode;
  int operandBytes;
};
constexpr std::array<CommandShape, 7> kCommandShapes{{
    {0x80, 2}, {0x86, 2}, {0x11, 2}, {0x13, 2}, {0x20, 2}, {0x24, 2}, {0x2E, 1}}};
constexpr int kMaxBitsPerBitCommand = 8;

const CommandShape* FindShape(std::uint8_t opcode) {
  for (const CommandShape& shape : kCommandShapes) {
    if (shape.opcode == opcode) return &shape;
  }
  return nullptr;
}

struct ExpectedFault {
  std::uint64_t frameNumber;
  std::uint32_t offset;
  std::uint8_t byte;
  std::string what;
};

struct ExpectedRun {
  std::vector<ExpectedFault> faults;
  std::uint64_t replyBytes = 0;
  std::uint64_t clockedBits = 0;
};

// What the stream should do, worked out from the command table alone. A bad
// bit count is reported at the byte that completes its command, with the
// count's own byte as the value.
class StreamWalker {
 public:
  void Walk(std::span<const std::uint8_t> write, std::uint64_t frameNumber) {
    for (std::uint32_t offset = 0; offset < write.size(); ++offset) {
      const std::uint8_t byte = write[offset];
      if (dataBytesLeft_ > 0) {
        --dataBytesLeft_;
        run_.clockedBits += 8;
      } else if (shape_ == nullptr) {
        shape_ = FindShape(byte);
        operandCount_ = 0;
        if (shape_ == nullptr) run_.faults.push_back({frameNumber, offset, byte, "unknown command"});
      } else {
        operands_[operandCount_++] = byte;
        if (operandCount_ == shape_->operandBytes) {
          Complete(frameNumber, offset);
          shape_ = nullptr;
        }
      }
    }
  }
  const ExpectedRun& Run() const { return run_; }

 private:
  void Complete(std::uint64_t frameNumber, std::uint32_t offset) {
    const std::uint32_t length = operands_[0] | (operands_[1] << 8);
    const int bits = operands_[0] + 1;
    switch (shape_->opcode) {
      case 0x11:
        dataBytesLeft_ = length + 1;
        break;
      case 0x13:
      case 0x2E:
        if (bits > kMaxBitsPerBitCommand) {
          run_.faults.push_back({frameNumber, offset, operands_[0], "bit count above 8"});
          break;
        }
        run_.clockedBits += bits;
        if (shape_->opcode == 0x2E) ++run_.replyBytes;
        break;
      case 0x20:
      case 0x24:
        run_.replyBytes += length + 1;
        run_.clockedBits += 8 * (length + 1);
        break;
      default:
        break;
    }
  }

  ExpectedRun run_;
  const CommandShape* shape_ = nullptr;
  int operandCount_ = 0;
  std::array<std::uint8_t, 2> operands_{};
  std::uint64_t dataBytesLeft_ = 0;
};

std::vector<std::span<const std::uint8_t>> SplitIntoWrites(std::span<const std::uint8_t> stream,
                                                           std::size_t writeBytes) {
  if (writeBytes == 0) writeBytes = std::max<std::size_t>(stream.size(), 1);
  std::vector<std::span<const std::uint8_t>> writes;
  for (std::size_t at = 0; at < stream.size(); at += writeBytes) {
    writes.push_back(stream.subspan(at, std::min(writeBytes, stream.size() - at)));
  }
  return writes;
}

tqxsim::SimulatedModule& Module() {
  static tqxsim::SimulatedModule& module = [] () -> tqxsim::SimulatedModule& {
    // A steady input keeps a run's replies the same whenever it runs.
    ::setenv("TQXSIM_SIGNAL", "silence", 1);
    ::setenv("TQXSIM_QUIET", "1", 1);
    tqxsim::SimulatedModule& instance = tqxsim::SimulatedModule::Instance();
    instance.SetPacedByClock(false);
    return instance;
  }();
  return module;
}

DriverHandle OpenInSerialEngineMode(tqxsim::SimulatedModule& module) {
  DriverHandle handle = nullptr;
  FUZZ_CHECK(module.Open(0, &handle) == tqxsim::status::kOk);
  FUZZ_CHECK(module.SetBitMode(handle, kAllLines, kSerialEngineMode) == tqxsim::status::kOk);
  return handle;
}

void Write(tqxsim::SimulatedModule& module, DriverHandle handle, std::span<const std::uint8_t> bytes) {
  std::uint32_t written = 0;
  FUZZ_CHECK(module.Write(handle, bytes.data(), static_cast<std::uint32_t>(bytes.size()), &written) ==
             tqxsim::status::kOk);
  FUZZ_CHECK(written == bytes.size());
}

// Takes every reply byte queued; returns how many there were.
std::uint64_t ReadAllReplies(tqxsim::SimulatedModule& module, DriverHandle handle) {
  std::uint32_t queued = 0;
  FUZZ_CHECK(module.GetQueueStatus(handle, &queued) == tqxsim::status::kOk);
  std::vector<std::uint8_t> replies(queued);
  std::uint32_t got = 0;
  FUZZ_CHECK(module.Read(handle, replies.data(), queued, &got) == tqxsim::status::kOk);
  FUZZ_CHECK(got == queued);
  return got;
}

// The chips' own rules (start bits, clock speed) are the simulator tests'
// business; here only the bytes the interpreter cannot take count.
void CheckFaultsReported(const tqxsim::SimulatedModule& module, const ExpectedRun& expected) {
  FUZZ_CHECK(module.ProtocolErrorCount() - module.ChipProtocolErrorCount() == expected.faults.size());
  std::vector<tqxsim::ProtocolError> recent = module.RecentProtocolErrors();
  std::erase_if(recent, [](const tqxsim::ProtocolError& error) { return error.byChip; });
  FUZZ_CHECK(recent.size() <= expected.faults.size());
  const auto expectedRecent = expected.faults.end() - static_cast<std::ptrdiff_t>(recent.size());
  FUZZ_CHECK(std::equal(recent.begin(), recent.end(), expectedRecent,
                        [](const tqxsim::ProtocolError& got, const ExpectedFault& want) {
                          return got.frameNumber == want.frameNumber && got.offset == want.offset &&
                                 got.byte == want.byte && got.what == want.what;
                        }));
}

// After a bit-mode reset and a fresh start, a DAC frame must reach its
// channel, whatever state the stream left the engine and the chips in.
void CheckModuleRecovers(tqxsim::SimulatedModule& module, DriverHandle handle, std::uint16_t code) {
  FUZZ_CHECK(module.SetBitMode(handle, 0, kResetMode) == tqxsim::status::kOk);
  FUZZ_CHECK(module.SetBitMode(handle, kAllLines, kSerialEngineMode) == tqxsim::status::kOk);
  const std::uint64_t errorsBefore = module.ProtocolErrorCount();
  constexpr std::uint8_t kDacSelected = 0xEA, kDacDeselected = 0xFA, kDriveData = 0xFB, kChannel1 = 0x30;
  const std::uint8_t dacFrame[] = {0x80, kDacSelected, kDriveData, 0x11, 0x02, 0x00, kChannel1,
                                   static_cast<std::uint8_t>(code >> 4), static_cast<std::uint8_t>(code << 4),
                                   0x80, kDacDeselected, kDriveData};
  Write(module, handle, dacFrame);
  FUZZ_CHECK(module.ProtocolErrorCount() == errorsBefore);
  FUZZ_CHECK(module.AnalogChannel(1).channelByte == kChannel1);
  FUZZ_CHECK(module.AnalogChannel(1).code == code);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::span<const std::uint8_t> stream(data + 1, size - 1);
  const auto writes = SplitIntoWrites(stream, data[0]);

  StreamWalker walker;
  for (std::size_t i = 0; i < writes.size(); ++i) walker.Walk(writes[i], i + 1);
  const ExpectedRun& expected = walker.Run();
  if (expected.clockedBits > kClockedBitBudget) return -1;

  tqxsim::SimulatedModule& module = Module();
  const DriverHandle handle = OpenInSerialEngineMode(module);
  std::uint64_t replyBytes = 0;
  for (const auto write : writes) {
    Write(module, handle, write);
    replyBytes += ReadAllReplies(module, handle);
  }
  FUZZ_CHECK(module.WriteCount() == writes.size());
  FUZZ_CHECK(replyBytes == expected.replyBytes);
  FUZZ_CHECK(module.InterleavedWriteCount() == 0);
  CheckFaultsReported(module, expected);
  CheckModuleRecovers(module, handle, static_cast<std::uint16_t>(size % 4096));
  // Power off what the run built up, so that each run starts from power-on and
  // frees what it allocated (else libFuzzer suspects a leak after every run).
  module.ResetToPowerOn();
  return 0;
}
