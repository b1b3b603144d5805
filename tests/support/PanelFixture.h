#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "panel/ClickerDlg.h"
#include "resources/resource.h"
#include "support/RecordingDesktop.h"

// A real panel, created hidden in this process on a recording desktop, with
// a settings file of the test's own.
class PanelTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the panel; its initialisation reads the settings file.
    void Open();
    // Destroys the panel window, which writes the settings.
    void Close();

    void SaveSetting(const char* key, const char* value) const;
    int SavedSetting(const char* key) const; // kMissing when absent
    std::string IniPath() const;

    HWND Control(int id) const { return ::GetDlgItem(panel->GetSafeHwnd(), id); }
    std::string ControlText(int id) const;
    bool IsEnabled(int id) const { return ::IsWindowEnabled(Control(id)) != FALSE; }
    int Selection(int id) const { return static_cast<int>(::SendMessageA(Control(id), CB_GETCURSEL, 0, 0)); }
    int Check(int id) const { return static_cast<int>(::SendMessageA(Control(id), BM_GETCHECK, 0, 0)); }
    int SpeedPosition() const { return ::GetScrollPos(Control(IDC_SPEED), SB_CTL); }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageA(panel->GetSafeHwnd(), message, wParam, lParam);
    }
    void Click(int id) const;
    void Tick() { panel->OnTimer(panel->m_nTimer); }

    static constexpr int kMissing = -12345;

    std::string appName;
    CRecordingDesktop desktop;
    std::unique_ptr<CClickerDlg> panel;
};

// Closes, from inside its own modal loop, each visible dialog or message box
// this thread shows, and remembers the text and caption of the last one.
class ModalCloser {
public:
    ModalCloser();
    ~ModalCloser();
    std::string text;
    std::string caption;
    int shown = 0;

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    UINT_PTR m_timer;
};
