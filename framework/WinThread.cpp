#include "framework/WinThread.h"

#include <atomic>

namespace {
// Static initialisation runs on the main thread.
std::atomic<std::thread::id> windowThread{std::this_thread::get_id()};
}  // namespace

CWinThread::CWinThread(Procedure procedure, void* param)
    : thread_([this, procedure, param] { exitCode_ = procedure(param); }) {}

CWinThread::~CWinThread() { Join(); }

void CWinThread::Join() {
  if (thread_.joinable()) thread_.join();
}

std::unique_ptr<CWinThread> AfxBeginThread(CWinThread::Procedure procedure, void* param) {
  return std::make_unique<CWinThread>(procedure, param);
}

bool IsWindowThread() { return std::this_thread::get_id() == windowThread.load(); }

void SetWindowThread() { windowThread.store(std::this_thread::get_id()); }
