#include "app/ClickerApp.h"

#include "app/SingleInstance.h"
#include "common/DynamicCalls.h"
#include "panel/ClickerDlg.h"

#include <commctrl.h>

CClickerApp::CClickerApp()
    : m_bFirstInstance(TRUE)
    , m_instance(m_desktop, m_strAppName)
{
}

BOOL CClickerApp::InitInstance()
{
    if (m_instance.ActivateLegacyWindow())
        return FALSE;

    m_bFirstInstance = TRUE;
    Takeover takeover = {};
    bool takingOver = false;
    if (!m_instance.Claim()) {
        // Started by the running copy to take its place, or a second copy.
        takingOver = m_instance.TakeOver(takeover);
        if (!takingOver) {
            m_bFirstInstance = FALSE;
            m_instance.ActivateRunningCopy();
            return FALSE;
        }
    }

    // The panel's up-down controls and slider.
    const INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_UPDOWN_CLASS | ICC_BAR_CLASSES};
    if (DynamicCalls::InitCommonControlsEx)
        DynamicCalls::InitCommonControlsEx(&controls);
    // Clicking goes on while the panel hides in the tray.
    KeepTimerResolutionWhileHidden(m_desktop);

    // The panel lives for this run and goes when it ends.
    CClickerDlg panel(m_desktop, m_strAppName, takingOver ? &takeover : nullptr);
    panel.DoModal();
    m_bFirstInstance = TRUE;
    return FALSE;
}

int CClickerApp::ExitInstance()
{
    // The first copy's panel took its property away as its window closed.
    if (!m_bFirstInstance)
        m_instance.ReportSecondCopy();
    return CApplication::ExitInstance();
}

// The process's one application object.
CClickerApp theApp;
