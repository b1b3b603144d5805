#pragma once
#include <windows.h>

#include "app/SingleInstance.h"
#include "framework/Application.h"
#include "platform/Desktop.h"

// The clicker's application object: one running copy per desktop, whose
// panel is the program's only window.
class CClickerApp : public CApplication {
public:
    CClickerApp();

    BOOL InitInstance() override;
    int ExitInstance() override;

private:
    BOOL m_bFirstInstance;
    CWin32Desktop m_desktop;
    CSingleInstance m_instance;
};
