#include "panel/ClickerDlg.h"

#include "common/ModuleName.h"
#include "platform/Desktop.h"
#include "settings/Handover.h"

#include <algorithm>
#include <cwchar>

namespace {

const wchar_t kBlockedNoticeTitle[] = L"관리자 권한 창에는 클릭이 전달되지 않습니다";

// The notice's text around the blocked window's caption.
const wchar_t kBlockedNoticeBefore[] = L"'";
const wchar_t kBlockedNoticeAfter[] = L"' 창은 관리자 권한으로 실행 중이라, Windows가 이 창에는 클릭도 키 입력도 "
                                      L"전달하지 않습니다. 이 알림을 누르면 지금 설정 그대로 관리자 권한으로 다시 "
                                      L"시작합니다.";
const wchar_t kUntitledWindow[] = L"(제목 없음)";
const wchar_t kEllipsis[] = L"…";
// Longer captions are cut, so that the whole notice fits its field.
constexpr int kCaptionShown = 60;

const wchar_t kRunAsAdministrator[] = L"runas";
// How long a handover waits for the copy started as administrator to take it.
constexpr UINT kHandoverTimeoutMs = 15000;

static_assert(sizeof kBlockedNoticeBefore / sizeof(wchar_t) + kCaptionShown + sizeof kBlockedNoticeAfter / sizeof(wchar_t) <=
                  sizeof NOTIFYICONDATAW().szInfo / sizeof(wchar_t),
              "the notice fits its field whatever the caption");

// Copies as much of the text as fits, with its terminating zero.
template <size_t N>
void CopyInto(wchar_t (&field)[N], const CText& text)
{
    const size_t length = std::min(text.GetLength(), N - 1);
    std::wmemcpy(field, text.GetString(), length);
    field[length] = L'\0';
}

// A record naming one of the panel's icons in the notification area.
NOTIFYICONDATAW IconRecord(HWND panel, UINT id)
{
    NOTIFYICONDATAW record = {};
    record.cbSize = sizeof record;
    record.hWnd = panel;
    record.uID = id;
    return record;
}

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

} // namespace

// A notification from the notification area, which takes no focus and stops
// no clicking: from the tray icon while the panel hides there, else from a
// notice icon of its own that goes with the notification.
void CClickerDlg::TellOfBlockedWindow(HWND window)
{
    if (!window)
        return;
    NOTIFYICONDATAW notice = IconRecord(m_hWnd, m_bInTray ? kTrayIconId : kNoticeIconId);
    notice.uFlags = NIF_INFO;
    notice.dwInfoFlags = NIIF_WARNING;
    CopyInto(notice.szInfoTitle, kBlockedNoticeTitle);
    CopyInto(notice.szInfo, NoticeText(window));
    // The tray icon, or the notice icon already there, only takes the notification.
    if (m_bInTray || m_bNoticeIcon) {
        m_desktop.ShellNotifyIcon(NIM_MODIFY, &notice);
        return;
    }
    notice.uFlags |= NIF_MESSAGE | NIF_ICON | NIF_TIP;
    notice.uCallbackMessage = WM_TRAYNOTIFY;
    notice.hIcon = NotificationAreaIcon(m_noticeIcon, m_desktop.GetNotificationAreaDpi());
    CopyInto(notice.szTip, kBlockedNoticeTitle);
    m_bNoticeIcon = m_desktop.ShellNotifyIcon(NIM_ADD, &notice) != FALSE;
}

void CClickerDlg::RemoveNoticeIcon()
{
    if (!m_bNoticeIcon)
        return;
    m_bNoticeIcon = false;
    NOTIFYICONDATAW notice = IconRecord(m_hWnd, kNoticeIconId);
    m_desktop.ShellNotifyIcon(NIM_DELETE, &notice);
}

void CClickerDlg::RestartElevated()
{
    // Not while a box of the panel's own is open, which would keep the
    // panel from closing when the new copy takes over.
    if (m_bElevated || m_bHandingOver || !::IsWindowEnabled(m_hWnd))
        return;
    // The period the speed bar shows, which the next tick would take up.
    OfferHandover(m_hWnd, m_strAppName, Values(static_cast<UINT>(m_sbSpeed.GetScrollPos()) * kMillisecondsPerStep));
    const CText program = ModulePath();
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    // The new copy's process names the successor; no error box of the shell's.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.hwnd = m_hWnd; // the consent prompt's owner
    info.lpVerb = kRunAsAdministrator;
    info.lpFile = program.GetString();
    info.nShow = SW_SHOWNORMAL;
    DWORD successor = 0;
    if (m_desktop.ShellExecuteExW(&info) && info.hProcess) {
        successor = ::GetProcessId(info.hProcess);
        ::CloseHandle(info.hProcess);
    }
    // Refused or cancelled (or no process to name): the offer goes, and
    // everything runs on as it was.
    if (successor == 0) {
        WithdrawHandover(m_hWnd, m_strAppName);
        return;
    }
    NameSuccessor(m_hWnd, m_strAppName, successor);
    m_bHandingOver = true;
    ::SetTimer(m_hWnd, kHandoverTimerId, kHandoverTimeoutMs, nullptr);
}

void CClickerDlg::EndHandover()
{
    if (m_bHandingOver)
        ::KillTimer(m_hWnd, kHandoverTimerId);
    m_bHandingOver = false;
    WithdrawHandover(m_hWnd, m_strAppName);
}
