#pragma once
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "panel/ClickerDlg.h"
#include "resources/resource.h"
#include "settings/ClickerSettings.h"
#include "support/ClickerCopy.h"
#include "support/ModalBoxes.h"
#include "support/RecordingDesktop.h"
#include "support/RemoteWindow.h"
#include "support/Texts.h"
#include "support/Utf8.h"

// A real panel, created hidden in this process on a recording desktop, with
// a settings file of the test's own. Open() initialises it from that file,
// or from what a running copy handed over;
// Close() destroys it, which writes the file.
class PanelTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void Open(const Takeover* takeover = nullptr);
    void Close() { ::DestroyWindow(panel->GetSafeHwnd()); }

    void SaveSetting(const wchar_t* key, const wchar_t* value) const
    {
        ::WritePrivateProfileStringW(SettingsKey::kSection, key, value, Wide(IniPathOf(appName)).c_str());
    }
    int SavedSetting(const wchar_t* key) const { return ReadSavedSetting(IniPathOf(appName), key); }
    HWND Control(int id) const { return ::GetDlgItem(panel->GetSafeHwnd(), id); }
    std::string Text(int id) const { return TextOf(Control(id)); }
    bool Enabled(int id) const { return ::IsWindowEnabled(Control(id)) != FALSE; }
    LRESULT SendTo(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(Control(id), message, wParam, lParam);
    }
    void Select(int id, int index) const { SendTo(id, CB_SETCURSEL, static_cast<WPARAM>(index)); }
    int Checked(int id) const { return static_cast<int>(SendTo(id, BM_GETCHECK)); }
    void Click(int id) const { SendTo(id, BM_CLICK); }
    int SpeedPosition() const { return ::GetScrollPos(Control(IDC_SPEED), SB_CTL); }
    int Scroll(int code, int position = 0) const
    {
        Send(WM_HSCROLL, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(Control(IDC_SPEED)));
        return SpeedPosition();
    }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(panel->GetSafeHwnd(), message, wParam, lParam);
    }
    void Tick() const { Send(WM_TIMER, kPeriodTimerId); }

    std::string appName;
    CRecordingDesktop desktop;
    std::unique_ptr<CClickerDlg> panel;
};

// What no message can set: a panel whose initialisation has not finished.
// Everything else, tests reach through messages and read from what the panel
// shows or the desktop recorded.
class CClickerDlgTestAccess {
public:
    static void SetReady(CClickerDlg& panel, bool ready) { panel.m_bReady = ready ? TRUE : FALSE; }
};

// The same with the panel open and nothing recorded yet.
class OpenPanelTest : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        Open();
        desktop.calls.clear();
    }
};
