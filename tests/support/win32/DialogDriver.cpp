#include "support/DialogDriver.h"

#include <algorithm>
#include <thread>
#include <utility>

#include "framework/MessageBoxDisplay.h"
#include "framework/win32/DialogWindow.h"
#include "framework/win32/Native.h"
#include "support/win32/NativeDriving.h"

// The dialog manager needs nothing of the program's arguments.
struct DrivenWindowSystem::Toolkit {};

DrivenWindowSystem::DrivenWindowSystem(int& /*argc*/, char** /*argv*/) {
  native::InitialiseControls();
  ShowMessageBoxesWithTheToolkit();
}

DrivenWindowSystem::~DrivenWindowSystem() = default;

namespace {

CRect ToRect(const native::Bounds& bounds) { return CRect{bounds.left, bounds.top, bounds.right, bounds.bottom}; }

void* WindowOf(const CDialog& dialog) {
  const auto* window = static_cast<const Win32DialogWindow*>(dialog.GetWindow());
  return window != nullptr ? window->Handle() : nullptr;
}

void* RequireWindow(const CDialog& dialog) {
  void* window = WindowOf(dialog);
  if (window == nullptr) ReportDriverFailure("the dialog has no window");
  return window;
}

void* RequireControl(const CDialog& dialog, int id) {
  void* window = WindowOf(dialog);
  void* control = window != nullptr ? driving::Control(window, id) : nullptr;
  if (control == nullptr) ReportDriverFailure("no control " + std::to_string(id) + " in the dialog's window");
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
    ReportDriverFailure("the modal dialog was still open after " + std::to_string(timeout.count()) + " ms");
    dialog.EndDialog(kModalTimedOut);
  });
  return dialog.DoModal();
}

bool ProcessEventsUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    driving::HandleMessagesBriefly();
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

void PostToWindowThread(std::function<void()> action, std::chrono::milliseconds delay) {
  driving::RunOnce(delay, std::move(action));
}

// A box of the window thread's runs its loop inside the innermost dialog's,
// and is on top while it does.
CDialog* ActiveModalDialog() {
  void* window = native::Dialog::InnermostModal();
  if (window == nullptr) return nullptr;
  for (const driving::BoxLook& box : driving::MessageBoxes()) {
    if (box.seen.modal) return nullptr;
  }
  Win32DialogWindow* dialogWindow = Win32DialogWindow::FromHandle(window);
  return dialogWindow != nullptr ? &dialogWindow->Dialog() : nullptr;
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

void RightClick(const CDialog& dialog, int x, int y) {
  if (void* window = RequireWindow(dialog)) driving::RightClick(window, x, y);
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

void PressKeyAtTheFocus(Key key) {
  if (void* focus = driving::Focus()) driving::PressKey(focus, ToVirtualKey(key), key == Key::AltSpace);
}

void ClickCloseBox(const CDialog& dialog) {
  void* window = RequireWindow(dialog);
  if (window != nullptr && !driving::ClickCloseBox(window)) ReportDriverFailure("the dialog's window has no close box");
}

bool IsShown(const CDialog& dialog) { return driving::IsShowing(WindowOf(dialog)); }

bool IsOwnedBy(const CDialog& dialog, const CDialog& owner) {
  void* window = WindowOf(dialog);
  return window != nullptr && WindowOf(owner) != nullptr && driving::Owner(window) == WindowOf(owner);
}

int FocusedControlId(const CDialog& dialog) {
  void* window = WindowOf(dialog);
  return window != nullptr ? driving::FocusedControlId(window) : 0;
}

int ControlIdAt(const CDialog& dialog, int x, int y) {
  void* window = RequireWindow(dialog);
  return window != nullptr ? driving::ControlIdAt(window, x, y) : 0;
}

std::string SelectedText(const CDialog& dialog, int id) {
  void* control = RequireControl(dialog, id);
  return control != nullptr ? driving::SelectedText(control) : std::string();
}

CRect ControlRect(const CDialog& dialog, int id) {
  void* control = RequireControl(dialog, id);
  if (control == nullptr) return CRect{};
  return ToRect(driving::ControlBounds(WindowOf(dialog), control));
}

ScreenPlace PlaceOnScreen(const CDialog& dialog) {
  void* window = RequireWindow(dialog);
  if (window == nullptr) return {};
  const native::Bounds frame = driving::FrameOf(window);
  return ScreenPlace{ToRect(frame), ToRect(native::WorkAreaAt(frame))};
}

std::vector<std::string> ControlTexts(const CDialog& dialog) {
  void* window = RequireWindow(dialog);
  return window != nullptr ? driving::ControlTexts(window) : std::vector<std::string>{};
}

BuiltControl InspectControl(const CDialog& dialog, int id) {
  void* control = RequireControl(dialog, id);
  if (control == nullptr) return {};
  const std::optional<BuiltControl> look = driving::LookOf(control);
  if (!look) ReportDriverFailure("control " + std::to_string(id) + " is of no kind a template names");
  return look.value_or(BuiltControl{});
}

FontFacts DialogFont(const CDialog& dialog) {
  void* window = RequireWindow(dialog);
  return window != nullptr ? driving::WindowFont(window) : FontFacts{};
}

int TextWidth(const CDialog& dialog, std::string_view text) {
  void* window = RequireWindow(dialog);
  return window != nullptr ? driving::TextWidth(window, text) : 0;
}

std::vector<int> WindowIconSizes(const CDialog& dialog) {
  std::vector<int> sizes;
  if (void* window = RequireWindow(dialog)) {
    for (const native::Extent& size : driving::IconSizes(window)) {
      if (size.x != size.y) ReportDriverFailure("an icon image is not square");
      sizes.push_back(size.x);
    }
  }
  return sizes;
}

std::vector<SystemMenuItem> SystemMenuItems(const CDialog& dialog) {
  void* window = RequireWindow(dialog);
  return window != nullptr ? driving::SystemMenu(window) : std::vector<SystemMenuItem>{};
}

void ChooseSystemMenuItem(const CDialog& dialog, unsigned id) {
  if (void* window = RequireWindow(dialog)) {
    for (const SystemMenuItem& item : driving::SystemMenu(window)) {
      if (!item.separator && item.id == id) {
        driving::SendSystemCommand(window, id);
        return;
      }
    }
  }
  ReportDriverFailure("the system menu has no item " + std::to_string(id));
}

bool SystemMenuOpensOn(const CDialog& dialog, const std::function<void()>& gesture) {
  void* window = RequireWindow(dialog);
  return window != nullptr && driving::MenuOpensOn(window, gesture, 5s);
}

std::vector<VisibleMessageBox> VisibleMessageBoxes() {
  std::vector<VisibleMessageBox> boxes;
  for (const driving::BoxLook& box : driving::MessageBoxes()) {
    boxes.push_back(box.seen);
  }
  return boxes;
}

bool AnswerMessageBox() {
  const std::vector<driving::BoxLook> boxes = driving::MessageBoxes();
  if (boxes.empty()) return false;
  const auto modal = std::find_if(boxes.begin(), boxes.end(), [](const driving::BoxLook& box) { return box.seen.modal; });
  void* box = modal != boxes.end() ? modal->window : boxes.front().window;
  if (!driving::ClickOk(box)) {
    ReportDriverFailure("the message box has no OK button");
    return false;
  }
  return true;
}

ClientPicture GrabClient(const CDialog& dialog) {
  ClientPicture picture;
  void* window = WindowOf(dialog);
  if (window == nullptr) return picture;
  picture.pixels = driving::ClientPixels(window, picture.width, picture.height);
  return picture;
}
