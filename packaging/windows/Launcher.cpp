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
// Returns the monitor's exit code.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <filesystem>
#include <string>

namespace {

constexpr int kLaunchFailed = 1;

int Refuse(const std::wstring& text) {
  MessageBoxW(nullptr, text.c_str(), L"tqxfft", MB_ICONEXCLAMATION | MB_OK);
  return kLaunchFailed;
}

std::filesystem::path OwnFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return std::filesystem::path(path).parent_path();
    }
    path.resize(path.size() * 2);
  }
}

std::filesystem::path RoamingAppData() {
  PWSTR folder = nullptr;
  std::filesystem::path result;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_CREATE, nullptr, &folder))) result = folder;
  CoTaskMemFree(folder);
  return result;
}

bool AskedForSimulated() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  const bool simulated = arguments != nullptr && count > 1 && std::wstring(arguments[1]) == L"--simulated";
  LocalFree(arguments);
  return simulated;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::filesystem::path appData = RoamingAppData();
  if (appData.empty()) return Refuse(L"Your application data folder (%APPDATA%) could not be found.");
  const std::filesystem::path dataFolder = appData / L"tqxfft";
  std::error_code error;
  std::filesystem::create_directories(dataFolder, error);
  if (error || !SetCurrentDirectoryW(dataFolder.c_str())) {
    return Refuse(L"The data folder " + dataFolder.wstring() + L" cannot be used.");
  }

  const std::filesystem::path monitor =
      OwnFolder() / (AskedForSimulated() ? L"simulated\\tqxfft.exe" : L"tqxfft.exe");
  // The monitor's messages on standard error reach whoever started this
  // launcher from a console.
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process{};
  std::wstring commandLine = L"\"" + monitor.wstring() + L"\"";
  if (!CreateProcessW(monitor.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return Refuse(L"The monitor " + monitor.wstring() + L" could not be started.");
  }
  CloseHandle(process.hThread);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exitCode = kLaunchFailed;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hProcess);
  return static_cast<int>(exitCode);
}
