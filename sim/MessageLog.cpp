#include "sim/MessageLog.h"

#include <cstdarg>
#include <cstdio>

namespace tqxsim {

void MessageLog::Say(const char* format, ...) {
  char text[256];
  std::va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  std::string line = "sim: ";
  line += text;
  if (onStderr_) std::fprintf(stderr, "%s\n", line.c_str());
  if (recent_.size() == kRecentLimit) recent_.pop_front();
  recent_.push_back(std::move(line));
}

}  // namespace tqxsim
