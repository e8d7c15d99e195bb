#include "framework/MessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <atomic>
#include <condition_variable>
#include <iostream>
#include <memory>
#include <mutex>
#include <vector>

#include "framework/WinApp.h"
#include "framework/WinThread.h"
#include "framework/detail/Latin1.h"

namespace {

// A box asked for by another thread. `answered` is guarded by `guard`.
struct Request {
  std::string text;
  bool answered = false;
};

// Everything two threads touch lives here, under one mutex: the hook, the
// requests waiting for the window thread, and the abandon flag. The toolkit's
// own cross-thread queue carries only a wake-up event, never data.
std::mutex guard;
std::condition_variable answeredChanged;
MessageBoxHook hook;
std::vector<std::shared_ptr<Request>> queuedRequests;
bool abandoned = false;
QObject* waker = nullptr;

std::atomic<int> openWindowThreadBoxes{0};

// Window-thread data: the boxes shown for other threads and still open.
std::vector<QPointer<QMessageBox>>& OpenBoxesForOtherThreads() {
  static std::vector<QPointer<QMessageBox>> boxes;
  return boxes;
}

QMessageBox* NewBox(std::string_view text, QWidget* parent) {
  auto* box = new QMessageBox(QMessageBox::Warning, ToQString(AfxGetAppName()), ToQString(text),
                              QMessageBox::Ok, parent);
  box->setTextFormat(Qt::PlainText);
  return box;
}

void ShowModalOnWindowThread(std::string_view text) {
  QWidget* parent = QApplication::activeModalWidget();
  if (parent == nullptr) parent = QApplication::activeWindow();
  std::unique_ptr<QMessageBox> box(NewBox(text, parent));
  ++openWindowThreadBoxes;
  box->exec();
  --openWindowThreadBoxes;
}

void Answer(const std::shared_ptr<Request>& request) {
  std::lock_guard lock(guard);
  request->answered = true;
  answeredChanged.notify_all();
}

void CloseBoxesForOtherThreads() {
  for (const QPointer<QMessageBox>& box : OpenBoxesForOtherThreads()) {
    if (box) box->close();
  }
  OpenBoxesForOtherThreads().clear();
}

// Runs on the window thread, woken by a thread that queued a request or
// abandoned the waiting ones.
void ServeQueuedRequests() {
  std::vector<std::shared_ptr<Request>> batch;
  bool closing = false;
  {
    std::lock_guard lock(guard);
    batch.swap(queuedRequests);
    closing = abandoned;
  }
  if (closing) {
    CloseBoxesForOtherThreads();
    return;
  }
  for (const std::shared_ptr<Request>& request : batch) {
    // Not modal: the caller waits, the windows stay usable. It belongs to the
    // modal window on top, if any, which would otherwise block it from the
    // user; should that window close first, the box goes with it and the
    // caller is released as if OK had been pressed.
    QMessageBox* box = NewBox(request->text, QApplication::activeModalWidget());
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QMessageBox::finished, box, [request] { Answer(request); });
    QObject::connect(box, &QObject::destroyed, [request] { Answer(request); });
    // Boxes the user dismissed leave null pointers behind; drop them so that a
    // long run's failures do not pile up here.
    std::erase_if(OpenBoxesForOtherThreads(), [](const QPointer<QMessageBox>& open) { return open.isNull(); });
    OpenBoxesForOtherThreads().emplace_back(box);
    box->show();
  }
}

// Receives the wake-ups on the window thread. It is made there, by the
// application object, and so is the only object the toolkit's cross-thread
// queue ever hands over: the posted event is made and freed inside the
// toolkit and never read here. A functor posted instead would be built by the
// worker and read by the window thread behind a lock the race detector cannot
// see.
class WindowThreadWaker : public QObject {
 public:
  ~WindowThreadWaker() override {
    std::lock_guard lock(guard);
    waker = nullptr;
  }

 protected:
  void customEvent(QEvent*) override { ServeQueuedRequests(); }
};

void CreateWindowThreadWaker() {
  auto* created = new WindowThreadWaker;
  created->setParent(QCoreApplication::instance());
  std::lock_guard lock(guard);
  waker = created;
}
Q_COREAPP_STARTUP_FUNCTION(CreateWindowThreadWaker)

// Called with `guard` held, so the waker cannot be destroyed meanwhile.
void WakeWindowThread() {
  if (waker != nullptr) QCoreApplication::postEvent(waker, new QEvent(QEvent::User));
}

void WaitForWindowThread(std::string_view text) {
  auto request = std::make_shared<Request>(Request{std::string(text)});
  std::unique_lock lock(guard);
  if (abandoned) return;
  queuedRequests.push_back(request);
  WakeWindowThread();
  answeredChanged.wait(lock, [&] { return request->answered || abandoned; });
}

}  // namespace

void AfxMessageBox(std::string_view text) {
  MessageBoxHook current;
  {
    std::lock_guard lock(guard);
    current = hook;
  }
  if (current) {
    current(text);
    return;
  }
  if (QCoreApplication::instance() == nullptr) {
    // No window system yet: the text must not be lost.
    std::cerr << AfxGetAppName() << ": " << text << '\n';
    return;
  }
  if (IsWindowThread()) {
    ShowModalOnWindowThread(text);
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
  {
    std::lock_guard lock(guard);
    abandoned = true;
    queuedRequests.clear();
    answeredChanged.notify_all();
    if (!onWindowThread) WakeWindowThread();
  }
  if (onWindowThread) CloseBoxesForOtherThreads();
}

int OpenWindowThreadMessageBoxes() { return openWindowThreadBoxes.load(); }

void ResetMessageBoxAbandonment() {
  std::lock_guard lock(guard);
  abandoned = false;
}
