#pragma once
// A worker thread of the framework.
#include <memory>
#include <thread>

class CWinThread {
 public:
  using Procedure = unsigned (*)(void* param);

  CWinThread(Procedure procedure, void* param);
  CWinThread(const CWinThread&) = delete;
  CWinThread& operator=(const CWinThread&) = delete;
  ~CWinThread();  // joins a thread that is still running

  // Waits until the procedure has returned. Safe to call more than once.
  void Join();
  unsigned ExitCode() const { return exitCode_; }

 private:
  // Declared before the thread, so it is set before the procedure can write it.
  unsigned exitCode_ = 0;
  std::thread thread_;
};

// Starts procedure(param) at once on a new thread of normal priority.
std::unique_ptr<CWinThread> AfxBeginThread(CWinThread::Procedure procedure, void* param);

// True on the thread that runs the windows: the main thread, until a window
// backend makes the thread it runs on the window thread.
bool IsWindowThread();
void SetWindowThread();
