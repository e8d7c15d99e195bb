#pragma once
// Access to the toolkit behind the dialogs, for tests and for programs that
// make the toolkit's application object themselves. Window code never
// includes this.
class CDialog;
class QMenu;
class QWidget;

// nullptr while the dialog has no window.
QWidget* DialogWidget(const CDialog& dialog);
// The control with that id (its objectName is the id), or nullptr.
QWidget* ControlWidget(const CDialog& dialog, int id);
// The dialog's own system menu; each item's data() is its command id.
QMenu* SystemMenu(const CDialog& dialog);

// Shows message boxes with the toolkit from now on: on the window thread,
// once the toolkit's application object exists. Programs get this from
// RunApplication; a test main or a tool with its own application object calls
// it itself.
void ShowMessageBoxesWithTheToolkit();
