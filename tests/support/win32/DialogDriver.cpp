#include "support/DialogDriver.h"

#include <gtest/gtest.h>

#include <thread>

#include "framework/win32/DialogWindow.h"
#include "support/win32/NativeDriving.h"

namespace {

void* WindowOf(const CDialog& dialog) {
  const auto* window = static_cast<const Win32DialogWindow*>(dialog.GetWindow());
  return window != nullptr ? window->Native().Handle() : nullptr;
}

void* RequireControl(const CDialog& dialog, int id) {
  void* window = WindowOf(dialog);
  void* control = window != nullptr ? driving::Control(window, id) : nullptr;
  if (control == nullptr) ADD_FAILURE() << "no control " << id << " in the dialog's window";
  return control;
}

driving::VirtualKey ToVirtualKey(Key key) {
  switch (key) {
    case Key::Enter:
      return driving::VirtualKey::Return;
    case Key::Escape:
      return driving::VirtualKey::Escape;
    case Key::Tab:
      return driving::VirtualKey::Tab;
    case Key::AltSpace:
      return driving::VirtualKey::Space;
    case Key::Backspace:
      return driving::VirtualKey::Back;
    case Key::End:
      return driving::VirtualKey::End;
    case Key::Up:
      return driving::VirtualKey::Up;
    case Key::Down:
      return driving::VirtualKey::Down;
  }
  return driving::VirtualKey::Escape;
}

}  // namespace

int RunModal(CDialog& dialog, std::function<void()> script, std::chrono::milliseconds timeout) {
  // Polls until the window shows, so the script sees the dialog as the user
  // would, with OnInitDialog done. Each timer stops itself before it acts, as
  // the script may run message loops of its own.
  driving::ThreadTimer starter(1ms, [&] {
    if (!driving::IsShowing(WindowOf(dialog))) return;
    starter.Stop();
    if (script) script();
  });
  driving::ThreadTimer watchdog(timeout, [&] {
    watchdog.Stop();
    ADD_FAILURE() << "the modal dialog was still open after " << timeout.count() << " ms";
    dialog.EndDialog(kModalTimedOut);
  });
  return dialog.DoModal();
}

bool ProcessEventsUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    driving::HandleWaitingMessages();
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

void ProcessEventsFor(std::chrono::milliseconds duration) {
  const auto deadline = std::chrono::steady_clock::now() + duration;
  while (std::chrono::steady_clock::now() < deadline) {
    driving::HandleWaitingMessages();
    std::this_thread::sleep_for(1ms);
  }
}

void ClickControl(const CDialog& dialog, int id) {
  void* control = RequireControl(dialog, id);
  if (control == nullptr) return;
  if (driving::IsPushButton(control)) {
    driving::ClickAtCentre(control);
  } else {
    driving::ClickButton(control);
  }
}

void TypeText(const CDialog& dialog, int id, std::string_view text) {
  void* control = RequireControl(dialog, id);
  if (control == nullptr) return;
  driving::Focus(control);
  for (char c : text) driving::TypeCharacter(control, c);
}

void ReplaceText(const CDialog& dialog, int id, std::string_view text) {
  if (void* control = RequireControl(dialog, id)) {
    driving::Focus(control);
    driving::SelectAll(control);
    if (text.empty()) driving::PressKey(control, driving::VirtualKey::Delete, false);
  }
  TypeText(dialog, id, text);
}

void PressKey(const CDialog& dialog, Key key) {
  void* window = WindowOf(dialog);
  if (window == nullptr) return;
  driving::PressKey(driving::FocusedIn(window), ToVirtualKey(key), key == Key::AltSpace);
}

void ClickCloseBox(const CDialog& dialog) {
  if (void* window = WindowOf(dialog)) driving::PostCloseCommand(window);
}

int FocusedControlId(const CDialog& dialog) {
  void* window = WindowOf(dialog);
  return window != nullptr ? driving::FocusedControlId(window) : 0;
}

std::string SelectedText(const CDialog& dialog, int id) {
  void* control = RequireControl(dialog, id);
  return control != nullptr ? driving::SelectedText(control) : std::string();
}

CRect ControlRect(const CDialog& dialog, int id) {
  void* control = RequireControl(dialog, id);
  if (control == nullptr) return CRect{};
  const native::Bounds place = driving::ControlBounds(WindowOf(dialog), control);
  return CRect{place.left, place.top, place.right, place.bottom};
}

ClientPicture GrabClient(const CDialog& dialog) {
  ClientPicture picture;
  void* window = WindowOf(dialog);
  if (window == nullptr) return picture;
  picture.pixels = driving::ClientPixels(window, picture.width, picture.height);
  return picture;
}
