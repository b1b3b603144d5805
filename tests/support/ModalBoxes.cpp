#include "support/ModalBoxes.h"

#include <windows.h>

#include "support/RemoteWindow.h"

#include <gtest/gtest.h>

namespace {

ModalCloser* g_closer = nullptr;

bool IsModalBox(HWND window)
{
    if (ClassOf(window) != "#32770" || !::IsWindowVisible(window))
        return false;
    const HWND owner = ::GetWindow(window, GW_OWNER);
    return ::GetDlgItem(window, 0xFFFF) || (owner && !::IsWindowEnabled(owner));
}

BOOL CALLBACK CloseIfModalBox(HWND window, LPARAM)
{
    if (!IsModalBox(window))
        return TRUE;
    const HWND messageText = ::GetDlgItem(window, 0xFFFF);
    const std::string text = messageText ? TextOf(messageText) : std::string();
    const std::string caption = TextOf(window);
    ::PostMessageW(window, WM_COMMAND, IDOK, 0);
    if (g_closer) {
        g_closer->text = text;
        g_closer->caption = caption;
        ++g_closer->shown;
    } else {
        ADD_FAILURE() << "a box nobody expected, closed: \"" << caption << "\": " << text;
    }
    return FALSE;
}

void CALLBACK CloseModalBoxes(HWND, UINT, UINT_PTR, DWORD)
{
    ::EnumThreadWindows(::GetCurrentThreadId(), CloseIfModalBox, 0);
}

// A thread timer for the life of each test: it ticks in any modal loop the
// test thread runs.
class Watch : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { m_timer = ::SetTimer(nullptr, 0, 50, CloseModalBoxes); }
    void OnTestEnd(const ::testing::TestInfo&) override { ::KillTimer(nullptr, m_timer); }
    UINT_PTR m_timer = 0;
};

} // namespace

ModalCloser::ModalCloser() { g_closer = this; }

ModalCloser::~ModalCloser() { g_closer = nullptr; }

void WatchForUnexpectedModalBoxes()
{
    ::testing::UnitTest::GetInstance()->listeners().Append(new Watch);
}
