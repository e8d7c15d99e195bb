#pragma once
// The pieces every tqxscan report is written with.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "config/ConfigRecord.h"

template <typename... Values>
std::string Formatted(const char* format, Values... values) {
  char text[300];
  std::snprintf(text, sizeof text, format, values...);
  return text;
}

inline std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

// A function's trigger bins as Function Setup shows them: 0 is an empty field.
inline std::vector<std::int32_t> TriggerBins(const ConfigRecord& record, int function) {
  std::vector<std::int32_t> bins;
  for (const FunctionInts* field : {&record.triggerBin1, &record.triggerBin2, &record.triggerBin3}) {
    if ((*field)[function] != 0) bins.push_back((*field)[function]);
  }
  return bins;
}
