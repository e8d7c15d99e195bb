#include "framework/win32/Native.h"
#include "framework/win32/native/NativeWindows.h"

void native::InitialiseControls() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
  InitCommonControlsEx(&controls);
}

void native::UseFineTimerGrain() { timeBeginPeriod(1); }

native::Bounds native::WorkAreaAt(const Bounds& frame) {
  const RECT rect{frame.left, frame.top, frame.right, frame.bottom};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &monitor)) return frame;
  return Bounds{monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right, monitor.rcWork.bottom};
}

native::Extent native::LargeIconSize() { return Extent{GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)}; }

native::Extent native::SmallIconSize() {
  return Extent{GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)};
}
