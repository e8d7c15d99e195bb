#pragma once
// One command frame on the shared bus: the bus is taken for the exchange alone
// and released on every path before any message is shown.
#include <cstdint>
#include <span>
#include <string_view>

#include "device/DriverTable.h"

// Writes a frame that reads nothing back. A failed write shows failureMessage.
// Nothing is sent once the link has closed.
void SendFrame(DriverTable& table, std::span<const std::uint8_t> frame, std::string_view failureMessage);

// Called on the caller's thread when an exchange has failed, before its
// message is shown: the box may hold that thread until someone answers it.
using ExchangeFailureNotice = void (*)();

// Drains what earlier frames left queued, writes the frame and reads its whole
// reply. A failed write shows writeFailureMessage (an empty one keeps it
// quiet); a failed read, or one behind a drain that failed, shows
// "Read Error!" and a short one "error: too few bytes returned". Returns true
// only when the whole reply arrived; nothing is sent once the link has closed.
bool ExchangeFrame(DriverTable& table, std::span<const std::uint8_t> frame, std::span<std::uint8_t> reply,
                   std::string_view writeFailureMessage, ExchangeFailureNotice beforeReport = nullptr);
