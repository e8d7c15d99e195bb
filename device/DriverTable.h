#pragma once
// The one open device: the loaded driver library, the device handle, and the
// driver library's entry points. Every device operation takes this table.
#include <atomic>

#include "device/DriverApi.h"
#include "device/LibraryHandle.h"

struct DriverTable {
  LibraryHandle libraryHandle;
  DriverHandle deviceHandle = nullptr;
  // The entry points, in the order of the driver library's interface; null
  // until BindDriver finds them.
  FT_OpenEx_t FT_OpenEx = nullptr;
  FT_Open_t FT_Open = nullptr;
  FT_ListDevices_t FT_ListDevices = nullptr;
  FT_Close_t FT_Close = nullptr;
  FT_Read_t FT_Read = nullptr;
  FT_Write_t FT_Write = nullptr;
  FT_SetBitMode_t FT_SetBitMode = nullptr;
  FT_SetTimeouts_t FT_SetTimeouts = nullptr;
  FT_GetQueueStatus_t FT_GetQueueStatus = nullptr;
  // Set once by CloseDeviceLink; from then on every device operation is
  // refused quietly. Read by both threads.
  std::atomic<bool> linkClosed{false};
};

// Loads the driver library by its plain name and binds all nine entry points.
// Returns 0 when all are bound, 1 otherwise. A library that cannot be loaded is
// left to the caller to report; the first entry point that is missing is
// reported here ("Error: Can't Find <name>") and the lookups stop there.
int BindDriver(DriverTable& table);
