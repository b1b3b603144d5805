#include "support/PanelFixture.h"

#include "settings/ClickerSettings.h"

#include <vector>

namespace {

std::string WindowText(HWND window)
{
    std::vector<char> buffer(static_cast<size_t>(::GetWindowTextLengthA(window)) + 1, '\0');
    ::GetWindowTextA(window, buffer.data(), static_cast<int>(buffer.size()));
    return buffer.data();
}

ModalCloser* g_closer = nullptr;

BOOL CALLBACK CloseIfMessageBox(HWND window, LPARAM)
{
    char className[16] = "";
    ::GetClassNameA(window, className, sizeof className);
    if (std::string(className) != "#32770" || !::IsWindowVisible(window))
        return TRUE;
    const HWND messageText = ::GetDlgItem(window, 0xFFFF);
    g_closer->text = messageText ? WindowText(messageText) : std::string();
    g_closer->caption = WindowText(window);
    ++g_closer->shown;
    ::PostMessageA(window, WM_COMMAND, IDOK, 0);
    return FALSE;
}

} // namespace

void PanelTest::SetUp()
{
    appName = std::string("vexo_unit_") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    ::DeleteFileA(IniPath().c_str());
}

void PanelTest::TearDown()
{
    panel.reset();
    ::DeleteFileA(IniPath().c_str());
}

void PanelTest::Open()
{
    panel.reset(new CClickerDlg(desktop, appName));
    ASSERT_NE(nullptr, panel->CreateHidden());
}

void PanelTest::Close()
{
    ::DestroyWindow(panel->GetSafeHwnd());
}

std::string PanelTest::IniPath() const
{
    char directory[MAX_PATH] = "";
    ::GetWindowsDirectoryA(directory, MAX_PATH);
    return std::string(directory) + "\\" + appName + ".INI";
}

void PanelTest::SaveSetting(const char* key, const char* value) const
{
    ::WritePrivateProfileStringA(SettingsKey::kSection, key, value, IniPath().c_str());
}

int PanelTest::SavedSetting(const char* key) const
{
    return static_cast<int>(::GetPrivateProfileIntA(SettingsKey::kSection, key, kMissing, IniPath().c_str()));
}

std::string PanelTest::ControlText(int id) const
{
    return WindowText(Control(id));
}

void PanelTest::Click(int id) const
{
    ::SendMessageA(Control(id), BM_CLICK, 0, 0);
}

ModalCloser::ModalCloser()
    : m_timer(::SetTimer(nullptr, 0, 50, &ModalCloser::OnTimer))
{
    g_closer = this;
}

ModalCloser::~ModalCloser()
{
    ::KillTimer(nullptr, m_timer);
    g_closer = nullptr;
}

void CALLBACK ModalCloser::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_closer)
        ::EnumThreadWindows(::GetCurrentThreadId(), CloseIfMessageBox, 0);
}
