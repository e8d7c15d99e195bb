#include "framework/win32/Native.h"
#include "framework/win32/native/NativeWindows.h"

namespace {

constexpr UINT kWakeMessage = WM_APP;

using Woken = void (*)();

LRESULT CALLBACK WakeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kWakeMessage) return DefWindowProcW(window, message, wParam, lParam);
  reinterpret_cast<Woken>(GetWindowLongPtrW(window, GWLP_USERDATA))();
  return 0;
}

ATOM WakeClass() {
  static const ATOM registered = [] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &WakeProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"tqxfft.WakeTarget";
    return RegisterClassW(&windowClass);
  }();
  return registered;
}

}  // namespace

// A message-only window: it never shows and receives no broadcasts, only what
// is posted to it.
native::WakeTarget::WakeTarget(Woken woken)
    : window_(CreateWindowExW(0, MAKEINTATOM(WakeClass()), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr)) {
  SetWindowLongPtrW(static_cast<HWND>(window_), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(woken));
}

native::WakeTarget::~WakeTarget() { DestroyWindow(static_cast<HWND>(window_)); }

// The posted message carries no data: the queue hands over a wake-up only.
void native::WakeTarget::Wake() const { PostMessageW(static_cast<HWND>(window_), kWakeMessage, 0, 0); }
