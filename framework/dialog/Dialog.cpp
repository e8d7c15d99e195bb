#include "framework/dialog/Dialog.h"

#include <map>
#include <utility>

#include "framework/dialog/DialogWindow.h"
#include "framework/ModalLoops.h"
#include "framework/WinApp.h"
#include "framework/dialog/WindowPlacement.h"

namespace {

void PlaceOnScreen(CDialog::Window& window, const CDialog::Window* owner) {
  const CRect frame = window.Frame();
  const CRect over = owner != nullptr ? owner->Frame() : window.WorkAreaAt(frame);
  const CRect area = window.WorkAreaAt(over);
  window.MoveFrameTo(PlaceAlongAxis(frame.Width(), over.left, over.right, area.left, area.right),
                     PlaceAlongAxis(frame.Height(), over.top, over.bottom, area.top, area.bottom));
}

}  // namespace

CDialog::CDialog(const DialogTemplate& dialogTemplate, CDialog* owner)
    : template_(dialogTemplate), owner_(owner) {}

// The window goes first, while the dialog it calls back is still whole.
CDialog::~CDialog() { window_.reset(); }

bool CDialog::CreateAndInitWindow() {
  CDialog* owner = owner_;
  if (owner == nullptr && AfxGetApp() != nullptr && AfxGetApp()->m_pMainWnd != this) {
    owner = AfxGetApp()->m_pMainWnd;
  }
  Window* ownerWindow = owner != nullptr ? owner->GetWindow() : nullptr;
  window_ = CreateDialogWindow(*this, ownerWindow);
  if (window_) PlaceOnScreen(*window_, ownerWindow);
  const bool focusFirstTabStop = OnInitDialog();
  if (!window_) return false;
  if (focusFirstTabStop) window_->FocusFirstTabStop();
  return true;
}

int CDialog::DoModal() {
  if (window_ || !CreateAndInitWindow()) return -1;
  int result = 0;
  {
    const ModalLoop loop;
    result = window_->RunModal();
  }
  window_.reset();
  return result;
}

bool CDialog::Create() {
  if (window_ || !CreateAndInitWindow()) return false;
  if (!window_->endRequested) window_->Show();
  return true;
}

void CDialog::DestroyWindow() { window_.reset(); }

void CDialog::EndDialog(int result) {
  if (!window_) return;
  window_->endRequested = true;
  window_->End(result);
}

bool CDialog::UpdateData(bool saveAndValidate) {
  if (!window_) return false;
  if (saveAndValidate) changedByUser_.clear();
  CDataExchange exchange(*this, saveAndValidate ? CDataExchange::Save : CDataExchange::Load);
  DoDataExchange(exchange);
  return !exchange.Failed();
}

void CDialog::UpdateDataKeepingUserInput() {
  if (!window_) return;
  CDataExchange exchange(*this, CDataExchange::LoadKeepingUserInput);
  DoDataExchange(exchange);
}

bool CDialog::ChangedByUserSinceSave(int id) const { return changedByUser_.contains(id); }

void CDialog::SetWindowText(std::string_view text) {
  if (window_) window_->SetTitle(text);
}

std::string CDialog::GetWindowText() const { return window_ ? window_->Title() : std::string(); }

void CDialog::SetDlgItemText(int id, std::string_view text) {
  if (!window_) return;
  const bool outerWrite = std::exchange(writingControlText_, true);
  window_->SetControlText(id, text);
  writingControlText_ = outerWrite;
}

std::string CDialog::GetDlgItemText(int id) const { return window_ ? window_->ControlText(id) : std::string(); }

void CDialog::CheckDlgButton(int id, bool checked) {
  if (window_) window_->CheckButton(id, checked);
}

bool CDialog::IsDlgButtonChecked(int id) const { return window_ && window_->IsButtonChecked(id); }

void CDialog::GotoDlgCtrl(int id) {
  if (window_) window_->FocusControl(id);
}

void CDialog::LimitText(int id, int maxChars) {
  if (window_) window_->LimitText(id, maxChars);
}

void CDialog::SetTimer(int id, unsigned periodMs) {
  if (window_) window_->SetTimer(id, periodMs);
}

void CDialog::KillTimer(int id) {
  if (window_) window_->KillTimer(id);
}

bool CDialog::IsTimerRunning(int id) const { return window_ && window_->IsTimerRunning(id); }

void CDialog::InvalidateRect(const CRect& rect, bool erase) {
  if (window_) window_->Invalidate(rect, erase);
}

void CDialog::Invalidate(bool erase) {
  if (window_) window_->InvalidateAll(erase);
}

void CDialog::UpdateWindow() {
  if (window_) window_->PaintInvalidNow();
}

CRect CDialog::GetClientRect() const { return window_ ? window_->ClientRect() : CRect{}; }

bool CDialog::IsIconic() const { return window_ && window_->IsMinimized(); }

void CDialog::SetIcon(const IconResource& icon, bool big) {
  if (window_) window_->SetIcon(icon, big);
}

void CDialog::AppendSystemMenuSeparator() {
  if (window_) window_->AppendSystemMenuSeparator();
}

void CDialog::AppendSystemMenuItem(unsigned commandId, std::string_view text) {
  if (window_) window_->AppendSystemMenuItem(commandId, text);
}

CRect CDialog::MapDialogRect(const CRect& dialogUnits) const {
  return MapDialogUnits(window_ ? window_->BaseUnits() : TemplateBaseUnits(template_), dialogUnits);
}

bool CDialog::HasWindow() const { return window_ != nullptr; }

bool CDialog::OnInitDialog() {
  UpdateData(false);
  return true;
}

void CDialog::OnOK() {
  if (UpdateData(true)) EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::OnCommand(int id, Notification code) {
  if (code != Notification::Clicked) return;
  if (id == IDOK) {
    OnOK();
  } else if (id == IDCANCEL) {
    OnCancel();
  }
}

void CDialog::OnTimer(int /*id*/) {}

void CDialog::OnPaint(CPaintDC& /*dc*/) {}

void CDialog::OnSysCommand(unsigned commandId) {
  if (commandId == SC_CLOSE) OnCancel();
}

void CDialog::Window::ReportClick(int id) {
  dialog_.NoteUserChange(id);
  if (id == IDOK) {
    dialog_.OnOK();
  } else if (id == IDCANCEL) {
    dialog_.OnCancel();
  } else {
    dialog_.OnCommand(id, Notification::Clicked);
  }
}

void CDialog::Window::ReportEditChange(int id) {
  if (dialog_.writingControlText_) return;
  dialog_.NoteUserChange(id);
  dialog_.OnCommand(id, Notification::Changed);
}

// A timer does not fire inside its own handling: a handling that pumps
// messages would otherwise stack one on another. A modal loop that began
// inside the handling (a dialog or a menu the user opened through one of its
// pumps, a box it raised) is other work, and the timer fires in it as in any
// loop; whether that work wants it is the handler's to say. Marks are kept by
// window and id outside the window, which may be gone when the handling
// returns.
void CDialog::Window::ReportTimer(int id) {
  static std::map<std::pair<const Window*, int>, int> loopsWhenFiring;
  const std::pair<const Window*, int> timer{this, id};
  const int loops = OpenModalLoops();
  const auto [mark, outermost] = loopsWhenFiring.try_emplace(timer, loops);
  if (!outermost && loops <= mark->second) return;
  const int outer = std::exchange(mark->second, loops);
  dialog_.OnTimer(id);
  if (outermost) {
    loopsWhenFiring.erase(timer);
  } else {
    loopsWhenFiring[timer] = outer;
  }
}

void CDialog::Window::ReportPaint(CPaintDC& dc) { dialog_.OnPaint(dc); }

void CDialog::Window::ReportSysCommand(unsigned commandId) { dialog_.OnSysCommand(commandId); }

void CDialog::Window::ReportOK() { dialog_.OnOK(); }

void CDialog::Window::ReportCancel() { dialog_.OnCancel(); }
