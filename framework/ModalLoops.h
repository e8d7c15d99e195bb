#pragma once
// The modal loops open on the window thread: dialogs', message boxes' and the
// system's own (a menu being chosen from, a window being moved or sized).
// Each runs the window's messages, timers included, until it ends; a timer's
// handling that one of them sits inside is no longer the innermost work.

// Window thread only.
int OpenModalLoops();

// Counts a loop open for its lifetime.
class ModalLoop {
 public:
  ModalLoop();
  ~ModalLoop();
  ModalLoop(const ModalLoop&) = delete;
  ModalLoop& operator=(const ModalLoop&) = delete;
};

// For loops the system announces by a message at each end.
void ModalLoopBegan();
void ModalLoopEnded();
