// from-console SECONDS TEXT PROGRAM [ARGUMENTS...]: starts PROGRAM as Windows
// does when it is typed at a command prompt and is a window program: attached
// to no console and with no standard handles. The console is one of this
// program's own; once it shows TEXT (within SECONDS), PROGRAM is ended and the
// console's text printed on standard output. Exits 0 when TEXT showed, 1 when
// not. The installer check uses it to see that the installed programs' lines
// reach the console they were started from.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

constexpr DWORD kPollMilliseconds = 100;

std::wstring ConsoleText(HANDLE console) {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!GetConsoleScreenBufferInfo(console, &info)) return L"";
  std::wstring text;
  for (SHORT row = 0; row <= info.dwCursorPosition.Y; ++row) {
    std::wstring line(static_cast<std::size_t>(info.dwSize.X), L' ');
    DWORD read = 0;
    ReadConsoleOutputCharacterW(console, line.data(), static_cast<DWORD>(line.size()), COORD{0, row}, &read);
    line.erase(line.find_last_not_of(L' ') + 1);
    text += line + L"\n";
  }
  return text;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: from-console SECONDS TEXT PROGRAM [ARGUMENTS...]\n");
    return 2;
  }
  const int polls = std::wcstol(argv[1], nullptr, 10) * 1000 / static_cast<int>(kPollMilliseconds);
  const std::wstring awaited = argv[2];
  std::wstring commandLine;
  for (int i = 3; i < argc; ++i) commandLine += (i > 3 ? L" \"" : L"\"") + std::wstring(argv[i]) + L"\"";

  // Standard output stays what it was; only the console is new.
  FreeConsole();
  if (!AllocConsole()) {
    std::fprintf(stderr, "from-console: no console could be made\n");
    return 2;
  }
  const HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;  // all three empty
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(argv[3], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    std::fprintf(stderr, "from-console: the program could not be started (error %lu)\n", GetLastError());
    return 2;
  }
  std::wstring text;
  bool shown = false;
  for (int poll = 0; poll < polls && !shown; ++poll) {
    Sleep(kPollMilliseconds);
    text = ConsoleText(console);
    shown = text.find(awaited) != std::wstring::npos;
  }
  TerminateProcess(process.hProcess, 0);
  std::fputws(text.c_str(), stdout);
  return shown ? 0 : 1;
}
