#pragma once
// A scripted stand-in for the driver library, bound straight into a
// DriverTable: it records every call in order, answers reads from a receive
// queue that each write can fill with a scripted reply, and fails calls on
// demand. Also notes whether the bus was held at every exchange and whether
// two exchanges ever overlapped.
#include <cstdint>
#include <deque>
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
  // Each successful write appends the next reply (if any) to the receive queue.
  std::deque<std::vector<std::uint8_t>> replies;
  // Bytes a read withholds from what it could return.
  std::uint32_t shortBy = 0;
  std::deque<std::uint8_t> receiveQueue;
  // Time each write and read takes, to widen the window for overlaps.
  std::chrono::microseconds exchangeTime{0};

  // Record.
  std::vector<std::string> calls;  // "SetTimeouts 50 50", "Write 411", "Read 7", ...
  std::vector<Write> writes;
  std::vector<std::thread::id> exchangeThreads;  // one entry per write and read, in order
  int exchangesWithoutBus = 0;
  int overlappingExchanges = 0;

  mutable std::mutex mutex;
  int activeExchanges = 0;  // guarded by mutex

  std::vector<std::string> Calls() const;
  std::vector<Write> Writes() const;
};

// Binds all nine entry points of table to the fake, with the device already
// open (table.deviceHandle points at it).
void AttachFake(DriverTable& table, FakeDevice& device);
