#pragma once
// The simulated module's clock, in one place. The serial engine clocks at its
// 6 MHz base divided by (1 + divisor); each clocked bit takes one period, each
// line or divisor command a fixed 1 µs. The engine keeps time in ticks of
// 12 MHz, half a period of the fastest clock, so every clock edge falls on a
// whole tick and the conversions of a frame are spaced exactly alike.
//
// Header only, so that anyone who needs the modelled sample rate (the demo's
// data file, a test picking a bin's frequency) can include it without linking
// the simulator.
#include <cstdint>

namespace tqxsim {

using EngineTicks = std::uint64_t;

inline constexpr double kEngineTicksPerSecond = 12'000'000.0;
inline constexpr double kEngineBaseClockHz = 6'000'000.0;
inline constexpr EngineTicks kLineCommandTicks = 12;  // 1 µs per 0x80 or 0x86 command

constexpr EngineTicks HalfPeriodTicks(unsigned divisor) { return EngineTicks{1} + divisor; }
constexpr double SerialClockHz(unsigned divisor) { return kEngineBaseClockHz / (1.0 + divisor); }
constexpr double TicksToSeconds(EngineTicks ticks) { return static_cast<double>(ticks) / kEngineTicksPerSecond; }

// The monitor's ADC frame: divisor 72, then per conversion three line
// commands, 4 bits clocked out and 16 bits clocked in.
inline constexpr unsigned kAdcFrameDivisor = 72;
inline constexpr int kAdcFrameConversions = 128;
inline constexpr EngineTicks kConversionPeriodTicks =
    3 * kLineCommandTicks + (4 + 16) * 2 * HalfPeriodTicks(kAdcFrameDivisor);  // 2956 ticks, 246.33 µs
inline constexpr EngineTicks kAdcFrameTicks =
    kLineCommandTicks + kAdcFrameConversions * kConversionPeriodTicks;  // 31.53 ms

// The conversion rate inside an ADC frame, about 4059.5 Hz: the fs of the
// level spectrum, whose bin n lies at (n - 1) · fs / 128.
inline constexpr double kModelledSampleRateHz = kEngineTicksPerSecond / kConversionPeriodTicks;
inline constexpr double kAdcFrameSeconds = TicksToSeconds(kAdcFrameTicks);

constexpr double BinFrequencyHz(int bin) { return (bin - 1) * kModelledSampleRateHz / kAdcFrameConversions; }

}  // namespace tqxsim
