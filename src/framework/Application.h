#pragma once
#include <windows.h>

#include "common/Text.h"

// The process's one application object. The entry point calls Run(), which
// runs InitInstance(), where the application runs its modal dialog, and
// then ExitInstance(), whose result is the process exit code.
class CApplication {
public:
    CApplication();
    virtual ~CApplication();

    CApplication(const CApplication&) = delete;
    CApplication& operator=(const CApplication&) = delete;

    static CApplication* Current();

    int Run();

    // FALSE: the application has run, and nothing is to follow.
    virtual BOOL InitInstance() = 0;
    virtual int ExitInstance();

protected:
    CText m_strAppName;
};
