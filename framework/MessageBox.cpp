#include "framework/MessageBox.h"

#include <atomic>
#include <condition_variable>
#include <iostream>
#include <memory>
#include <mutex>
#include <vector>

#include "framework/MessageBoxDisplay.h"
#include "framework/ModalLoops.h"
#include "framework/WinApp.h"
#include "framework/WinThread.h"

namespace {

// A box asked for by another thread. `answered` is guarded by `guard`.
struct Request {
  std::string text;
  bool answered = false;
};

// Everything two threads touch lives here, under one mutex: the hook, the
// display, the requests waiting for the window thread, and the abandon flag.
// The backend's own cross-thread queue carries only a wake-up, never data.
std::mutex guard;
std::condition_variable answeredChanged;
MessageBoxHook hook;
MessageBoxDisplay* display = nullptr;
std::vector<std::shared_ptr<Request>> queuedRequests;
bool abandoned = false;

std::atomic<int> openWindowThreadBoxes{0};

void Answer(const std::shared_ptr<Request>& request) {
  std::lock_guard lock(guard);
  request->answered = true;
  answeredChanged.notify_all();
}

// The display is woken with `guard` held, so it cannot be unregistered and
// destroyed meanwhile.
void WaitForWindowThread(std::string_view text) {
  auto request = std::make_shared<Request>(Request{std::string(text)});
  std::unique_lock lock(guard);
  if (abandoned || display == nullptr) return;
  queuedRequests.push_back(request);
  display->WakeWindowThread();
  answeredChanged.wait(lock, [&] { return request->answered || abandoned; });
}

}  // namespace

void SetMessageBoxDisplay(MessageBoxDisplay* shown) {
  if (shown != nullptr) SetWindowThread();
  std::lock_guard lock(guard);
  display = shown;
}

void ServeQueuedMessageBoxes() {
  std::vector<std::shared_ptr<Request>> batch;
  bool closing = false;
  MessageBoxDisplay* shown = nullptr;
  {
    std::lock_guard lock(guard);
    batch.swap(queuedRequests);
    closing = abandoned;
    shown = display;
  }
  if (shown == nullptr) return;
  if (closing) {
    shown->CloseBoxesForOtherThreads();
    return;
  }
  for (const std::shared_ptr<Request>& request : batch) {
    shown->ShowForOtherThread(request->text, [request] { Answer(request); });
  }
}

void AfxMessageBox(std::string_view text) {
  MessageBoxHook current;
  MessageBoxDisplay* shown = nullptr;
  {
    std::lock_guard lock(guard);
    current = hook;
    shown = display;
  }
  if (current) {
    current(text);
    return;
  }
  if (shown == nullptr) {
    // No window to show it in (a tool, or a program before its windows or
    // after them): the text must not be lost.
    std::cerr << AfxGetAppName() << ": " << text << '\n';
    return;
  }
  if (IsWindowThread()) {
    const ModalLoop loop;
    ++openWindowThreadBoxes;
    shown->ShowModal(text);
    --openWindowThreadBoxes;
  } else {
    WaitForWindowThread(text);
  }
}

MessageBoxHook SetMessageBoxHook(MessageBoxHook replacement) {
  std::lock_guard lock(guard);
  MessageBoxHook previous = std::move(hook);
  hook = std::move(replacement);
  return previous;
}

void AbandonWaitingMessageBoxes() {
  const bool onWindowThread = IsWindowThread();
  MessageBoxDisplay* shown = nullptr;
  {
    std::lock_guard lock(guard);
    abandoned = true;
    queuedRequests.clear();
    answeredChanged.notify_all();
    shown = display;
    if (!onWindowThread && shown != nullptr) shown->WakeWindowThread();
  }
  if (onWindowThread && shown != nullptr) shown->CloseBoxesForOtherThreads();
}

int OpenWindowThreadMessageBoxes() { return openWindowThreadBoxes.load(); }

void ResetMessageBoxAbandonment() {
  std::lock_guard lock(guard);
  abandoned = false;
}
