#pragma once
// What the Win32 dialog driver does on the Windows API, in names that clash
// with nothing in the framework's headers (see framework/win32/Native.h).
// Window handles are the dialogs' native::Dialog::Handle().
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/win32/Native.h"
#include "support/WindowFacts.h"

namespace driving {

// Calls `tick` on the thread's message loop every period until destroyed.
class ThreadTimer {
 public:
  ThreadTimer(std::chrono::milliseconds period, std::function<void()> tick);
  ~ThreadTimer();
  ThreadTimer(const ThreadTimer&) = delete;
  ThreadTimer& operator=(const ThreadTimer&) = delete;
  void Stop();

 private:
  std::uintptr_t id_;
};

// Calls `action` once, `delay` from now, from whichever loop dispatches the
// thread's messages then.
void RunOnce(std::chrono::milliseconds delay, std::function<void()> action);

// Handles every message waiting in the thread's queue.
void HandleWaitingMessages();
// The same, for a few milliseconds at most.
void HandleMessagesBriefly();

bool IsShowing(void* window);
bool IsEnabled(void* window);
void* Owner(void* window);
void* Control(void* window, int id);
bool IsPushButton(void* control);
// A left click at the control's centre as the window system delivers it: a
// control whose window is disabled (a modal window above it) gets nothing.
void ClickAtCentre(void* control);
// A radio button's or check box's own click.
void ClickButton(void* control);
void Focus(void* control);
void SelectAll(void* control);
void TypeCharacter(void* control, char c);
// Virtual-key codes of the Windows API, posted as the keyboard would.
enum class VirtualKey { Return, Escape, Tab, Space, Back, Delete, End, Up, Down };
void PressKey(void* target, VirtualKey key, bool alt);
// A left click on the window's close box, as the window system delivers it;
// false when the window has none.
bool ClickCloseBox(void* window);
// A right click at a client point, delivered to the control there, if any.
void RightClick(void* window, int x, int y);
// The window that has the keyboard's focus, nullptr when none of ours has.
void* Focus();
// The control with the focus, if it lies in the window; else the window.
void* FocusedIn(void* window);
// 0 when the focus is not on one of the window's controls.
int FocusedControlId(void* window);
std::string SelectedText(void* control);
native::Bounds ControlBounds(void* window, void* control);
// The window's outer frame in screen pixels.
native::Bounds FrameOf(void* window);
// 0 for the background.
int ControlIdAt(void* window, int x, int y);
std::vector<std::string> ControlTexts(void* window);

// What the window system built, read back from a control's class and styles;
// nothing for a control of a class or style no template names.
std::optional<BuiltControl> LookOf(void* control);
FontFacts WindowFont(void* window);
int TextWidth(void* window, std::string_view text);
// Width and height of the window's big and small icons' images.
std::vector<native::Extent> IconSizes(void* window);

std::vector<SystemMenuItem> SystemMenu(void* window);
// What choosing the item from the open menu sends.
void SendSystemCommand(void* window, unsigned id);
// Activates the window, runs `gesture` and handles messages until a menu of
// the thread opens, which it then closes; false when none opened in time.
bool MenuOpensOn(void* window, const std::function<void()>& gesture, std::chrono::milliseconds timeout);

// The message boxes of the thread on the screen: the system's (modal) and the
// backend's boxes for other threads.
struct BoxLook {
  void* window = nullptr;
  VisibleMessageBox seen;
};
std::vector<BoxLook> MessageBoxes();
// A left click on the box's OK button; false when it has none.
bool ClickOk(void* box);

// The client area as drawn now, 0x00BBGGRR per pixel, rows from the top.
std::vector<std::uint32_t> ClientPixels(void* window, int& width, int& height);

}  // namespace driving
