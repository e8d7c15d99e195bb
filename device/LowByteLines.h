#pragma once
// The serial engine's eight low-byte lines and the commands that drive them.
// The ADC, the DAC and the port expander share the clock and data lines and are
// told apart by their select lines, so every frame sets all eight explicitly.
#include <cstdint>

namespace low_byte {

// Line bits.
inline constexpr std::uint8_t kClock = 0x01;           // SPI clock; the expander's I2C clock
inline constexpr std::uint8_t kDataOut = 0x02;         // SPI data out; I2C data while the host drives it
inline constexpr std::uint8_t kAdcSelect = 0x08;       // active low
inline constexpr std::uint8_t kDacSelect = 0x10;       // active low
inline constexpr std::uint8_t kExpanderEnable = 0x20;  // active low, for a whole expander transaction

// Every line high, the data-in line not driven: the idle state after set-up.
inline constexpr std::uint8_t kIdleLevels = 0xFB;

// Direction bytes (1 = output). The data-in line (bit 2) is always an input;
// releasing the data-out line too lets a device drive the shared data line.
inline constexpr std::uint8_t kDriveData = 0xFB;
inline constexpr std::uint8_t kReleaseData = 0xF9;

// Command bytes of the serial engine.
inline constexpr std::uint8_t kSetLines = 0x80;             // value, direction
inline constexpr std::uint8_t kSetDivisor = 0x86;           // low, high
inline constexpr std::uint8_t kBytesOutFalling = 0x11;      // lenLow, lenHigh, data...; MSB first
inline constexpr std::uint8_t kBitsOutFalling = 0x13;       // len, data; MSB first
inline constexpr std::uint8_t kBytesInRising = 0x20;        // lenLow, lenHigh; MSB first
inline constexpr std::uint8_t kBytesInFalling = 0x24;       // lenLow, lenHigh; MSB first
inline constexpr std::uint8_t kBitsInFallingLsbFirst = 0x2E;  // len

}  // namespace low_byte
