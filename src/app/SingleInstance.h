#pragma once
#include <windows.h>

#include "common/Text.h"
#include "settings/Handover.h"

class IDesktop;

// One copy per desktop. The first creates a mutex named after the program
// and holds it for the life of its process; its panel carries a window
// property of the same name, by which other copies find it. A copy that
// finds the name taken is a second copy, and so is one that Windows refuses
// the mutex: a copy run as administrator, or under another account, made it
// with its own token's security, which keeps this one out. A copy the
// running one started as administrator takes its place instead.
class CSingleInstance {
public:
    // The name is read at each call: the application learns its own name
    // only once it runs, after this object is made.
    CSingleInstance(IDesktop& desktop, const CText& appName);

    // A window of an older release, when one is up, is brought forward
    // instead of starting this copy: true, and this copy ends.
    bool ActivateLegacyWindow();

    // True for the first copy, which then holds the mutex.
    bool Claim();
    bool HoldsMutex() const { return m_hMutex != nullptr; }

    // A copy the running one started as administrator finds its process
    // named in the running panel's handover: it takes the values, tells that
    // copy to end and waits until it has, so that one panel follows the
    // other, and then holds the mutex in its place. False for any other
    // copy, which keeps to the rules of a second copy.
    bool TakeOver(Takeover& takeover);

    // A second copy's part: the running panel is brought back, shown and in
    // front, after the beep and the first of its two boxes. False where no
    // running panel was found.
    bool ActivateRunningCopy();
    // Its last box, as it ends.
    void ReportSecondCopy();

private:
    HWND FindRunningPanel();
    void ShowMessage(const wchar_t* text);

    IDesktop& m_desktop;
    const CText& m_strAppName;
    // Marks this copy as running for as long as the process lives; never
    // closed on purpose, the system releases it at exit. Null where another
    // copy holds it.
    HANDLE m_hMutex = nullptr;
};
