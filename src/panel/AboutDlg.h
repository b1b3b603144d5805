#pragma once
#include "framework/Dialog.h"

// The About box reached from the panel's system menu; its OK button closes it.
class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(HWND parent = nullptr);
};
