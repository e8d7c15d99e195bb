#pragma once
// How message boxes reach the screen: the seam between the framework's core,
// which keeps the requests, the waiting threads and the abandon flag, and a
// window backend, which shows the boxes. Window code never includes this.
#include <functional>
#include <string_view>

class MessageBoxDisplay {
 public:
  virtual ~MessageBoxDisplay() = default;

  // Window thread: shows a modal box and returns when the user has answered.
  virtual void ShowModal(std::string_view text) = 0;
  // Any thread, with the core's lock held: have ServeQueuedMessageBoxes run on
  // the window thread soon. Must not call back into the core.
  virtual void WakeWindowThread() = 0;
  // Window thread: shows a box for a waiting thread without blocking; calls
  // answered once when it goes (OK, or its owner closing).
  virtual void ShowForOtherThread(std::string_view text, std::function<void()> answered) = 0;
  // Window thread: closes every box that ShowForOtherThread left open.
  virtual void CloseBoxesForOtherThreads() = 0;
};

// Registers the display, on the thread that runs the windows, which becomes
// the window thread. nullptr goes back to standard error: what a program
// without windows uses, and what a closing backend restores.
void SetMessageBoxDisplay(MessageBoxDisplay* display);

// Window thread, when woken: shows the boxes other threads are waiting on, or
// closes them once the waiting has been abandoned.
void ServeQueuedMessageBoxes();

// Shows message boxes with the window backend from now on, on the calling
// thread, which becomes the window thread. Programs get this from
// RunApplication; a test main or a tool that brings up the window system
// itself calls it once that is done (the toolkit's application object made).
void ShowMessageBoxesWithTheToolkit();
