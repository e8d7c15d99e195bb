#pragma once
// Test access to the toolkit's objects behind a dialog. Window code never
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

// Undoes AbandonWaitingMessageBoxes, so one test process can try both.
void ResetMessageBoxAbandonment();
