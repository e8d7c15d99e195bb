// Starts the monitor from a Start Menu entry. The monitor keeps its data file
// "tqxdata.bin" in its working folder, and a menu launch has none worth the
// name, so it runs in the user's own data folder (%APPDATA%\tqxfft, made when
// missing): a setup made from the menu is found again from the menu.
//
//   tqxfft-launch.exe              the monitor beside it, on the driver
//                                  library the system finds
//   tqxfft-launch.exe --simulated  the copy in simulated\, which finds the
//                                  simulated module beside itself first
//
// Ends with the monitor's exit code; the monitor gets the launcher's standard
// handles, so its messages reach a console that started it.
//
// Every path is handled in the system's own UTF-16: the user's name and the
// install folder may hold characters of any language, which the program's
// one-byte texts cannot carry. So this program talks to Windows directly.
#include <windows.h>

#include <shellapi.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "framework/win32/Native.h"

namespace {

constexpr int kLaunchFailed = 1;

int Refuse(const std::wstring& text) {
  MessageBoxW(nullptr, text.c_str(), L"tqxfft", MB_ICONEXCLAMATION | MB_OK);
  return kLaunchFailed;
}

bool StartedSimulated() {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  const bool simulated = arguments != nullptr && count > 1 && std::wstring(arguments[1]) == L"--simulated";
  LocalFree(arguments);
  return simulated;
}

// The full path of this program, however long.
std::filesystem::path ThisProgram() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length < buffer.size()) return std::filesystem::path(std::wstring(buffer.data(), length));
    buffer.resize(buffer.size() * 2);
  }
}

bool Connected(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }

// The monitor's exit code, or nothing when it could not be started.
std::optional<int> Run(const std::filesystem::path& monitor) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  if (Connected(startup.hStdOutput) || Connected(startup.hStdError)) startup.dwFlags = STARTF_USESTDHANDLES;
  // The program name is quoted, as the folder may hold spaces.
  std::wstring commandLine = L"\"" + monitor.wstring() + L"\"";
  PROCESS_INFORMATION process{};
  if (CreateProcessW(monitor.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                     &process) == 0) {
    return std::nullopt;
  }
  CloseHandle(process.hThread);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exitCode = kLaunchFailed;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hProcess);
  return static_cast<int>(exitCode);
}

int Launch() {
  const wchar_t* appData = _wgetenv(L"APPDATA");
  if (appData == nullptr || appData[0] == L'\0') {
    return Refuse(L"Your application data folder (%APPDATA%) could not be found.");
  }
  const std::filesystem::path dataFolder = std::filesystem::path(appData) / L"tqxfft";
  std::error_code error;
  std::filesystem::create_directories(dataFolder, error);
  if (!error) std::filesystem::current_path(dataFolder, error);
  if (error) return Refuse(L"The data folder " + dataFolder.wstring() + L" cannot be used.");

  const std::filesystem::path monitor =
      ThisProgram().parent_path() / (StartedSimulated() ? L"simulated\\tqxfft.exe" : L"tqxfft.exe");
  const std::optional<int> exitCode = Run(monitor);
  if (!exitCode) return Refuse(L"The monitor " + monitor.wstring() + L" could not be started.");
  return *exitCode;
}

}  // namespace

int main() {
  native::UseStartingConsole();
  return Launch();
}
