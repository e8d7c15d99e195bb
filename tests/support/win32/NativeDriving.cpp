#include "support/win32/NativeDriving.h"

#include <map>
#include <utility>

#include "framework/win32/Latin1.h"
#include "framework/win32/NativeWindows.h"

namespace driving {

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

void HandleWaitingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
    if (message.message == WM_QUIT) return;
    native::HandleWaitingMessage();
  }
}

bool IsShowing(void* window) { return window != nullptr && IsWindowVisible(Window(window)); }

void* Control(void* window, int id) { return GetDlgItem(Window(window), id); }

bool IsPushButton(void* control) {
  return (SendMessageW(Window(control), WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

void ClickAtCentre(void* control) {
  if (!IsWindowEnabled(GetAncestor(Window(control), GA_ROOT))) return;
  RECT client{};
  GetClientRect(Window(control), &client);
  const LPARAM centre = MAKELPARAM(client.right / 2, client.bottom / 2);
  PostMessageW(Window(control), WM_LBUTTONDOWN, MK_LBUTTON, centre);
  PostMessageW(Window(control), WM_LBUTTONUP, 0, centre);
  HandleWaitingMessages();
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

void PostCloseCommand(void* window) {
  PostMessageW(Window(window), WM_SYSCOMMAND, SC_CLOSE, 0);
  HandleWaitingMessages();
}

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

std::vector<std::uint32_t> ClientPixels(void* window, int& width, int& height) {
  UpdateWindow(Window(window));
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
