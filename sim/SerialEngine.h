#pragma once
// The serial engine: it reads the command bytes written to the module, one at
// a time and across writes (a command may be split between two writes), and
// turns them into line changes and clock edges on the board, at modelled
// moments: each line or divisor command takes 1 µs, each clocked bit one
// period of 6 MHz / (1 + divisor). Bytes it clocks in go to the receive queue,
// each stamped with the moment its last bit was sampled.
//
// Commands: 0x80 value direction; 0x86 divisor low, high; 0x11 length low,
// high, then length + 1 bytes out; 0x13 length, byte (length + 1 bits out);
// 0x20 and 0x24 length low, high (length + 1 bytes in, sampled on the rising
// or falling edge); 0x2E length (length + 1 bits in, falling edge). Data goes
// out and comes in most significant bit first, except for 0x2E, whose first
// bit lands in bit 0 of its reply byte. Output data changes on the falling edge.
#include <cstdint>
#include <span>

#include "sim/Board.h"
#include "sim/ModelledTiming.h"

namespace tqxsim {

// Where the engine's results go while it runs a write.
class EngineOutput {
 public:
  virtual void ReplyByte(std::uint8_t value, EngineTicks readyAt) = 0;
  // offset: of the offending byte within the write being run.
  virtual void ProtocolFault(std::uint32_t offset, std::uint8_t byte, const char* what) = 0;

 protected:
  ~EngineOutput() = default;
};

class SerialEngine {
 public:
  SerialEngine(Board& board, EngineOutput& output) : board_(board), output_(output) {}

  // Nothing half-read, the lines let go, the power-on divisor; time starts at now.
  void PowerOn(EngineTicks now);
  // What the bit-mode reset does: nothing half-read, every line let go.
  void Reset(EngineTicks now);
  // Runs one write's bytes, starting at start or when the previous write's
  // end, whichever is later. Returns the moment the engine is done with them.
  EngineTicks Run(std::span<const std::uint8_t> bytes, EngineTicks start);

  EngineTicks BusyUntil() const { return time_; }
  unsigned Divisor() const { return divisor_; }
  // The byte being run, and its offset within the write: where a chip's
  // protocol error is reported.
  std::uint32_t Offset() const { return offset_; }
  std::uint8_t CurrentByte() const { return byte_; }

 private:
  enum class SampleEdge { None, Rising, Falling };
  struct Command {
    std::uint8_t opcode;
    int operandBytes;
    void (SerialEngine::*run)();
  };
  static const Command* FindCommand(std::uint8_t opcode);

  void SetLines();
  void SetDivisor();
  void StartBytesOut();
  void BitsOut();
  void BytesInOnRisingEdge();
  void BytesInOnFallingEdge();
  void BitsIn();

  void BytesIn(SampleEdge edge);
  void ClockByteOut(std::uint8_t byte);
  bool ClockBit(bool drivesData, bool dataBit, SampleEdge sampleOn);
  void DriveLines();
  int BitCount(std::uint8_t lengthOperand);
  unsigned Length16() const { return operands_[0] | (operands_[1] << 8); }

  // Lines at the engine's power-on and after a reset: all inputs.
  static constexpr std::uint8_t kReleasedDirection = 0x00;
  static constexpr unsigned kPowerOnDivisor = 0;  // the fastest clock, until a divisor command
  static constexpr int kMaxBitsPerBitCommand = 8;

  Board& board_;
  EngineOutput& output_;
  EngineTicks time_ = 0;
  unsigned divisor_ = kPowerOnDivisor;
  std::uint8_t value_ = 0;
  std::uint8_t direction_ = kReleasedDirection;

  const Command* pending_ = nullptr;  // a command whose operands are still arriving
  int operandsSeen_ = 0;
  std::uint8_t operands_[2] = {};
  std::uint32_t bytesOutLeft_ = 0;  // data bytes of a 0x11 still to come
  std::uint32_t offset_ = 0;        // of the byte being read, within the current write
  std::uint8_t byte_ = 0;           // the byte being read
};

}  // namespace tqxsim
