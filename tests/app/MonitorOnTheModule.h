#pragma once
// Where every test of the running monitor starts: the simulated module just
// powered on with a silent input (the bias alone), the stored record and the
// bin table empty, and a working folder of the test's own for the data file.
// At the end the module must have understood every frame it was sent.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "config/BinUsedTable.h"
#include "config/ConfigFile.h"
#include "device/Expander.h"
#include "framework/MessageBox.h"
#include "support/ScratchFolder.h"
#include "support/SimulatedModuleControl.h"

class MonitorOnTheModule : public ::testing::Test {
 protected:
  explicit MonitorOnTheModule(const std::string& folderPrefix) : folder_(folderPrefix) {}

  void SetUp() override {
    PowerOnSilently(sim);
    configRecord = {};
    binUsedTable = {};
    // An earlier window's close gave up on every waiting box for good; each
    // test is a new run.
    ResetMessageBoxAbandonment();
  }

  void TearDown() override {
    EXPECT_EQ(sim.ProtocolErrorCount(), 0u) << "the module did not understand a frame";
    EXPECT_EQ(sim.InterleavedWriteCount(), 0u);
  }

  // A relay is closed when its line is an output driven high.
  bool RelayClosed(ExpanderLine relay) const {
    const auto registers = sim.ExpanderRegisters();
    const std::uint8_t mask = BitMaskOf(relay);
    return (registers[tqxsim::kOutputs0] & mask) != 0 && (registers[tqxsim::kConfiguration0] & mask) == 0;
  }

 private:
  ScratchFolder folder_;

 protected:
  tqxsim::SimControl& sim = SimulatedModuleControl();
};
