#pragma once
// The port expander's twelve digital lines and four relays: the system's copy
// of its registers, and the transactions that write and read them.
#include <array>
#include <cstdint>
#include <optional>

#include "device/DriverTable.h"

inline constexpr std::uint8_t kOutputRegister = 0x00;         // output port 0, then port 1
inline constexpr std::uint8_t kConfigurationRegister = 0x06;  // configuration port 0, then port 1

// The window thread's copy of the expander's registers; index 0 is port 0. A
// cleared configuration bit makes its line an output. Starts at the expander's
// power-on state, so that a start-up read that fails leaves sane values: every
// line an input, every output bit high.
struct ExpanderRegisters {
  std::array<std::uint8_t, 2> configuration{0xFF, 0xFF};
  std::array<std::uint8_t, 2> outputs{0xFF, 0xFF};
};
extern ExpanderRegisters ExpanderShadow;

// Each line's value is port * 8 + bit: P00 to P03 and the relays K1 to K4 are
// bits 0 to 7 of port 0, P10 to P17 bits 0 to 7 of port 1.
enum class ExpanderLine : std::uint8_t {
  P00, P01, P02, P03, K1, K2, K3, K4,
  P10, P11, P12, P13, P14, P15, P16, P17,
};

constexpr int PortOf(ExpanderLine line) { return static_cast<int>(line) / 8; }
constexpr std::uint8_t BitMaskOf(ExpanderLine line) {
  return static_cast<std::uint8_t>(1u << (static_cast<unsigned>(line) % 8));
}

// The digital line a stored line selection names: 0 to 3 are P00 to P03, 4 to
// 11 are P10 to P17; any other value names none.
constexpr std::optional<ExpanderLine> DigitalLineForSelect(int lineSelect) {
  if (lineSelect >= 0 && lineSelect <= 3) return static_cast<ExpanderLine>(lineSelect);
  if (lineSelect >= 4 && lineSelect <= 11) return static_cast<ExpanderLine>(lineSelect + 4);
  return std::nullopt;
}

// High sets the output bit (a relay closes), Low clears it (a relay opens),
// Toggle inverts it as held in the shadow.
enum class LineAction { High, Low, Toggle };

// Writes the configuration pair. Failure: "Error writing to DAC. 3".
void WriteExpanderConfig(DriverTable& table, std::uint8_t port0, std::uint8_t port1);
// Writes the output pair. Failure: "Error writing to DAC. 1".
void WriteExpanderOutputs(DriverTable& table, std::uint8_t port0, std::uint8_t port1);

// Reads registerNumber into first and the register after it into second; on
// any failure both stay untouched ("Error writing to DAC. 1" for the frame's
// write, "Read Error!", "error: too few bytes returned").
void ReadExpanderPair(DriverTable& table, std::uint8_t& first, std::uint8_t& second, std::uint8_t registerNumber);

// Makes the line an output (its configuration bit cleared, for every action),
// writes the configuration pair three times, applies the action to its output
// bit and writes the output pair once. Each shadow changes before the write
// that carries it and keeps the change if that write fails; a failed write
// shows its message and the sequence goes on. Window thread only.
void DriveExpanderLine(DriverTable& table, ExpanderLine line, LineAction action);
