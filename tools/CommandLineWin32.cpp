// The arguments from the UTF-16 command line, converted to UTF-8.
#include <windows.h>

#include <shellapi.h>

#include "tools/CommandLine.h"

namespace {

std::string Utf8(const wchar_t* text) {
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 1) return {};
  std::string utf8(static_cast<std::size_t>(bytes - 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), bytes, nullptr, nullptr);
  return utf8;
}

// The console's own output code page comes back when the tool ends, as the
// console outlives it.
class Utf8Console {
 public:
  Utf8Console() : codePage_(GetConsoleOutputCP()) {
    if (codePage_ != 0) SetConsoleOutputCP(CP_UTF8);
  }
  ~Utf8Console() {
    if (codePage_ != 0) SetConsoleOutputCP(codePage_);
  }
  Utf8Console(const Utf8Console&) = delete;
  Utf8Console& operator=(const Utf8Console&) = delete;

 private:
  UINT codePage_;  // 0 without a console
};

}  // namespace

std::vector<std::string> CommandLineArguments(int /*argc*/, char** /*argv*/) {
  static const Utf8Console console;
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 1; wide != nullptr && i < count; ++i) arguments.push_back(Utf8(wide[i]));
  LocalFree(wide);
  return arguments;
}
