#pragma once
// Access to the toolkit behind the dialogs, for tests and for programs that
// make the toolkit's application object themselves. Window code never
// includes this.
#include "framework/MessageBoxDisplay.h"

class CDialog;
class QMenu;
class QWidget;

// nullptr while the dialog has no window.
QWidget* DialogWidget(const CDialog& dialog);
// The control with that id (its objectName is the id), or nullptr.
QWidget* ControlWidget(const CDialog& dialog, int id);
// The dialog's own system menu; each item's data() is its command id.
QMenu* SystemMenu(const CDialog& dialog);
