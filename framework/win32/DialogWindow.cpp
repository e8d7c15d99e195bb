#include "framework/win32/DialogWindow.h"

#include "framework/dialog/RadioGroups.h"
#include "framework/win32/PaintSurface.h"

Win32DialogWindow::Win32DialogWindow(CDialog& dialog, const Win32DialogWindow* owner)
    : CDialog::Window(dialog), native::Dialog(dialog.Template(), owner, *this) {}

Win32DialogWindow* Win32DialogWindow::FromHandle(void* handle) {
  return static_cast<Win32DialogWindow*>(native::Dialog::EventsOf(handle));
}

void Win32DialogWindow::Clicked(int id) { ReportClick(id); }

void Win32DialogWindow::EditChanged(int id) { ReportEditChange(id); }

// The core's arrow rule (RadioNeighbour): the focus moves on and chooses.
void Win32DialogWindow::RadioArrow(int id, int step) {
  const auto index = IndexOfControl(Template(), id);
  if (!index) return;
  const int next = Template().controls[RadioNeighbour(Template(), *index, step)].id;
  FocusControl(next);
  Click(next);
}

void Win32DialogWindow::TimerFired(int id) { ReportTimer(id); }

void Win32DialogWindow::Paint(native::Painter& painter) {
  CPaintDC::Surface surface(painter);
  CPaintDC dc(surface);
  ReportPaint(dc);
}

void Win32DialogWindow::SystemCommand(unsigned commandId) { ReportSysCommand(commandId); }

std::unique_ptr<CDialog::Window> CreateDialogWindow(CDialog& dialog, CDialog::Window* owner) {
  auto window = std::make_unique<Win32DialogWindow>(dialog, static_cast<const Win32DialogWindow*>(owner));
  if (!window->Made()) return nullptr;
  return window;
}
