// CAboutDlg: the About box (dialog 100): program icon, name, notice and version; OK closes it.
#pragma once

#include "framework/dialog.h"
#include "resource.h"

class CAboutDlg : public zf::Dialog {
public:
    CAboutDlg() : zf::Dialog(IDD_ABOUTBOX) {}
};
