#pragma once
// The serial engine's life on the open device: set-up into its serial mode,
// draining the receive queue, and the device side of the close request.
#include "device/DriverTable.h"

// What the set-up needs from the main window, which lives in app/.
struct SerialEngineHost {
  // Controls into members, members into controls, then repaint at once.
  virtual void RefreshWindow() = 0;
  // Starts the 100 ms tick timer.
  virtual void StartTickTimer() = 0;

 protected:
  ~SerialEngineHost() = default;
};

// Called once by start-up right after the device is opened: 50 ms time-outs,
// serial-engine mode, every low-byte line high (line 2 an input), then the tick
// timer. A failure shows "Error enabling MPSSE!" or "Error initializing
// Low-Byte I/O lines." and starts no timer.
void SetupSerialEngine(DriverTable& table, SerialEngineHost& host);

// Reads and discards, one byte at a time, whatever waits in the receive queue;
// stops at the first failed call. Callers that read hold the bus around it.
// Returns whether the queue was emptied: after a failed drain, the next reply
// read would begin with stale bytes.
bool DrainReceiveQueue(DriverTable& table);

// The close request's part: waits for the bus, marks the link closed, then
// takes the serial engine out of its serial mode (mask 0, mode 0) and closes
// the device. From then on every device operation (frames, drain, set-up) is
// refused quietly: no frame, no message. Closing twice does nothing more.
// Holds the bus only to mark the link closed, never while a message box is
// shown. The caller stops the tick timer and the acquisition worker first.
void CloseDeviceLink(DriverTable& table);
