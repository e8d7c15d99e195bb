// close-window TITLE SECONDS: waits up to SECONDS for a top-level window
// captioned TITLE, asks it to close as its close box does, and waits up to
// SECONDS again for its program to end. Exits 0 once it ended, 1 when no such
// window showed or its program went on. The installer check uses it to close
// the installed monitor the way a user would.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: close-window TITLE SECONDS\n");
    return 2;
  }
  const std::wstring title(argv[1], argv[1] + std::char_traits<char>::length(argv[1]));
  const int tenths = std::atoi(argv[2]) * 10;
  for (int tenth = 0; tenth < tenths; ++tenth) {
    HWND window = FindWindowW(nullptr, title.c_str());
    if (window != nullptr && IsWindowVisible(window)) {
      DWORD processId = 0;
      GetWindowThreadProcessId(window, &processId);
      const HANDLE program = OpenProcess(SYNCHRONIZE, FALSE, processId);
      PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
      const bool ended = program != nullptr && WaitForSingleObject(program, static_cast<DWORD>(tenths) * 100) == WAIT_OBJECT_0;
      if (program != nullptr) CloseHandle(program);
      if (ended) return 0;
      std::fprintf(stderr, "close-window: the program of \"%s\" did not end within %s s\n", argv[1], argv[2]);
      return 1;
    }
    Sleep(100);
  }
  std::fprintf(stderr, "close-window: no window \"%s\" showed within %s s\n", argv[1], argv[2]);
  return 1;
}
