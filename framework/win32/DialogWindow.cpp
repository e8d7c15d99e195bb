#include "framework/win32/DialogWindow.h"

#include <algorithm>
#include <vector>

#include "framework/RadioGroups.h"
#include "framework/win32/PaintSurface.h"

namespace {

CRect ToRect(const native::Bounds& bounds) { return CRect{bounds.left, bounds.top, bounds.right, bounds.bottom}; }

}  // namespace

Win32DialogWindow::Win32DialogWindow(CDialog& dialog, const Win32DialogWindow* owner)
    : CDialog::Window(dialog), native_(dialog.Template(), owner != nullptr ? &owner->native_ : nullptr, *this) {
  const auto& controls = Template().controls;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].kind == ControlKind::RadioButton) PlaceRadioGroupTabStop(i);
  }
}

Win32DialogWindow* Win32DialogWindow::FromHandle(void* handle) {
  return static_cast<Win32DialogWindow*>(native::Dialog::EventsOf(handle));
}

int Win32DialogWindow::RunModal() { return native_.RunModal(); }

void Win32DialogWindow::Show() { native_.Show(); }

void Win32DialogWindow::End(int result) { native_.End(result); }

void Win32DialogWindow::SetTitle(std::string_view text) { native_.SetTitle(text); }

std::string Win32DialogWindow::Title() const { return native_.Title(); }

void Win32DialogWindow::SetControlText(int id, std::string_view text) { native_.SetControlText(id, text); }

std::string Win32DialogWindow::ControlText(int id) const { return native_.ControlText(id); }

void Win32DialogWindow::CheckButton(int id, bool checked) {
  native_.SetChecked(id, checked);
  const auto index = IndexOfControl(Template(), id);
  if (index && Template().controls[*index].kind == ControlKind::RadioButton) PlaceRadioGroupTabStop(*index);
}

bool Win32DialogWindow::IsButtonChecked(int id) const { return native_.IsChecked(id); }

void Win32DialogWindow::FocusControl(int id) { native_.Focus(id); }

void Win32DialogWindow::FocusFirstTabStop() { native_.FocusFirstTabStop(); }

void Win32DialogWindow::LimitText(int id, int maxChars) { native_.LimitText(id, maxChars); }

void Win32DialogWindow::SetTimer(int id, unsigned periodMs) { native_.StartTimer(id, periodMs); }

void Win32DialogWindow::KillTimer(int id) { native_.StopTimer(id); }

bool Win32DialogWindow::IsTimerRunning(int id) const { return native_.IsTimerRunning(id); }

void Win32DialogWindow::Invalidate(const CRect& rect, bool erase) {
  const native::Bounds bounds{rect.left, rect.top, rect.right, rect.bottom};
  native_.Invalidate(&bounds, erase);
}

void Win32DialogWindow::InvalidateAll(bool erase) { native_.Invalidate(nullptr, erase); }

void Win32DialogWindow::PaintInvalidNow() { native_.PaintInvalidNow(); }

CRect Win32DialogWindow::ClientRect() const { return ToRect(native_.ClientBounds()); }

bool Win32DialogWindow::IsMinimized() const { return native_.IsMinimized(); }

void Win32DialogWindow::SetIcon(const IconResource& icon, bool big) { native_.SetIcon(icon, big); }

void Win32DialogWindow::AppendSystemMenuSeparator() { native_.AppendSystemMenuSeparator(); }

void Win32DialogWindow::AppendSystemMenuItem(unsigned commandId, std::string_view text) {
  native_.AppendSystemMenuItem(commandId, text);
}

DialogBaseUnits Win32DialogWindow::BaseUnits() const {
  const native::Extent units = native_.BaseUnits();
  return DialogBaseUnits{units.x, units.y};
}

CRect Win32DialogWindow::Frame() const { return ToRect(native_.Frame()); }

CRect Win32DialogWindow::WorkAreaAt(const CRect& frame) const {
  return ToRect(native::WorkAreaAt(native::Bounds{frame.left, frame.top, frame.right, frame.bottom}));
}

void Win32DialogWindow::Clicked(int id) { ReportClick(id); }

void Win32DialogWindow::EditChanged(int id) { ReportEditChange(id); }

// As the classic dialog manager does for automatic buttons: the arrows move
// the focus through the group's radio buttons, wrapping round, and choose
// each with the same notification as a click.
void Win32DialogWindow::RadioArrow(int id, int step) {
  const auto index = IndexOfControl(Template(), id);
  if (!index) return;
  const int next = Template().controls[RadioNeighbour(Template(), *index, step)].id;
  native_.Focus(next);
  native_.Click(next);
}

void Win32DialogWindow::TimerFired(int id) { ReportTimer(id); }

void Win32DialogWindow::Paint(native::Painter& painter) {
  CPaintDC::Surface surface(painter);
  CPaintDC dc(surface);
  ReportPaint(dc);
}

void Win32DialogWindow::SystemCommand(unsigned commandId) { ReportSysCommand(commandId); }

// The buttons move the tab stop to their choice themselves; Tab also reaches
// a group while nothing is chosen, at its first button, whether or not the
// template made that a tab stop.
void Win32DialogWindow::PlaceRadioGroupTabStop(std::size_t member) {
  const std::vector<std::size_t> group = RadioGroupFrom(Template(), GroupStartOf(Template(), member));
  if (group.empty()) return;
  const auto& controls = Template().controls;
  const auto chosen =
      std::find_if(group.begin(), group.end(), [&](std::size_t i) { return native_.IsChecked(controls[i].id); });
  const std::size_t tabStop = chosen != group.end() ? *chosen : group.front();
  for (std::size_t i : group) native_.SetTabStop(controls[i].id, i == tabStop);
}

std::unique_ptr<CDialog::Window> CreateDialogWindow(CDialog& dialog, CDialog::Window* owner) {
  auto window = std::make_unique<Win32DialogWindow>(dialog, static_cast<const Win32DialogWindow*>(owner));
  if (!window->Made()) return nullptr;
  return window;
}

DialogBaseUnits TemplateBaseUnits(const DialogTemplate& dialogTemplate) {
  const native::Extent extent = native::TemplateFontExtent(dialogTemplate, kAverageWidthAlphabet);
  return DialogBaseUnits{AverageWidthOfAlphabet(extent.x), extent.y};
}
