#pragma once
// The simulated module's side door, from the same library BindDriver loads by
// its plain name (the simulated module is first on every test's library path).
#include <dlfcn.h>

#include <stdexcept>

#include "device/DriverApi.h"
#include "sim/SimControl.h"

inline tqxsim::SimControl& SimulatedModuleControl() {
  static tqxsim::SimControl* control = [] {
    void* library = dlopen(kDriverLibraryName, RTLD_NOW);
    if (library == nullptr) return static_cast<tqxsim::SimControl*>(nullptr);
    auto get = reinterpret_cast<tqxsim::TqxSimControlFunction>(dlsym(library, "TqxSimControl"));
    return get == nullptr ? nullptr : get();
  }();
  if (control == nullptr) throw std::runtime_error("the simulated module's library is not on the search path");
  return *control;
}
