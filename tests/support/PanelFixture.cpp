#include "support/PanelFixture.h"

namespace {
ModalCloser* g_closer = nullptr;

BOOL CALLBACK CloseIfDialog(HWND window, LPARAM)
{
    if (ClassOf(window) != "#32770" || !::IsWindowVisible(window))
        return TRUE;
    const HWND messageText = ::GetDlgItem(window, 0xFFFF);
    g_closer->text = messageText ? TextOf(messageText) : std::string();
    g_closer->caption = TextOf(window);
    ++g_closer->shown;
    ::PostMessageW(window, WM_COMMAND, IDOK, 0);
    return FALSE;
}

void CALLBACK CloseDialogs(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_closer)
        ::EnumThreadWindows(::GetCurrentThreadId(), CloseIfDialog, 0);
}
} // namespace

void PanelTest::SetUp()
{
    appName = std::string("vexo_unit_") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    ::DeleteFileW(Wide(IniPathOf(appName)).c_str());
}

void PanelTest::TearDown()
{
    panel.reset();
    ::DeleteFileW(Wide(IniPathOf(appName)).c_str());
}

void PanelTest::Open()
{
    panel.reset(new CClickerDlg(desktop, Wide(appName).c_str()));
    ASSERT_NE(nullptr, panel->CreateHidden());
}

ModalCloser::ModalCloser() : m_timer(::SetTimer(nullptr, 0, 50, CloseDialogs)) { g_closer = this; }

ModalCloser::~ModalCloser()
{
    ::KillTimer(nullptr, m_timer);
    g_closer = nullptr;
}
