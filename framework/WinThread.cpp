#include "framework/WinThread.h"

#include <QCoreApplication>
#include <QThread>

namespace {
// Static initialisation runs on the main thread, which is the window thread
// until the toolkit's application object exists.
const std::thread::id mainThreadId = std::this_thread::get_id();
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

bool IsWindowThread() {
  const QCoreApplication* toolkit = QCoreApplication::instance();
  if (toolkit == nullptr) return std::this_thread::get_id() == mainThreadId;
  return toolkit->thread() == QThread::currentThread();
}
