#include "support/win32/NativeDriving.h"

#include <algorithm>
#include <map>
#include <thread>
#include <utility>

#include "framework/win32/native/DialogFont.h"
#include "framework/win32/native/Latin1.h"
#include "framework/win32/native/NativeWindows.h"

namespace driving {

using namespace std::chrono_literals;

namespace {

HWND Window(void* handle) { return static_cast<HWND>(handle); }

std::map<UINT_PTR, std::function<void()>>& Ticks() {
  static std::map<UINT_PTR, std::function<void()>> ticks;
  return ticks;
}

void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
  const auto found = Ticks().find(id);
  if (found == Ticks().end()) return;
  // A copy: the tick may stop its own timer.
  const std::function<void()> tick = found->second;
  tick();
}

std::map<UINT_PTR, std::function<void()>>& Actions() {
  static std::map<UINT_PTR, std::function<void()>> actions;
  return actions;
}

void CALLBACK RunAction(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  const auto found = Actions().find(id);
  if (found == Actions().end()) return;
  const std::function<void()> action = std::move(found->second);
  Actions().erase(found);
  action();
}

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

std::vector<HWND> Children(HWND window) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

std::vector<HWND> ThreadWindows() {
  std::vector<HWND> windows;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM list) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// The window class of menus that are open.
bool IsOpenMenu(HWND window) { return IsWindowVisible(window) && ClassOf(window) == L"#32768"; }

// The framework's dialogs are dialog windows too, but no boxes.
bool IsMessageBox(HWND window) {
  return IsWindowVisible(window) && ClassOf(window) == L"#32770" && native::Dialog::EventsOf(window) == nullptr;
}

void PostClick(HWND target, POINT at, UINT down, UINT up, WPARAM buttonDown) {
  const LPARAM where = MAKELPARAM(at.x, at.y);
  PostMessageW(target, down, buttonDown, where);
  PostMessageW(target, up, 0, where);
  HandleWaitingMessages();
}

// The button styles a template can name, as the kinds they make.
struct ButtonType {
  DWORD style;
  ControlKind kind;
  bool threeState;
};
constexpr ButtonType kButtonTypes[] = {
    {BS_PUSHBUTTON, ControlKind::PushButton, false},   {BS_DEFPUSHBUTTON, ControlKind::DefPushButton, false},
    {BS_CHECKBOX, ControlKind::CheckBox, false},       {BS_AUTOCHECKBOX, ControlKind::CheckBox, false},
    {BS_3STATE, ControlKind::CheckBox, true},          {BS_AUTO3STATE, ControlKind::CheckBox, true},
    {BS_RADIOBUTTON, ControlKind::RadioButton, false}, {BS_AUTORADIOBUTTON, ControlKind::RadioButton, false},
    {BS_GROUPBOX, ControlKind::GroupBox, false},
};

constexpr std::pair<VirtualKey, WPARAM> kVirtualKeys[] = {
    {VirtualKey::Return, VK_RETURN}, {VirtualKey::Escape, VK_ESCAPE}, {VirtualKey::Tab, VK_TAB},
    {VirtualKey::Space, VK_SPACE},   {VirtualKey::Back, VK_BACK},     {VirtualKey::Delete, VK_DELETE},
    {VirtualKey::End, VK_END},
    {VirtualKey::Up, VK_UP},         {VirtualKey::Down, VK_DOWN},
};

WPARAM CodeOf(VirtualKey key) {
  for (const auto& [virtualKey, code] : kVirtualKeys) {
    if (virtualKey == key) return code;
  }
  return 0;
}

// The key's scan code and repeat count in lParam, and the context bit for Alt.
LPARAM KeyData(WPARAM code, bool alt, bool up) {
  LPARAM data = 1 | (static_cast<LPARAM>(MapVirtualKeyW(static_cast<UINT>(code), MAPVK_VK_TO_VSC)) << 16);
  if (alt) data |= LPARAM{1} << 29;
  if (up) data |= (LPARAM{1} << 30) | (LPARAM{1} << 31);
  return data;
}

}  // namespace

ThreadTimer::ThreadTimer(std::chrono::milliseconds period, std::function<void()> tick)
    : id_(SetTimer(nullptr, 0, static_cast<UINT>(period.count()), &Tick)) {
  Ticks()[id_] = std::move(tick);
}

ThreadTimer::~ThreadTimer() { Stop(); }

void ThreadTimer::Stop() {
  if (Ticks().erase(id_) != 0) KillTimer(nullptr, id_);
}

void RunOnce(std::chrono::milliseconds delay, std::function<void()> action) {
  const UINT_PTR id = SetTimer(nullptr, 0, static_cast<UINT>(delay.count()), &RunAction);
  if (id != 0) Actions()[id] = std::move(action);
}

void HandleWaitingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
    if (message.message == WM_QUIT) return;
    native::HandleWaitingMessage();
  }
}

// Timers and wake-ups keep coming, so a caller that polls between calls would
// otherwise miss the states they pass through.
void HandleMessagesBriefly() {
  const auto deadline = std::chrono::steady_clock::now() + 5ms;
  MSG message;
  while (std::chrono::steady_clock::now() < deadline && PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
    if (message.message == WM_QUIT) return;
    native::HandleWaitingMessage();
  }
}

bool IsShowing(void* window) { return window != nullptr && IsWindowVisible(Window(window)); }

bool IsEnabled(void* window) { return window != nullptr && IsWindowEnabled(Window(window)); }

void* Owner(void* window) { return window != nullptr ? GetWindow(Window(window), GW_OWNER) : nullptr; }

void* Control(void* window, int id) { return GetDlgItem(Window(window), id); }

bool IsPushButton(void* control) {
  return (SendMessageW(Window(control), WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

void ClickAtCentre(void* control) {
  if (!IsWindowEnabled(GetAncestor(Window(control), GA_ROOT))) return;
  RECT client{};
  GetClientRect(Window(control), &client);
  PostClick(Window(control), POINT{client.right / 2, client.bottom / 2}, WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON);
}

void ClickButton(void* control) { SendMessageW(Window(control), BM_CLICK, 0, 0); }

void Focus(void* control) { SetFocus(Window(control)); }

void SelectAll(void* control) { SendMessageW(Window(control), EM_SETSEL, 0, -1); }

void TypeCharacter(void* control, char c) {
  PostMessageW(Window(control), WM_CHAR, Widen(std::string_view(&c, 1)).front(), 1);
  HandleWaitingMessages();
}

void PressKey(void* target, VirtualKey key, bool alt) {
  const WPARAM code = CodeOf(key);
  PostMessageW(Window(target), alt ? WM_SYSKEYDOWN : WM_KEYDOWN, code, KeyData(code, alt, false));
  PostMessageW(Window(target), alt ? WM_SYSKEYUP : WM_KEYUP, code, KeyData(code, alt, true));
  HandleWaitingMessages();
}

// The system tracks the button from the press on and takes the next release
// as the click's end. The window manager's close reaches a window that a box
// of its own disables, as the task bar's does.
bool ClickCloseBox(void* window) {
  const HWND frame = Window(window);
  RECT bounds{};
  GetWindowRect(frame, &bounds);
  const auto isCloseBox = [&](int x, int y) {
    return SendMessageW(frame, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE;
  };
  for (int y = bounds.top; y < bounds.bottom && y < bounds.top + 100; ++y) {
    for (int x = bounds.right - 1; x >= bounds.left && x > bounds.right - 100; --x) {
      if (!isCloseBox(x, y)) continue;
      int left = x;
      while (left > bounds.left && isCloseBox(left - 1, y)) --left;
      int bottom = y;
      while (bottom + 1 < bounds.bottom && isCloseBox(x, bottom + 1)) ++bottom;
      const POINT centre{(left + x) / 2, (y + bottom) / 2};
      POINT client = centre;
      ScreenToClient(frame, &client);
      PostMessageW(frame, WM_NCLBUTTONDOWN, HTCLOSE, MAKELPARAM(centre.x, centre.y));
      PostMessageW(frame, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
      HandleWaitingMessages();
      return true;
    }
  }
  return false;
}

void RightClick(void* window, int x, int y) {
  const HWND frame = Window(window);
  if (!IsWindowEnabled(frame)) return;
  POINT at{x, y};
  HWND target = ChildWindowFromPointEx(frame, at, CWP_SKIPINVISIBLE);
  if (target == nullptr) target = frame;
  MapWindowPoints(frame, target, &at, 1);
  PostClick(target, at, WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON);
}

void* Focus() { return GetFocus(); }

void* FocusedIn(void* window) {
  const HWND focus = GetFocus();
  return focus != nullptr && IsChild(Window(window), focus) ? focus : window;
}

int FocusedControlId(void* window) {
  void* focused = FocusedIn(window);
  return focused != window ? GetDlgCtrlID(Window(focused)) : 0;
}

std::string SelectedText(void* control) {
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(Window(control), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(Window(control))) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(Window(control), text.data(), static_cast<int>(text.size()))));
  return start < end && end <= text.size() ? Narrow(std::wstring_view(text).substr(start, end - start)) : std::string();
}

native::Bounds ControlBounds(void* window, void* control) {
  RECT place{};
  GetWindowRect(Window(control), &place);
  MapWindowPoints(nullptr, Window(window), reinterpret_cast<POINT*>(&place), 2);
  return native::Bounds{place.left, place.top, place.right, place.bottom};
}

native::Bounds FrameOf(void* window) {
  RECT frame{};
  GetWindowRect(Window(window), &frame);
  return native::Bounds{frame.left, frame.top, frame.right, frame.bottom};
}


int ControlIdAt(void* window, int x, int y) {
  const HWND hit = ChildWindowFromPointEx(Window(window), POINT{x, y}, CWP_SKIPINVISIBLE);
  return hit != nullptr && hit != Window(window) ? GetDlgCtrlID(hit) : 0;
}

std::vector<std::string> ControlTexts(void* window) {
  std::vector<std::string> texts;
  for (HWND child : Children(Window(window))) texts.push_back(Narrow(TextOf(child)));
  return texts;
}

std::optional<BuiltControl> LookOf(void* control) {
  const HWND window = Window(control);
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  const auto extendedStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
  const std::wstring windowClass = ClassOf(window);
  BuiltControl look;
  if (_wcsicmp(windowClass.c_str(), L"Button") == 0) {
    const auto type = std::find_if(std::begin(kButtonTypes), std::end(kButtonTypes),
                                   [&](const ButtonType& known) { return known.style == (style & BS_TYPEMASK); });
    if (type == std::end(kButtonTypes)) return std::nullopt;
    look.kind = type->kind;
    look.threeState = type->threeState;
  } else if (_wcsicmp(windowClass.c_str(), L"Edit") == 0) {
    look.kind = ControlKind::Edit;
    // The edit may trade its border for a sunken edge as it is made.
    look.framed = (style & WS_BORDER) != 0 || (extendedStyle & WS_EX_CLIENTEDGE) != 0;
    look.readOnly = (style & ES_READONLY) != 0;
    look.rightAligned = (style & ES_RIGHT) != 0;
  } else if (_wcsicmp(windowClass.c_str(), L"Static") == 0) {
    look.kind = (style & SS_TYPEMASK) == SS_ICON ? ControlKind::Icon : ControlKind::Label;
  } else {
    return std::nullopt;
  }
  return look;
}

namespace {
HFONT FontOf(HWND window) { return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)); }
}  // namespace

FontFacts WindowFont(void* window) {
  FontFacts look;
  const HFONT font = FontOf(Window(window));
  LOGFONTW logical{};
  if (font == nullptr || GetObjectW(font, sizeof(logical), &logical) == 0) return look;
  const DcWithFont dc(Window(window), font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc.Dc(), &metrics);
  const int height = logical.lfHeight < 0 ? -logical.lfHeight : metrics.tmHeight - metrics.tmInternalLeading;
  look.pointSize = MulDiv(height, 72, GetDeviceCaps(dc.Dc(), LOGPIXELSY));
  look.lineHeight = metrics.tmHeight;
  // The bit's name says the opposite of what it means: set for variable pitch.
  look.fixedPitch = (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0;
  return look;
}

int TextWidth(void* window, std::string_view text) {
  const DcWithFont dc(Window(window), FontOf(Window(window)));
  return TextWidthIn(dc.Dc(), Widen(text));
}

std::vector<native::Extent> IconSizes(void* window) {
  std::vector<native::Extent> sizes;
  for (WPARAM which : {ICON_BIG, ICON_SMALL}) {
    const auto icon = reinterpret_cast<HICON>(SendMessageW(Window(window), WM_GETICON, which, 0));
    ICONINFO info{};
    if (icon == nullptr || !GetIconInfo(icon, &info)) continue;
    BITMAP bitmap{};
    if (info.hbmColor != nullptr) {
      GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
      sizes.push_back(native::Extent{bitmap.bmWidth, bitmap.bmHeight});
    } else if (info.hbmMask != nullptr) {
      // A monochrome icon's mask holds the image below its mask.
      GetObjectW(info.hbmMask, sizeof(bitmap), &bitmap);
      sizes.push_back(native::Extent{bitmap.bmWidth, bitmap.bmHeight / 2});
    }
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
  }
  return sizes;
}

std::vector<SystemMenuItem> SystemMenu(void* window) {
  std::vector<SystemMenuItem> items;
  const HMENU menu = GetSystemMenu(Window(window), FALSE);
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    wchar_t text[256] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 255;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    if ((info.fType & MFT_SEPARATOR) != 0) {
      items.push_back(SystemMenuItem{0, {}, true});
    } else {
      items.push_back(SystemMenuItem{info.wID, Narrow(text), false});
    }
  }
  return items;
}

void SendSystemCommand(void* window, unsigned id) {
  PostMessageW(Window(window), WM_SYSCOMMAND, id, 0);
  HandleWaitingMessages();
}

// A menu runs a loop of its own, which goes on dispatching the thread's
// timers: the watch sees the menu from inside it and ends it.
bool MenuOpensOn(void* window, const std::function<void()>& gesture, std::chrono::milliseconds timeout) {
  SetForegroundWindow(Window(window));
  SetActiveWindow(Window(window));
  bool opened = false;
  ThreadTimer watch(5ms, [&] {
    const std::vector<HWND> windows = ThreadWindows();
    if (std::any_of(windows.begin(), windows.end(), IsOpenMenu)) {
      opened = true;
      EndMenu();
    }
  });
  gesture();
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!opened && std::chrono::steady_clock::now() < deadline) {
    HandleMessagesBriefly();
    std::this_thread::sleep_for(1ms);
  }
  watch.Stop();
  return opened;
}

std::vector<BoxLook> MessageBoxes() {
  std::vector<BoxLook> boxes;
  const HICON exclamation = LoadIconW(nullptr, IDI_EXCLAMATION);
  for (HWND box : ThreadWindows()) {
    if (!IsMessageBox(box)) continue;
    BoxLook found{box, {}};
    VisibleMessageBox& look = found.seen;
    look.caption = Narrow(TextOf(box));
    look.modal = !native::IsOtherThreadMessageBox(box);
    int buttons = 0;
    bool ok = false;
    for (HWND child : Children(box)) {
      if (!IsWindowVisible(child)) continue;
      const std::wstring windowClass = ClassOf(child);
      const auto style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
      if (_wcsicmp(windowClass.c_str(), L"Button") == 0) {
        ++buttons;
        ok = ok || GetDlgCtrlID(child) == IDOK;
      } else if (_wcsicmp(windowClass.c_str(), L"Static") == 0) {
        if ((style & SS_TYPEMASK) == SS_ICON) {
          look.exclamationIcon = look.exclamationIcon ||
                                 reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0)) == exclamation;
        } else if (look.text.empty()) {
          look.text = Narrow(TextOf(child));
        }
      }
    }
    look.okButtonOnly = ok && buttons == 1;
    const HWND focus = GetFocus();
    look.holdsTheFocus = focus != nullptr && (focus == box || IsChild(box, focus));
    boxes.push_back(found);
  }
  return boxes;
}

bool ClickOk(void* box) {
  const HWND ok = GetDlgItem(Window(box), IDOK);
  if (ok == nullptr || !IsWindowVisible(ok)) return false;
  ClickAtCentre(ok);
  return true;
}

// All of it drawn afresh, as a picture of the window is taken: what was left
// valid from earlier paints does not show.
std::vector<std::uint32_t> ClientPixels(void* window, int& width, int& height) {
  RedrawWindow(Window(window), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  RECT client{};
  GetClientRect(Window(window), &client);
  width = client.right;
  height = client.bottom;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HDC windowDc = GetDC(Window(window));
  const HDC memoryDc = CreateCompatibleDC(windowDc);
  const HBITMAP bitmap = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ original = SelectObject(memoryDc, bitmap);
  BitBlt(memoryDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
  GdiFlush();
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  const auto* source = static_cast<const std::uint32_t*>(bits);
  // The section holds 0x00RRGGBB; the pictures hold the red in the low byte.
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    const std::uint32_t p = source[i];
    pixels[i] = ((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16);
  }
  SelectObject(memoryDc, original);
  DeleteObject(bitmap);
  DeleteDC(memoryDc);
  ReleaseDC(Window(window), windowDc);
  return pixels;
}

}  // namespace driving
