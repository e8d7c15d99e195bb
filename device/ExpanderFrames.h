#pragma once
// The port expander's two command frames: an I2C write of a register pair and
// an I2C read of one, built from the serial engine's line and clock commands.
// Both open with the expander bus enabled and the clock line high, so that the
// data line's fall is a start condition whatever frame went before.
#include <cstddef>
#include <cstdint>

#include "device/FrameProgram.h"

inline constexpr std::size_t kExpanderWriteFrameBytes = 411;
inline constexpr std::size_t kExpanderReadFrameBytes = 532;
inline constexpr std::size_t kExpanderReadReplyBytes = 7;
// Where the read's reply carries the register and the one after it.
inline constexpr std::size_t kFirstRegisterReplyIndex = 3;
inline constexpr std::size_t kSecondRegisterReplyIndex = 5;

using ExpanderWriteFrame = CommandFrame<kExpanderWriteFrameBytes>;
using ExpanderReadFrame = CommandFrame<kExpanderReadFrameBytes>;

// Writes port0 into registerNumber and port1 into the register after it. The
// four acknowledge bits are clocked in but never read. Leaves
// (shadow & 0xDC) | 0x23 in the shadow.
ExpanderWriteFrame BuildExpanderWriteFrame(std::uint8_t shadow, std::uint8_t registerNumber, std::uint8_t port0,
                                           std::uint8_t port1);

// Reads registerNumber and the register after it: seven reply bytes, the two
// registers at kFirstRegisterReplyIndex and kSecondRegisterReplyIndex. Leaves
// (shadow & 0xDC) | 0x23 in the shadow.
ExpanderReadFrame BuildExpanderReadFrame(std::uint8_t shadow, std::uint8_t registerNumber);
