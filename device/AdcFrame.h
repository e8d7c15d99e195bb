#pragma once
// The ADC sample frame: 128 conversions in one command frame, answered by one
// 256-byte reply. Called once per cycle by the acquisition worker.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "device/DriverTable.h"
#include "device/FrameExchange.h"
#include "device/FrameProgram.h"

inline constexpr std::size_t kConversionsPerFrame = 128;
inline constexpr std::size_t kAdcFrameBytes = 1923;
inline constexpr std::size_t kAdcReplyBytes = 2 * kConversionsPerFrame;

using AdcFrame = CommandFrame<kAdcFrameBytes>;

// The frame for a line shadow: divisor 72, then per conversion: select the ADC
// with the clock low, clock out the four start bits 1111, release the data
// line, clock in two bytes, deselect. Leaves (shadow & 0xF6) | 0x08.
AdcFrame BuildAdcFrame(std::uint8_t shadow);

// Volts of one conversion from its two reply bytes (high byte first): the
// sixteen bits clocked in, shifted right by three, times 1/4095 (as the
// single-precision constant widened to double) and then times 5 V.
double ConversionVolts(std::uint8_t high, std::uint8_t low);

// One acquisition into samples (volts, in acquisition order). samples is
// overwritten only by a whole 256-byte reply; on any failure it keeps the
// previous frame's values. A failed write is silent; a failed or short read
// shows "Read Error!" or "error: too few bytes returned" after the bus is
// released, with beforeReport called first. Does nothing once the link is
// closed. Returns whether the samples are this frame's.
bool ReadSampleFrame(DriverTable& table, std::span<double, kConversionsPerFrame> samples,
                     ExchangeFailureNotice beforeReport = nullptr);
