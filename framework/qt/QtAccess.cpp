#include "framework/qt/QtAccess.h"

#include "framework/qt/DialogWindow.h"

namespace {
QtDialogWindow* WindowOf(const CDialog& dialog) { return static_cast<QtDialogWindow*>(dialog.GetWindow()); }
}  // namespace

QWidget* DialogWidget(const CDialog& dialog) { return WindowOf(dialog); }

QWidget* ControlWidget(const CDialog& dialog, int id) { return WindowOf(dialog) ? WindowOf(dialog)->Control(id) : nullptr; }

QMenu* SystemMenu(const CDialog& dialog) { return WindowOf(dialog) ? WindowOf(dialog)->SystemMenu() : nullptr; }
