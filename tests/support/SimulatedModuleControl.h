#pragma once
// The simulated module's side door, from the same library BindDriver loads by
// its plain name (the simulated module is first on every test's library path).
#include <stdexcept>

#include "device/DriverApi.h"
#include "device/LibraryHandle.h"
#include "sim/SimControl.h"

// nullptr when the library found by that name is not the simulated module.
inline tqxsim::SimControl* FindSimulatedModuleControl() {
  static tqxsim::SimControl* control = [] {
    const LibraryHandle library = LibraryHandle::Load(kDriverLibraryName);
    auto get = reinterpret_cast<tqxsim::TqxSimControlFunction>(library.FindSymbol("TqxSimControl"));
    return get == nullptr ? nullptr : get();
  }();
  return control;
}

inline tqxsim::SimControl& SimulatedModuleControl() {
  tqxsim::SimControl* control = FindSimulatedModuleControl();
  if (control == nullptr) throw std::runtime_error("the simulated module's library is not on the search path");
  return *control;
}

// The module just powered on, its input silent (the bias alone) and its own
// report lines off standard error: where each run of the monitor or the
// worker on it starts.
inline void PowerOnSilently(tqxsim::SimControl& sim) {
  sim.ResetToPowerOn();
  sim.SetMessagesOnStderr(false);
  sim.SetConstantInput(tqxsim::kInputBiasVolts);
}
