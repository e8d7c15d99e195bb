// Binds the driver library the way start-up does and prints what happened, so
// a test can run the binding in a process of its own with the library search
// path of its choice (which a process reads only when it starts):
//   result <0 or 1>
//   message <text>        one line per message box, in order
//   bound <entry point>   one line per bound entry point, in the table's order
#include <cstdio>
#include <string>
#include <string_view>

#include "device/DriverTable.h"
#include "framework/MessageBox.h"

int main() {
  SetMessageBoxHook([](std::string_view text) {
    std::printf("message %.*s\n", static_cast<int>(text.size()), text.data());
  });
  DriverTable table;
  const int result = BindDriver(table);
  std::printf("result %d\n", result);
  const std::pair<const char*, bool> entries[] = {
      {"FT_OpenEx", table.FT_OpenEx != nullptr},       {"FT_Open", table.FT_Open != nullptr},
      {"FT_ListDevices", table.FT_ListDevices != nullptr}, {"FT_Close", table.FT_Close != nullptr},
      {"FT_Read", table.FT_Read != nullptr},           {"FT_Write", table.FT_Write != nullptr},
      {"FT_SetBitMode", table.FT_SetBitMode != nullptr}, {"FT_SetTimeouts", table.FT_SetTimeouts != nullptr},
      {"FT_GetQueueStatus", table.FT_GetQueueStatus != nullptr},
  };
  for (const auto& [name, bound] : entries) {
    if (bound) std::printf("bound %s\n", name);
  }
  return 0;
}
