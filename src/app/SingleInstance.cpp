#include "app/SingleInstance.h"

#include "panel/ClickerDlg.h"
#include "platform/Desktop.h"

namespace {

// Window class of an older release.
const wchar_t kLegacyWindowClass[] = L"VEXO V1.0";

const wchar_t kAlreadyRunningMessage[] = L"이미 있어.mutex";
const wchar_t kSecondCopyMessage[] = L"이미 존재하는것 같습니다.";

// How long a copy started to take over waits for the running copy to name
// it, then to end, then to let go of the mutex.
constexpr DWORD kTakeOverWaitMs = 10000;
// How often a mutex refused is asked for again.
constexpr DWORD kMutexPollMs = 50;

void ShowRestored(HWND window)
{
    ::ShowWindow(window, SW_SHOW);
    if (::IsIconic(window))
        ::ShowWindow(window, SW_RESTORE);
}

} // namespace

CSingleInstance::CSingleInstance(IDesktop& desktop, const CText& appName)
    : m_desktop(desktop)
    , m_strAppName(appName)
{
}

bool CSingleInstance::ActivateLegacyWindow()
{
    const HWND legacy = ::FindWindowW(kLegacyWindowClass, nullptr);
    if (!legacy)
        return false;
    m_desktop.MessageBeep(kSimpleBeep);
    const HWND popup = ::GetLastActivePopup(legacy);
    ShowRestored(legacy);
    m_desktop.SetForegroundWindow(popup);
    return true;
}

bool CSingleInstance::Claim()
{
    m_hMutex = m_desktop.CreateMutexW(m_strAppName.GetString());
    const DWORD error = ::GetLastError();
    return error != ERROR_ALREADY_EXISTS && error != ERROR_ACCESS_DENIED;
}

HWND CSingleInstance::FindRunningPanel()
{
    return m_desktop.FindWindowWithProp(m_strAppName.GetString());
}

bool CSingleInstance::TakeOver(Takeover& takeover)
{
    const HWND running = FindRunningPanel();
    if (!running || !IsHandedTo(running, m_strAppName, ::GetCurrentProcessId(), kTakeOverWaitMs, takeover.values))
        return false;
    const DWORD runningId = m_desktop.GetWindowThreadProcessId(running);
    // A standard user's restart runs this copy as the administrator who
    // consented: the running copy's settings store is not this account's.
    takeover.fromAnotherUser = !m_desktop.IsProcessOfThisUser(runningId);
    m_desktop.PostMessageW(running, ::RegisterWindowMessageW(kHandoverTakenMessage), 0, 0);
    // Another account's process may not be opened; its panel's end tells.
    if (m_desktop.WaitForProcess(runningId, kTakeOverWaitMs) == WAIT_FAILED)
        m_desktop.WaitForWindowGone(running, kTakeOverWaitMs);
    // Refused the mutex by the security the running copy gave it, this copy
    // holds none, and the name would go with that copy: made again once it
    // has, so that the next start finds a copy running.
    for (DWORD waited = 0; !m_hMutex && waited < kTakeOverWaitMs; waited += kMutexPollMs) {
        Claim();
        if (!m_hMutex)
            m_desktop.Sleep(kMutexPollMs);
    }
    return true;
}

bool CSingleInstance::ActivateRunningCopy()
{
    const HWND window = FindRunningPanel();
    if (!window)
        return false;
    m_desktop.MessageBeep(kSimpleBeep);
    ShowMessage(kAlreadyRunningMessage);
    // A panel run as administrator takes neither a show nor the foreground
    // from this copy, which Windows lets only ask: this copy, the one the
    // user just started, may set the foreground and passes that right on.
    m_desktop.AllowSetForegroundWindow(m_desktop.GetWindowThreadProcessId(window));
    m_desktop.PostMessageW(window, ::RegisterWindowMessageW(kShowPanelMessage), 0, 0);
    ShowRestored(window);
    m_desktop.SetForegroundWindow(window);
    m_desktop.SetForegroundWindow(::GetLastActivePopup(window));
    return true;
}

void CSingleInstance::ReportSecondCopy()
{
    ShowMessage(kSecondCopyMessage);
}

void CSingleInstance::ShowMessage(const wchar_t* text)
{
    // No main window exists at these points, so the box has no owner.
    m_desktop.MessageBoxW(nullptr, text, m_strAppName.GetString(), MB_OK | MB_ICONEXCLAMATION);
}
