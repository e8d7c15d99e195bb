#pragma once
// The About box: the program's icon, its name and version, and OK.
#include "framework/dialog/Dialog.h"

class CAboutDlg : public CDialog {
 public:
  CAboutDlg();
};
