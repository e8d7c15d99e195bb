#include "support/DialogDriver.h"

#include <cstdio>
#include <utility>

namespace {
DriverFailureHandler& Handler() {
  static DriverFailureHandler handler = [](const std::string& what) {
    std::fprintf(stderr, "dialog driver: %s\n", what.c_str());
  };
  return handler;
}
}  // namespace

void SetDriverFailureHandler(DriverFailureHandler handler) { Handler() = std::move(handler); }

void ReportDriverFailure(const std::string& what) { Handler()(what); }
