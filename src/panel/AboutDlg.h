#pragma once
#include "common/ScopedHandles.h"
#include "framework/Dialog.h"

// The About box reached from the panel's system menu; its OK button closes it.
class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(HWND parent = nullptr);

protected:
    BOOL OnInitDialog() override;
    void OnDpiChanged(UINT dpi) override;

private:
    void ShowIcon(UINT dpi);

    CIconHandle m_icon; // the program icon at the size of the box's scale
};
