#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "framework/ModalLoops.h"
#include "framework/dialog/RadioGroups.h"
#include "framework/win32/native/DialogTemplateBytes.h"
#include "framework/win32/native/IconHandles.h"
#include "framework/win32/native/Latin1.h"
#include "framework/win32/Native.h"

namespace native {

namespace {

// Commands of the system's own below this; the dialogs' items take ids under it.
constexpr WPARAM kFirstSystemCommand = 0xF000;
// The low four bits of a system command are the system's own.
constexpr WPARAM kSystemCommandMask = 0xFFF0;

std::vector<HWND>& ModalDialogs() {
  static std::vector<HWND> running;
  return running;
}

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// +1 for the keys that move to the next control, -1 for the previous; 0 for
// other keys.
int ArrowStep(WPARAM key) {
  if (key == VK_DOWN || key == VK_RIGHT) return +1;
  if (key == VK_UP || key == VK_LEFT) return -1;
  return 0;
}

UINT_PTR TimerIdOf(int id) { return static_cast<UINT_PTR>(static_cast<unsigned>(id)); }

// The window whose close box the system is tracking a click on, while it
// does: the close command it sends then is the close box's, not the menu's.
HWND closeBoxPressedOn = nullptr;

// The menu holds Close and what the program appends: moving and sizing are
// the window manager's business, not the dialog's.
void KeepOnlyCloseInSystemMenu(HWND window) {
  const HMENU menu = GetSystemMenu(window, FALSE);
  for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) {
    if (GetMenuItemID(menu, static_cast<UINT>(i)) != SC_CLOSE) DeleteMenu(menu, static_cast<UINT>(i), MF_BYPOSITION);
  }
}

// The system opens the window's menu on a right-click on the caption only;
// the dialog opens it on a right-click on its background too.
void OpenSystemMenu(HWND window, LPARAM screenPoint) {
  POINT at{static_cast<short>(LOWORD(screenPoint)), static_cast<short>(HIWORD(screenPoint))};
  if (screenPoint == -1) {
    at = POINT{0, 0};
    ClientToScreen(window, &at);
  }
  const UINT chosen = static_cast<UINT>(TrackPopupMenu(GetSystemMenu(window, FALSE),
                                                       TPM_RETURNCMD | TPM_LEFTBUTTON | TPM_RIGHTBUTTON, at.x, at.y, 0,
                                                       window, nullptr));
  if (chosen != 0) PostMessageW(window, WM_SYSCOMMAND, chosen, 0);
}

std::function<bool(std::size_t)> IsCheckedAt(const Dialog& dialog, const DialogTemplate& dialogTemplate) {
  return [&](std::size_t i) { return dialog.IsButtonChecked(dialogTemplate.controls[i].id); };
}

void ApplyRadioGroupTabStop(Dialog& dialog, const DialogTemplate& dialogTemplate, const RadioGroupTabStop& placed) {
  for (std::size_t i : placed.group) dialog.SetTabStop(dialogTemplate.controls[i].id, i == placed.tabStop);
}

}  // namespace

struct Dialog::State {
  State(const DialogTemplate& dialogTemplate, DialogEvents& events) : dialogTemplate(dialogTemplate), events(events) {}

  // By the template's first control with the id, as ids may repeat
  // (IDC_STATIC above all), which the system's look-up by id would not tell
  // apart.
  HWND Control(int id) const {
    const auto index = IndexOfControl(dialogTemplate, id);
    return index && *index < controls.size() ? controls[*index] : nullptr;
  }
  // As the dialog manager moves the focus; held while the dialog is hidden.
  void FocusOn(HWND control);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Paint();

  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK FrameProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR);
  static LRESULT CALLBACK RadioProcedure(HWND radio, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR data);

  const DialogTemplate& dialogTemplate;
  DialogEvents& events;
  HWND window = nullptr;
  std::vector<HWND> controls;  // in creation order, which is the order of the window's children
  // Focus asked for while hidden: given when the dialog shows, since focus
  // on a hidden window would activate it.
  HWND pendingFocus = nullptr;
  std::set<int> timers;
  bool ended = false;
  bool ownerDisabled = false;
  int result = 0;
};

INT_PTR CALLBACK Dialog::State::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    // The framework places the focus once the program has filled the controls.
    return FALSE;
  }
  auto* state = reinterpret_cast<State*>(GetWindowLongPtrW(window, DWLP_USER));
  return state != nullptr ? state->Handle(message, wParam, lParam) : FALSE;
}

INT_PTR Dialog::State::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (HIWORD(wParam) == BN_CLICKED) {
        events.Clicked(id);
      } else if (HIWORD(wParam) == EN_CHANGE) {
        events.EditChanged(id);
      }
      return TRUE;
    }
    case WM_TIMER: {
      const int id = static_cast<int>(wParam);
      if (timers.contains(id)) events.TimerFired(id);
      return TRUE;
    }
    // The system's own modal loops: choosing from a menu, moving or sizing
    // the window.
    case WM_ENTERMENULOOP:
    case WM_ENTERSIZEMOVE:
      ModalLoopBegan();
      return FALSE;
    case WM_EXITMENULOOP:
    case WM_EXITSIZEMOVE:
      ModalLoopEnded();
      return FALSE;
    case WM_PAINT:
      Paint();
      return TRUE;
    // Moved to a monitor of another scale: the window takes the size the
    // system suggests, the dialog manager scales its font and controls (the
    // default handling, for dialogs aware of each monitor), and what the
    // program draws is drawn again at the new scale.
    case WM_DPICHANGED: {
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      InvalidateRect(window, nullptr, TRUE);
      return FALSE;
    }
    case WM_SYSCOMMAND:
      // Only EndDialog closes the window: the close box asks the dialog as
      // Escape does, the menu's Close as its other items do.
      if ((wParam & kSystemCommandMask) == SC_CLOSE) {
        if (closeBoxPressedOn == window) {
          events.Clicked(IDCANCEL);
        } else {
          events.SystemCommand(SC_CLOSE);
        }
        return TRUE;
      }
      if (wParam < kFirstSystemCommand) {
        events.SystemCommand(static_cast<unsigned>(wParam));
        return TRUE;
      }
      return FALSE;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) != window) return FALSE;
      OpenSystemMenu(window, lParam);
      return TRUE;
    default:
      return FALSE;
  }
}

// The system tracks a click on the close box inside this call and sends the
// close command before it returns. The dialog may be gone by then, so the
// mark is kept outside it.
LRESULT CALLBACK Dialog::State::FrameProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                               DWORD_PTR) {
  switch (message) {
    case WM_NCLBUTTONDOWN:
      if (wParam == HTCLOSE) {
        const HWND outer = std::exchange(closeBoxPressedOn, dialog);
        const LRESULT result = DefSubclassProc(dialog, message, wParam, lParam);
        closeBoxPressedOn = outer;
        return result;
      }
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(dialog, &FrameProcedure, 0);
      break;
    default:
      break;
  }
  return DefSubclassProc(dialog, message, wParam, lParam);
}

void Dialog::State::Paint() {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(window, &paint);
  {
    Painter painter(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
    events.Paint(painter);
  }
  EndPaint(window, &paint);
}

// The dialog manager would move the focus to whatever control comes next in
// the group, labels included, and choose nothing; the radio button takes the
// arrows itself and lets the dialog choose within the group.
// The claim is made only when the dialog manager asks about an arrow key: the
// button's own code asks too, and must go on seeing a plain radio button.
LRESULT CALLBACK Dialog::State::RadioProcedure(HWND radio, UINT message, WPARAM wParam, LPARAM lParam,
                                               UINT_PTR, DWORD_PTR data) {
  switch (message) {
    case WM_GETDLGCODE: {
      const auto* asked = reinterpret_cast<const MSG*>(lParam);
      const LRESULT code = DefSubclassProc(radio, message, wParam, lParam);
      return asked != nullptr && asked->message == WM_KEYDOWN && ArrowStep(asked->wParam) != 0
                 ? code | DLGC_WANTARROWS
                 : code;
    }
    case WM_KEYDOWN:
      if (const int step = ArrowStep(wParam)) {
        reinterpret_cast<State*>(data)->events.RadioArrow(GetDlgCtrlID(radio), step);
        return 0;
      }
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(radio, &RadioProcedure, 0);
      break;
    default:
      break;
  }
  return DefSubclassProc(radio, message, wParam, lParam);
}

Dialog::Dialog(const DialogTemplate& dialogTemplate, const Dialog* owner, DialogEvents& events)
    : state_(std::make_unique<State>(dialogTemplate, events)) {
  const std::vector<std::uint16_t> words = DialogTemplateWords(dialogTemplate);
  state_->window = CreateDialogIndirectParamW(
      GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(words.data()),
      owner != nullptr ? owner->state_->window : nullptr, &State::Procedure, reinterpret_cast<LPARAM>(state_.get()));
  if (state_->window == nullptr) return;
  SetWindowSubclass(state_->window, &State::FrameProcedure, 0, 0);
  KeepOnlyCloseInSystemMenu(state_->window);
  for (HWND child = GetWindow(state_->window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    state_->controls.push_back(child);
  }
  for (std::size_t i = 0; i < dialogTemplate.controls.size() && i < state_->controls.size(); ++i) {
    const ControlTemplate& control = dialogTemplate.controls[i];
    const HWND window = state_->controls[i];
    if (control.kind == ControlKind::RadioButton) {
      SetWindowSubclass(window, &State::RadioProcedure, 0, reinterpret_cast<DWORD_PTR>(state_.get()));
    } else if (control.kind == ControlKind::Icon) {
      // The control takes the icon's size, whatever the template says.
      if (const IconResource* icon = FindIconResource(control.resourceId)) {
        SendMessageW(window, STM_SETICON, reinterpret_cast<WPARAM>(IconHandle(*icon, LargeIconSize().x)), 0);
      }
    }
  }
  for (const RadioGroupTabStop& placed :
       PlaceEveryRadioGroupTabStop(dialogTemplate, IsCheckedAt(*this, dialogTemplate))) {
    ApplyRadioGroupTabStop(*this, dialogTemplate, placed);
  }
}

Dialog::~Dialog() {
  if (state_->window != nullptr) DestroyWindow(state_->window);
}

// The system's DialogBox would run this same loop, but it makes the window
// and runs the loop in one call; the framework needs the controls between
// the two, to fill them in OnInitDialog.
int Dialog::RunModal() {
  State& state = *state_;
  if (state.ended) return state.result;
  const HWND owner = GetWindow(state.window, GW_OWNER);
  state.ownerDisabled = owner != nullptr && IsWindowEnabled(owner);
  if (state.ownerDisabled) EnableWindow(owner, FALSE);
  ModalDialogs().push_back(state.window);
  Show();
  while (!state.ended) {
    if (!WaitAndHandleMessage()) End(IDCANCEL);
  }
  ModalDialogs().pop_back();
  return state.result;
}

void Dialog::Show() {
  ShowWindow(state_->window, SW_SHOW);
  if (state_->pendingFocus != nullptr) {
    SendMessageW(state_->window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(state_->pendingFocus), TRUE);
    state_->pendingFocus = nullptr;
  }
}

// The owner comes back before the dialog goes, so that the activation falls
// to it and not to another program's window.
void Dialog::End(int result) {
  State& state = *state_;
  state.result = result;
  state.ended = true;
  if (state.ownerDisabled) {
    EnableWindow(GetWindow(state.window, GW_OWNER), TRUE);
    state.ownerDisabled = false;
  }
  ShowWindow(state.window, SW_HIDE);
}

void Dialog::SetTitle(std::string_view text) { SetWindowTextW(state_->window, Widen(text).c_str()); }

std::string Dialog::Title() const { return Narrow(TextOf(state_->window)); }

// The tick writes every control twice in 100 ms, nearly always with the text
// it already shows: setting it again would repaint each one each time, a
// flicker.
void Dialog::SetControlText(int id, std::string_view text) {
  const HWND control = state_->Control(id);
  if (control == nullptr) return;
  const std::wstring wide = Widen(text);
  if (TextOf(control) != wide) SetWindowTextW(control, wide.c_str());
}

// A label shows its '&' as a mnemonic marker unless it says otherwise, and
// "&&" as one '&': its text is what it shows.
std::string Dialog::ControlText(int id) const {
  const HWND control = state_->Control(id);
  if (control == nullptr) return std::string();
  const std::wstring text = TextOf(control);
  const auto index = IndexOfControl(state_->dialogTemplate, id);
  const ControlTemplate& made = state_->dialogTemplate.controls[*index];
  if (made.kind != ControlKind::Label || (made.style & ControlStyle::NoPrefix) != 0) return Narrow(text);
  std::wstring shown;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&' && i + 1 < text.size()) ++i;
    shown.push_back(text[i]);
  }
  return Narrow(shown);
}

// A radio button given its check sets its own style as well, a costly change
// (under Wine the tick's writes took up to 80 ms, 3 ms without the repeats):
// only a change is passed on, here and in the tab stops.
void Dialog::CheckButton(int id, bool checked) {
  const HWND control = state_->Control(id);
  const WPARAM state = checked ? BST_CHECKED : BST_UNCHECKED;
  if (control != nullptr && static_cast<WPARAM>(SendMessageW(control, BM_GETCHECK, 0, 0)) != state) {
    SendMessageW(control, BM_SETCHECK, state, 0);
  }
  const DialogTemplate& dialogTemplate = state_->dialogTemplate;
  const auto index = IndexOfControl(dialogTemplate, id);
  if (index && dialogTemplate.controls[*index].kind == ControlKind::RadioButton) {
    ApplyRadioGroupTabStop(*this, dialogTemplate,
                           PlaceRadioGroupTabStop(dialogTemplate, *index, IsCheckedAt(*this, dialogTemplate)));
  }
}


bool Dialog::IsButtonChecked(int id) const {
  const HWND control = state_->Control(id);
  return control != nullptr && SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Dialog::SetTabStop(int id, bool tabStop) {
  const HWND control = state_->Control(id);
  if (control == nullptr) return;
  const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
  const LONG_PTR wanted = tabStop ? (style | WS_TABSTOP) : (style & ~LONG_PTR{WS_TABSTOP});
  if (wanted != style) SetWindowLongPtrW(control, GWL_STYLE, wanted);
}

void Dialog::State::FocusOn(HWND control) {
  if (control == nullptr) return;
  if (IsWindowVisible(window)) {
    SendMessageW(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
  } else {
    pendingFocus = control;
  }
}

void Dialog::FocusControl(int id) { state_->FocusOn(state_->Control(id)); }

// The template's first tab stop: the stops the dialog gives radio groups of
// its own, so Tab can reach them, do not take the first focus.
void Dialog::FocusFirstTabStop() {
  const auto& controls = state_->dialogTemplate.controls;
  for (std::size_t i = 0; i < controls.size() && i < state_->controls.size(); ++i) {
    const HWND control = state_->controls[i];
    if ((controls[i].style & ControlStyle::TabStop) != 0 && IsWindowEnabled(control) &&
        (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0) {
      state_->FocusOn(control);
      return;
    }
  }
}

void Dialog::Click(int id) {
  if (const HWND control = state_->Control(id)) SendMessageW(control, BM_CLICK, 0, 0);
}

// The edit's own limit holds back typing only, never the program's texts.
void Dialog::LimitText(int id, int maxChars) {
  if (const HWND control = state_->Control(id)) SendMessageW(control, EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
}

void Dialog::SetTimer(int id, unsigned periodMs) {
  if (::SetTimer(state_->window, TimerIdOf(id), periodMs, nullptr) != 0) state_->timers.insert(id);
}

void Dialog::KillTimer(int id) {
  ::KillTimer(state_->window, TimerIdOf(id));
  state_->timers.erase(id);
}

bool Dialog::IsTimerRunning(int id) const { return state_->timers.contains(id); }

void Dialog::Invalidate(const CRect& bounds, bool erase) {
  const RECT rect{bounds.left, bounds.top, bounds.right, bounds.bottom};
  InvalidateRect(state_->window, &rect, erase);
}

void Dialog::InvalidateAll(bool erase) { InvalidateRect(state_->window, nullptr, erase); }

void Dialog::PaintInvalidNow() { UpdateWindow(state_->window); }

CRect Dialog::ClientRect() const {
  RECT client{};
  GetClientRect(state_->window, &client);
  return CRect{client.left, client.top, client.right, client.bottom};
}

CRect Dialog::Frame() const {
  RECT frame{};
  GetWindowRect(state_->window, &frame);
  return CRect{frame.left, frame.top, frame.right, frame.bottom};
}

CRect Dialog::WorkAreaAt(const CRect& frame) const {
  const Bounds area = native::WorkAreaAt(Bounds{frame.left, frame.top, frame.right, frame.bottom});
  return CRect{area.left, area.top, area.right, area.bottom};
}

void Dialog::MoveFrameTo(int left, int top) {
  SetWindowPos(state_->window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Dialog::IsMinimized() const { return IsIconic(state_->window) != FALSE; }

void Dialog::SetIcon(const IconResource& icon, bool big) {
  const int size = big ? LargeIconSize().x : SmallIconSize().x;
  SendMessageW(state_->window, WM_SETICON, big ? ICON_BIG : ICON_SMALL,
               reinterpret_cast<LPARAM>(IconHandle(icon, size)));
}

void Dialog::AppendSystemMenuSeparator() {
  AppendMenuW(GetSystemMenu(state_->window, FALSE), MF_SEPARATOR, 0, nullptr);
}

void Dialog::AppendSystemMenuItem(unsigned commandId, std::string_view text) {
  AppendMenuW(GetSystemMenu(state_->window, FALSE), MF_STRING, commandId, Widen(text).c_str());
}

DialogBaseUnits Dialog::BaseUnits() const {
  RECT units{0, 0, 4, 8};
  MapDialogRect(state_->window, &units);
  return DialogBaseUnits{units.right, units.bottom};
}

void* Dialog::Handle() const { return state_->window; }

DialogEvents* Dialog::EventsOf(void* handle) {
  const HWND window = static_cast<HWND>(handle);
  if (window == nullptr || GetWindowLongPtrW(window, DWLP_DLGPROC) != reinterpret_cast<LONG_PTR>(&State::Procedure)) {
    return nullptr;
  }
  const auto* state = reinterpret_cast<const State*>(GetWindowLongPtrW(window, DWLP_USER));
  return state != nullptr ? &state->events : nullptr;
}

void* Dialog::InnermostModal() { return ModalDialogs().empty() ? nullptr : ModalDialogs().back(); }

}  // namespace native
