#pragma once
// A driver table bound to a fresh fake device, with the shared line shadow,
// bus flag and expander shadow reset around each test, and every message box
// recorded.
#include <gtest/gtest.h>

#include "FakeDevice.h"
#include "BusCheckedMessages.h"
#include "device/Expander.h"
#include "device/SharedBus.h"

class DeviceTest : public ::testing::Test {
 protected:
  DeviceTest() {
    AttachFake(table, device);
    GpioLowShadow.store(0xFB);
    BusBusy.store(0);
    ExpanderShadow = ExpanderRegisters{};
  }
  ~DeviceTest() override { EXPECT_EQ(BusBusy.load(), 0) << "a test left the bus held"; }

  FakeDevice device;
  DriverTable table;
  BusCheckedMessages messages;
};
