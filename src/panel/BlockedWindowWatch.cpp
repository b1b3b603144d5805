#include "panel/BlockedWindowWatch.h"

#include "platform/Desktop.h"

#include <cwchar>

namespace {

// A program is known by its image's path; where that cannot be read, by its
// process, under a name no path can have.
CText ProgramName(const WindowProgram& program)
{
    if (program.image.GetLength() > 0)
        return program.image;
    return CText(L"process ") + CText::Decimal(static_cast<int>(program.processId));
}

bool IsAbove(const WindowProgram& program, DWORD ownLevel)
{
    // A window gone before its process was read (process 0) is no program's,
    // and a ghost stands in for a hung window of a program that may well be
    // below: neither tells anything. A level that cannot be read is above
    // ours, as it is for every elevated program.
    if (program.processId == 0 || program.ghost)
        return false;
    return program.level == kIntegrityUnreadable || program.level > ownLevel;
}

} // namespace

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
    for (CText& program : m_reported)
        program = CText();
    m_nNextReport = 0;
}

HWND CBlockedWindowWatch::Check(HWND window, Seen& seen)
{
    if (window != seen.window) {
        seen.window = window;
        // A click lands in a child window; the process is the top-level one's.
        seen.root = window ? ::GetAncestor(window, GA_ROOT) : nullptr;
        seen.blocked = false;
        if (seen.root) {
            const WindowProgram program = m_desktop.GetWindowProgram(seen.root);
            seen.blocked = IsAbove(program, m_nOwnLevel);
            seen.program = ProgramName(program);
        }
    }
    return seen.blocked && Report(seen.program) ? seen.root : nullptr;
}

bool CBlockedWindowWatch::Report(const CText& program)
{
    for (const CText& reported : m_reported)
        if (std::wcscmp(reported.GetString(), program.GetString()) == 0)
            return false;
    m_reported[m_nNextReport] = program;
    m_nNextReport = (m_nNextReport + 1) % kRemembered;
    return true;
}
