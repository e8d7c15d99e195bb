#include "framework/Dialog.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <utility>

#include "framework/WinApp.h"
#include "framework/qt/Controls.h"
#include "framework/qt/DialogWindow.h"
#include "framework/qt/IconImages.h"
#include "framework/qt/Latin1.h"

namespace {

QRect ToQRect(const CRect& rect) { return QRect(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1)); }

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
  window_ = std::make_unique<Window>(*this, owner != nullptr ? owner->GetWindow() : nullptr);
  const bool focusFirstTabStop = OnInitDialog();
  if (!window_) return false;
  if (focusFirstTabStop) window_->FocusFirstTabStop();
  return true;
}

int CDialog::DoModal() {
  if (window_ || !CreateAndInitWindow()) return -1;
  const int result = window_->endRequested ? window_->result() : window_->exec();
  window_.reset();
  return result;
}

bool CDialog::Create() {
  if (window_ || !CreateAndInitWindow()) return false;
  if (!window_->endRequested) window_->show();
  return true;
}

void CDialog::DestroyWindow() { window_.reset(); }

void CDialog::EndDialog(int result) {
  if (!window_) return;
  window_->endRequested = true;
  window_->done(result);
}

bool CDialog::UpdateData(bool saveAndValidate) {
  if (!window_) return false;
  CDataExchange exchange(*this, saveAndValidate);
  DoDataExchange(exchange);
  return !exchange.Failed();
}

void CDialog::SetWindowText(std::string_view text) {
  if (window_) window_->setWindowTitle(ToQString(text));
}

std::string CDialog::GetWindowText() const { return window_ ? ToStdString(window_->windowTitle()) : std::string(); }

void CDialog::SetDlgItemText(int id, std::string_view text) {
  if (!window_) return;
  QWidget* control = window_->Control(id);
  if (control == nullptr) return;
  const bool outerWrite = std::exchange(writingControlText_, true);
  SetControlText(control, *window_->TemplateOf(id), ToQString(text));
  writingControlText_ = outerWrite;
}

std::string CDialog::GetDlgItemText(int id) const {
  if (!window_) return std::string();
  const QWidget* control = window_->Control(id);
  return control ? ToStdString(ControlText(control)) : std::string();
}

void CDialog::CheckDlgButton(int id, bool checked) {
  if (window_) window_->CheckButton(id, checked);
}

bool CDialog::IsDlgButtonChecked(int id) const {
  if (!window_) return false;
  const auto* button = qobject_cast<const QAbstractButton*>(window_->Control(id));
  return button != nullptr && button->isChecked();
}

void CDialog::GotoDlgCtrl(int id) {
  if (!window_) return;
  QWidget* control = window_->Control(id);
  if (control == nullptr) return;
  control->setFocus(Qt::TabFocusReason);
  if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->selectAll();
}

void CDialog::LimitText(int id, int maxChars) {
  if (window_) LimitEditText(window_->Control(id), maxChars);
}

void CDialog::SetTimer(int id, unsigned periodMs) {
  if (window_) window_->SetTimer(id, periodMs);
}

void CDialog::KillTimer(int id) {
  if (window_) window_->KillTimer(id);
}

bool CDialog::IsTimerRunning(int id) const { return window_ && window_->IsTimerRunning(id); }

// The toolkit repaints with the background erased in any case, so `erase`
// changes nothing.
void CDialog::InvalidateRect(const CRect& rect, bool /*erase*/) {
  if (window_) window_->Invalidate(ToQRect(rect));
}

void CDialog::Invalidate(bool /*erase*/) {
  if (window_) window_->Invalidate(window_->rect());
}

void CDialog::UpdateWindow() {
  if (window_) window_->PaintInvalidNow();
}

CRect CDialog::GetClientRect() const {
  if (!window_) return CRect{};
  return CRect{0, 0, window_->width(), window_->height()};
}

bool CDialog::IsIconic() const { return window_ && window_->isMinimized(); }

// The toolkit keeps one icon of several sizes per window, so the large and the
// small icon are the same call.
void CDialog::SetIcon(const IconResource& icon, bool /*big*/) {
  if (window_) window_->setWindowIcon(ToIcon(icon));
}

void CDialog::AppendSystemMenuSeparator() {
  if (window_) window_->AppendSystemMenuSeparator();
}

void CDialog::AppendSystemMenuItem(unsigned commandId, std::string_view text) {
  if (window_) window_->AppendSystemMenuItem(commandId, ToQString(text));
}

CRect CDialog::MapDialogRect(const CRect& dialogUnits) const {
  const DialogBaseUnits units = window_ ? window_->units : BaseUnitsOf(DialogFontOf(template_));
  return CRect{HorizontalUnitsToPixels(units, dialogUnits.left), VerticalUnitsToPixels(units, dialogUnits.top),
               HorizontalUnitsToPixels(units, dialogUnits.right), VerticalUnitsToPixels(units, dialogUnits.bottom)};
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
