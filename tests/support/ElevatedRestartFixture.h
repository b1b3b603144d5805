#pragma once
#include "support/PanelFixture.h"

// The watch and the restart of a clicker that does not run elevated, on
// their own: a window stands in for the panel.
class ElevatedRestartTest : public ::testing::Test {
protected:
    ElevatedRestartTest()
    {
        desktop.elevated = FALSE;
        area.Attach(panel.top, nullptr);
        restart.Start(panel.top);
    }
    // What a tick that clicks at (100, 200) with the trigger keys able to
    // act asks of the desktop, once it has clicked.
    Calls Tick(bool clicking = true, bool wasClicking = true, bool keysCouldAct = true)
    {
        desktop.calls.clear();
        restart.AfterTick(clicking, wasClicking, {100, 200}, keysCouldAct);
        return desktop.calls;
    }
    std::vector<std::string> NoticesText() const
    {
        std::vector<std::string> texts;
        for (const NOTIFYICONDATAW& notice : desktop.notices)
            texts.push_back(Utf8(notice.szInfo));
        return texts;
    }

    CRecordingDesktop desktop;
    OtherWindow panel{L"panel"};
    CNotificationArea area{desktop};
    CElevatedRestart restart{desktop, area, L"vexo_unit_restart"};
};
