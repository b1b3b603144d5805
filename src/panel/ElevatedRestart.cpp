#include "panel/ElevatedRestart.h"

#include "common/ModuleName.h"
#include "panel/NotificationArea.h"
#include "platform/Desktop.h"

#include <utility>

namespace {

const wchar_t kBlockedNoticeTitle[] = L"관리자 권한 창에는 클릭이 전달되지 않습니다";

// The notice's text around the blocked window's caption. The user's own
// mouse and keyboard still reach that window; the clicker's clicks do not,
// nor, while it is in front, its keys.
const wchar_t kBlockedNoticeBefore[] = L"'";
const wchar_t kBlockedNoticeAfter[] = L"' 창은 관리자 권한으로 실행 중이라, Windows가 이 창에는 자동 클릭을 전달하지 "
                                      L"않으며, 이 창이 앞에 있는 동안에는 시작·종료·토글 키를 눌러도 반응하지 "
                                      L"않습니다. 이 알림을 누르면 지금 설정 그대로 관리자 권한으로 다시 시작합니다.";
const wchar_t kUntitledWindow[] = L"(제목 없음)";
const wchar_t kEllipsis[] = L"…";
// Longer captions are cut, so that the whole notice fits its field.
constexpr int kCaptionShown = 60;

const wchar_t kRunAsAdministrator[] = L"runas";

// A restart that failed other than by the user's refusal: what failed, the
// system's reason, and that nothing changed.
const wchar_t kRestartFailed[] = L"관리자 권한으로 다시 시작하지 못했습니다.\n\n";
const wchar_t kErrorCodeBefore[] = L" (오류 코드 ";
const wchar_t kErrorCodeAfter[] = L")";
const wchar_t kUnknownError[] = L"알 수 없는 오류입니다.";
const wchar_t kKeepsRunning[] = L"\n\n프로그램은 관리자 권한 없이 지금 그대로 계속 실행됩니다.";
// Room for the system's text of an error.
constexpr DWORD kReasonCapacity = 512;
// How long a handover waits for the copy started as administrator to take it.
constexpr UINT kHandoverTimeoutMs = 15000;

static_assert(sizeof kBlockedNoticeBefore / sizeof(wchar_t) + kCaptionShown + sizeof kBlockedNoticeAfter / sizeof(wchar_t) <=
                  sizeof NOTIFYICONDATAW().szInfo / sizeof(wchar_t),
              "the notice fits its field whatever the caption");

CText NoticeText(HWND window)
{
    // One character more than is shown tells a caption that is too long.
    wchar_t caption[kCaptionShown + 2] = L"";
    const int length = ::GetWindowTextW(window, caption, kCaptionShown + 2);
    CText shown = length > 0 ? CText(caption, static_cast<size_t>(length)) : CText(kUntitledWindow);
    if (length > kCaptionShown)
        shown = CText(caption, kCaptionShown - 1) + kEllipsis;
    return CText(kBlockedNoticeBefore) + shown + kBlockedNoticeAfter;
}

// The system's own text for the error, in the user's language, and its code.
CText FailureText(DWORD error)
{
    wchar_t reason[kReasonCapacity] = L"";
    DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                    reason, kReasonCapacity, nullptr);
    while (length > 0 && (reason[length - 1] == L'\r' || reason[length - 1] == L'\n' || reason[length - 1] == L' '))
        --length;
    const CText shown = length > 0 ? CText(reason, length) : CText(kUnknownError);
    return CText(kRestartFailed) + shown + kErrorCodeBefore + CText::Decimal(static_cast<int>(error)) +
           kErrorCodeAfter + kKeepsRunning;
}

} // namespace

CElevatedRestart::CElevatedRestart(IDesktop& desktop, CNotificationArea& area, CText appName)
    : m_desktop(desktop)
    , m_area(area)
    , m_strAppName(std::move(appName))
    , m_blocked(desktop)
    , m_nHandoverTaken(::RegisterWindowMessageW(kHandoverTakenMessage))
{
}

void CElevatedRestart::Start(HWND panel)
{
    m_hPanel = panel;
    m_bElevated = m_desktop.IsProcessElevated() != FALSE;
    if (!m_bElevated)
        m_blocked.Start(m_desktop.GetOwnIntegrityLevel());
}

void CElevatedRestart::AfterTick(bool clicking, bool wasClicking, POINT clickPoint, bool keysCouldAct)
{
    if (clicking && !wasClicking)
        m_blocked.ForgetReported();
    if (wasClicking && !clicking)
        m_area.RemoveNoticeIcon();
    if (clicking)
        Tell(m_blocked.CheckPoint(clickPoint));
    // A blocked window in front hides every key from the clicker, the start
    // key too, so it is looked for whether clicking runs or not; but only
    // while a key of the panel's could act, or it would tell of every
    // elevated tool the user merely brings to the front.
    if (keysCouldAct)
        Tell(m_blocked.CheckForeground());
}

// A notification, which takes no focus and stops no clicking.
void CElevatedRestart::Tell(HWND window)
{
    if (window)
        m_area.Notify(kBlockedNoticeTitle, NoticeText(window));
}

bool CElevatedRestart::Restart(const HandedOverValues& values)
{
    if (!CanRestart())
        return false;
    OfferHandover(m_hPanel, m_strAppName, values);
    const CText program = ModulePath();
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    // The new copy's process names the successor.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    // The consent prompt's owner, which the panel has shown and brought to
    // the front: with a hidden owner Windows may only flash the prompt's
    // button on the taskbar.
    info.hwnd = m_hPanel;
    info.lpVerb = kRunAsAdministrator;
    info.lpFile = program.GetString();
    info.nShow = SW_SHOWNORMAL;
    DWORD successor = 0;
    DWORD error = ERROR_SUCCESS;
    if (!m_desktop.ShellExecuteExW(&info))
        error = ::GetLastError();
    else if (info.hProcess) {
        successor = ::GetProcessId(info.hProcess);
        ::CloseHandle(info.hProcess);
    }
    // Refused, failed (or no process to name): the offer goes.
    if (successor == 0) {
        WithdrawHandover(m_hPanel, m_strAppName);
        // The user's own refusal at the consent prompt needs no word; any
        // other failure, such as a policy that denies every elevation, would
        // look like a choice ignored. The shell's own box is kept out, so
        // that the reason comes once, in the panel's words.
        if (error != ERROR_SUCCESS && error != ERROR_CANCELLED)
            m_desktop.MessageBoxW(m_hPanel, FailureText(error).GetString(), m_strAppName.GetString(),
                                  MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    NameSuccessor(m_hPanel, m_strAppName, successor);
    m_bHandingOver = true;
    ::SetTimer(m_hPanel, kHandoverTimerId, kHandoverTimeoutMs, nullptr);
    return true;
}

bool CElevatedRestart::OnMessage(UINT message)
{
    if (message != m_nHandoverTaken)
        return false;
    if (m_bHandingOver)
        ::PostMessageW(m_hPanel, WM_CLOSE, 0, 0);
    return true;
}

void CElevatedRestart::EndHandover()
{
    if (m_bHandingOver)
        ::KillTimer(m_hPanel, kHandoverTimerId);
    m_bHandingOver = false;
    WithdrawHandover(m_hPanel, m_strAppName);
}

void CElevatedRestart::End()
{
    m_area.RemoveNoticeIcon();
    EndHandover();
}
