#pragma once
// Message boxes: modal, exclamation icon, one OK button, captioned with the
// application's name.
#include <functional>
#include <string>
#include <string_view>

// Shows text and returns when the user has pressed OK. Callable from any
// thread: off the window thread the box is shown by the window thread while the
// caller waits, and it is modal for that caller only (the windows stay usable).
void AfxMessageBox(std::string_view text);

// Replaces how boxes are shown, for tests: the hook runs on the caller's thread
// with the text and stands for the user's answer by returning. An empty hook
// restores the real boxes. Returns the hook it replaced.
using MessageBoxHook = std::function<void(std::string_view text)>;
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);

// Releases every caller still waiting on a box from another thread, and makes
// later requests from other threads return at once: the program is closing and
// nobody will answer them.
void AbandonWaitingMessageBoxes();

// Number of boxes that window-thread callers have open (nested boxes count
// each); boxes shown for other threads do not count, as they hold up no
// window-thread code.
int OpenWindowThreadMessageBoxes();

// Undoes AbandonWaitingMessageBoxes, so one test process can try both.
void ResetMessageBoxAbandonment();
