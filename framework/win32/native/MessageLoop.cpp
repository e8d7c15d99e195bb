#include "framework/win32/Native.h"
#include "framework/win32/native/NativeWindows.h"

namespace {

bool IsDialogWindow(HWND window) {
  return GetClassLongPtrW(window, GCW_ATOM) == reinterpret_cast<ULONG_PTR>(WC_DIALOG);
}

// Keys reach the dialog manager of the dialog they are typed in (Tab, Enter,
// Escape, arrows, mnemonics) before the control that has the focus; whichever
// loop runs, modal or not, every dialog gets the same keyboard.
void Handle(MSG& message) {
  const HWND root = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  if (root != nullptr && IsDialogWindow(root) && IsDialogMessageW(root, &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

}  // namespace

bool native::WaitAndHandleMessage() {
  MSG message;
  const BOOL got = GetMessageW(&message, nullptr, 0, 0);
  if (got == 0) {
    PostQuitMessage(static_cast<int>(message.wParam));
    return false;
  }
  if (got > 0) Handle(message);
  return got > 0;
}

void native::HandleWaitingMessage() {
  MSG message;
  if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) return;
  if (message.message == WM_QUIT) {
    PostQuitMessage(static_cast<int>(message.wParam));
    return;
  }
  Handle(message);
}
