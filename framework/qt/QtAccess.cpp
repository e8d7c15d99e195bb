#include "framework/qt/QtAccess.h"

#include "framework/qt/DialogWindow.h"

QWidget* DialogWidget(const CDialog& dialog) { return dialog.GetWindow(); }

QWidget* ControlWidget(const CDialog& dialog, int id) {
  return dialog.GetWindow() ? dialog.GetWindow()->Control(id) : nullptr;
}

QMenu* SystemMenu(const CDialog& dialog) { return dialog.GetWindow() ? dialog.GetWindow()->SystemMenu() : nullptr; }
