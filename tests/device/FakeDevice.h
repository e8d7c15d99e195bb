#pragma once
// A scripted stand-in for the driver library, bound straight into a
// DriverTable: it records every call in order, answers reads from a receive
// queue that each write can fill with a scripted reply, and fails calls on
// demand. Also notes whether the bus was held at every exchange and whether
// two exchanges ever overlapped.
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "device/DriverTable.h"

struct FakeDevice {
  struct Write {
    std::vector<std::uint8_t> bytes;
    std::thread::id thread;
  };

  // Script. Statuses are consumed one per call, in order; once a list is used
  // up, calls succeed.
  std::deque<DriverStatus> writeStatuses;
  std::deque<DriverStatus> readStatuses;
  DriverStatus bitModeStatus = kDriverOk;
  DriverStatus queueStatusStatus = kDriverOk;
  // Each successful write appends the next reply to the receive queue; once
  // they are used up, what replyTo answers to the written bytes, if set.
  std::deque<std::vector<std::uint8_t>> replies;
  std::function<std::vector<std::uint8_t>(const std::vector<std::uint8_t>& written)> replyTo;
  // Bytes a read withholds from what it could return.
  std::uint32_t shortBy = 0;
  std::deque<std::uint8_t> receiveQueue;
  // Time each write and read takes, to widen the window for overlaps.
  std::chrono::microseconds exchangeTime{0};

  // Record.
  std::vector<std::string> calls;  // "SetTimeouts 50 50", "Write 411", "Read 7", ...
  std::vector<Write> writes;
  struct ExchangeRecord {
    std::thread::id thread;
    bool isWrite;
    std::size_t length;
  };
  std::vector<ExchangeRecord> exchanges;  // every write and read, in order
  int exchangesWithoutBus = 0;
  int overlappingExchanges = 0;

  mutable std::mutex mutex;
  int activeExchanges = 0;  // guarded by mutex

  std::vector<std::string> Calls() const;
  std::vector<Write> Writes() const;
  std::vector<ExchangeRecord> Exchanges() const;
};

// Binds all nine entry points of table to the fake, with the device already
// open (table.deviceHandle points at it).
void AttachFake(DriverTable& table, FakeDevice& device);
