#pragma once
#include <windows.h>

#include "framework/Application.h"
#include "platform/Desktop.h"
#include "settings/Handover.h"

// The clicker's application object: one running copy per desktop, whose
// panel is the program's only window.
class CClickerApp : public CApplication {
public:
    CClickerApp();

    BOOL InitInstance() override;
    int ExitInstance() override;

private:
    bool CheckLegacyWindow();
    HWND FindRunningPanel() const;
    void ActivateRunningCopy();
    bool TakeOverRunningCopy(HandedOverValues& values);

    BOOL m_bFirstInstance;
    // Marks this copy as running for as long as the process lives; never
    // closed on purpose, the system releases it at exit. Null where another
    // copy holds it.
    HANDLE m_hMutex;
    CWin32Desktop m_desktop;
};
