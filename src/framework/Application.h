#pragma once
#include <windows.h>

#include "common/Text.h"

class CDialog;

// The process's one application object. The entry point calls Run(), which
// runs InitInstance() and, only when that asks to continue, a message loop;
// ExitInstance() runs in every case and its result is the process exit code.
class CApplication {
public:
    CApplication();
    virtual ~CApplication();

    CApplication(const CApplication&) = delete;
    CApplication& operator=(const CApplication&) = delete;

    static CApplication* Current();

    int Run();

    virtual BOOL InitInstance() = 0;
    virtual int ExitInstance();


    // The window that stands for the application while it runs (a modal panel).
    CDialog* m_pMainWnd;

protected:
    CText m_strAppName;
    int m_nExitCode;
};
