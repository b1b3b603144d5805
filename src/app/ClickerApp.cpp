#include "app/ClickerApp.h"

#include "app/SingleInstance.h"
#include "common/DynamicCalls.h"
#include "panel/ClickerDlg.h"
#include "settings/Handover.h"

#include <commctrl.h>

namespace {

// Window class of an older release; when one is up, it is brought forward
// instead of starting this one.
const wchar_t kLegacyWindowClass[] = L"VEXO V1.0";

const wchar_t kAlreadyRunningMessage[] = L"이미 있어.mutex";
const wchar_t kSecondCopyMessage[] = L"이미 존재하는것 같습니다.";

// How long a copy started to take over waits for the running copy to name
// it, and then to end.
constexpr DWORD kTakeOverWaitMs = 10000;

void ShowMessage(const wchar_t* text, const CText& caption)
{
    // No main window exists at these points, so the box has no owner.
    ::MessageBoxW(nullptr, text, caption.GetString(), MB_OK | MB_ICONEXCLAMATION);
}

void ShowRestored(HWND window)
{
    ::ShowWindow(window, SW_SHOW);
    if (::IsIconic(window))
        ::ShowWindow(window, SW_RESTORE);
}

} // namespace

CClickerApp::CClickerApp()
    : m_bFirstInstance(TRUE)
    , m_hMutex(nullptr)
{
}

BOOL CClickerApp::InitInstance()
{
    if (CheckLegacyWindow())
        return FALSE;

    m_bFirstInstance = TRUE;
    HandedOverValues handedOver = {};
    bool takingOver = false;
    if (!ClaimFirstInstance(m_desktop, m_strAppName, m_hMutex)) {
        // Started by the running copy to take its place, or a second copy.
        takingOver = TakeOverRunningCopy(handedOver);
        if (!takingOver) {
            m_bFirstInstance = FALSE;
            ActivateRunningCopy();
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
    CClickerDlg panel(m_desktop, m_strAppName, takingOver ? &handedOver : nullptr);
    panel.DoModal();
    m_bFirstInstance = TRUE;
    return FALSE;
}

int CClickerApp::ExitInstance()
{
    // The first copy's panel took its property away as its window closed.
    if (!m_bFirstInstance)
        ShowMessage(kSecondCopyMessage, m_strAppName);
    return CApplication::ExitInstance();
}

bool CClickerApp::CheckLegacyWindow()
{
    const HWND legacy = ::FindWindowW(kLegacyWindowClass, nullptr);
    if (!legacy)
        return false;
    m_desktop.MessageBeep(kSimpleBeep);
    const HWND popup = ::GetLastActivePopup(legacy);
    ShowRestored(legacy);
    ::SetForegroundWindow(popup);
    return true;
}

HWND CClickerApp::FindRunningPanel() const
{
    // The running copy's panel carries a property named after the program.
    HWND window = ::GetWindow(::GetDesktopWindow(), GW_CHILD);
    while (window && !::GetPropW(window, m_strAppName.GetString()))
        window = ::GetWindow(window, GW_HWNDNEXT);
    return window;
}

void CClickerApp::ActivateRunningCopy()
{
    const HWND window = FindRunningPanel();
    if (!window)
        return;
    m_desktop.MessageBeep(kSimpleBeep);
    ShowMessage(kAlreadyRunningMessage, m_strAppName);
    // A panel run as administrator takes neither a show nor the foreground
    // from this copy, which Windows lets only ask: this copy, the one the
    // user just started, may set the foreground and passes that right on.
    DWORD runningId = 0;
    ::GetWindowThreadProcessId(window, &runningId);
    ::AllowSetForegroundWindow(runningId);
    ::PostMessageW(window, ::RegisterWindowMessageW(kShowPanelMessage), 0, 0);
    ShowRestored(window);
    ::SetForegroundWindow(window);
    ::SetForegroundWindow(::GetLastActivePopup(window));
}

// A copy the running one started as administrator finds its process named
// in the running panel's handover: it takes the values, tells that copy to
// end and waits until it has, so that one panel follows the other. Any
// other copy keeps to the rules of a second copy.
bool CClickerApp::TakeOverRunningCopy(HandedOverValues& values)
{
    const HWND running = FindRunningPanel();
    if (!running || !IsHandedTo(running, m_strAppName, ::GetCurrentProcessId(), kTakeOverWaitMs, values))
        return false;
    DWORD runningId = 0;
    ::GetWindowThreadProcessId(running, &runningId);
    const HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, runningId);
    ::PostMessageW(running, ::RegisterWindowMessageW(kHandoverTakenMessage), 0, 0);
    if (process) {
        ::WaitForSingleObject(process, kTakeOverWaitMs);
        ::CloseHandle(process);
    }
    return true;
}

// The process's one application object.
CClickerApp theApp;
