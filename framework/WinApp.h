#pragma once
// The application object and the program's entry.

class CDialog;

class CWinApp {
 public:
  // appName captions every message box.
  explicit CWinApp(const char* appName);
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  // Called once by RunApplication. Returning false ends the application
  // without a message loop of the framework's own.
  virtual bool InitInstance() = 0;

  const char* AppName() const { return appName_; }
  CDialog* m_pMainWnd = nullptr;

 private:
  const char* appName_;
};

// The one application object, or nullptr.
CWinApp* AfxGetApp();
// Name that captions message boxes: the application object's, or "" without one.
const char* AfxGetAppName();

// Exit code of a program started where there is no display to show it on.
inline constexpr int kNoDisplayExitCode = 2;

// Brings up the window system, runs the application object's InitInstance and
// returns the process's exit code. Without a display it says so on standard
// error and returns kNoDisplayExitCode before anything else runs.
int RunApplication(int argc, char** argv);

// Ends the process at once with the code.
[[noreturn]] void ExitProcess(int code);
