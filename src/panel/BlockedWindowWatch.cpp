#include "panel/BlockedWindowWatch.h"

#include "platform/Desktop.h"

#include <algorithm>
#include <iterator>

CBlockedWindowWatch::CBlockedWindowWatch(IDesktop& desktop)
    : m_desktop(desktop)
{
}

void CBlockedWindowWatch::Start(DWORD ownLevel)
{
    m_bWatching = true;
    m_nOwnLevel = ownLevel;
}

HWND CBlockedWindowWatch::CheckPoint(POINT point)
{
    return m_bWatching ? Check(m_desktop.WindowFromPoint(point), m_clickTarget) : nullptr;
}

HWND CBlockedWindowWatch::CheckForeground()
{
    return m_bWatching ? Check(m_desktop.GetForegroundWindow(), m_foreground) : nullptr;
}

void CBlockedWindowWatch::ForgetReported()
{
    std::fill(std::begin(m_reported), std::end(m_reported), nullptr);
    m_nNextReport = 0;
}

HWND CBlockedWindowWatch::Check(HWND window, Seen& seen)
{
    if (window != seen.window) {
        seen.window = window;
        // A click lands in a child window; the process is the top-level one's.
        seen.root = window ? ::GetAncestor(window, GA_ROOT) : nullptr;
        seen.blocked = seen.root && IsBlocked(seen.root);
    }
    return seen.blocked && Report(seen.root) ? seen.root : nullptr;
}

bool CBlockedWindowWatch::IsBlocked(HWND root)
{
    // A level that cannot be read is above ours: a program at medium level
    // is refused the tokens of elevated processes and of no others.
    const DWORD level = m_desktop.GetWindowIntegrityLevel(root);
    return level == kIntegrityUnreadable || level > m_nOwnLevel;
}

bool CBlockedWindowWatch::Report(HWND root)
{
    if (std::find(std::begin(m_reported), std::end(m_reported), root) != std::end(m_reported))
        return false;
    m_reported[m_nNextReport] = root;
    m_nNextReport = (m_nNextReport + 1) % kRemembered;
    return true;
}
