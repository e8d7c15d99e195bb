#include "app/AboutDlg.h"

#include "res/DialogTemplates.h"

CAboutDlg::CAboutDlg() : CDialog(AboutBoxTemplate()) {}
