// The console a window program was started from, as its standard output and
// error. Windows gives a window program no standard handles of a console, only
// redirected ones, and its C library marks such a stream as having no file
// when the program starts; so once the program has attached to the console,
// each lost stream's file descriptor is put on the console's output and the
// stream is given it back.
#include <fcntl.h>
#include <io.h>

#include <cstdint>
#include <cstdio>

#include "framework/win32/Native.h"
#include "framework/win32/native/NativeWindows.h"

namespace {

constexpr int kOutputDescriptor = 1;
constexpr int kErrorDescriptor = 2;

bool Connected(DWORD stream) {
  const HANDLE handle = GetStdHandle(stream);
  return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

// The standard handle is set too, for the programs this one starts.
void OpenOnConsole(std::FILE* file, int descriptor, DWORD stream) {
  const HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, 0, nullptr);
  if (console == INVALID_HANDLE_VALUE) return;
  const int opened = _open_osfhandle(reinterpret_cast<std::intptr_t>(console), _O_TEXT);
  if (opened < 0) {
    CloseHandle(console);
    return;
  }
  const bool moved = _dup2(opened, descriptor) == 0;
  _close(opened);
  if (!moved) return;
  // freopen would do this on Windows' own C library, but Wine's refuses a
  // stream without a file.
  file->_file = descriptor;
  SetStdHandle(stream, reinterpret_cast<HANDLE>(_get_osfhandle(descriptor)));
}

}  // namespace

void native::UseStartingConsole() {
  // Asked before attaching: attaching may fill the empty handles in, but not
  // the C library's streams.
  const bool outputLost = !Connected(STD_OUTPUT_HANDLE);
  const bool errorLost = !Connected(STD_ERROR_HANDLE);
  if (!(outputLost || errorLost)) return;
  // Access is denied when the program already has a console (Wine hands a
  // window program its starter's).
  if (!AttachConsole(ATTACH_PARENT_PROCESS) && GetLastError() != ERROR_ACCESS_DENIED) return;
  if (outputLost) OpenOnConsole(stdout, kOutputDescriptor, STD_OUTPUT_HANDLE);
  if (errorLost) OpenOnConsole(stderr, kErrorDescriptor, STD_ERROR_HANDLE);
}
