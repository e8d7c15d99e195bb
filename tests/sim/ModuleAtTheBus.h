#pragma once
// The simulated module loaded the way the monitor loads it: by plain name,
// from the library search path the tests put it first on. Each test starts
// from power-on with device 0 open, the serial engine on and a 50 ms read
// time-out, and talks to the module only through its entry points; the side
// door sets the analog input and reads back the chips.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "device/DriverApi.h"
#include "sim/SimControl.h"

struct SimulatedDriver {
  FT_Write_t write;
  FT_Read_t read;
  FT_OpenEx_t openEx;
  FT_Open_t open;
  FT_ListDevices_t listDevices;
  FT_Close_t close;
  FT_SetBitMode_t setBitMode;
  FT_SetTimeouts_t setTimeouts;
  FT_GetQueueStatus_t getQueueStatus;
  tqxsim::SimControl* control;
};

// Loaded once per test programme; fails the test when the library is missing.
const SimulatedDriver& LoadSimulatedDriver();

class ModuleAtTheBus : public ::testing::Test {
 protected:
  static constexpr std::uint32_t kReadTimeoutMs = 50;
  static constexpr std::uint8_t kSerialEngineMode = 0x02;

  void SetUp() override;
  void TearDown() override;

  // One FT_Write of the whole frame, expected to succeed.
  void Send(const std::vector<std::uint8_t>& frame);
  // One FT_Read of n bytes, expected to succeed; returns what it got.
  std::vector<std::uint8_t> Receive(std::uint32_t n);
  std::uint32_t QueuedBytes();
  bool SaidLine(const std::string& line);

  const SimulatedDriver& driver = LoadSimulatedDriver();
  tqxsim::SimControl& sim = *driver.control;
  DriverHandle handle = nullptr;
};
