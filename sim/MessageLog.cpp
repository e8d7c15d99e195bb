#include "sim/MessageLog.h"

#include <cstdarg>
#include <cstdio>

namespace tqxsim {

namespace {

std::string FormattedFrom(const char* format, std::va_list arguments) {
  char text[256];
  std::vsnprintf(text, sizeof text, format, arguments);
  return text;
}

}  // namespace

std::string Formatted(const char* format, ...) {
  std::va_list arguments;
  va_start(arguments, format);
  std::string text = FormattedFrom(format, arguments);
  va_end(arguments);
  return text;
}

void MessageLog::Say(const char* format, ...) {
  std::va_list arguments;
  va_start(arguments, format);
  std::string line = "sim: " + FormattedFrom(format, arguments);
  va_end(arguments);
  if (onStderr_) std::fprintf(stderr, "%s\n", line.c_str());
  if (recent_.size() == kRecentLimit) recent_.pop_front();
  recent_.push_back(std::move(line));
}

}  // namespace tqxsim
