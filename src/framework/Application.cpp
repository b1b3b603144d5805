#include "framework/Application.h"

#include "common/ModuleName.h"

namespace {
CApplication* g_application = nullptr;
}

CApplication::CApplication()
{
    g_application = this;
}

CApplication::~CApplication()
{
    if (g_application == this)
        g_application = nullptr;
}

CApplication* CApplication::Current()
{
    return g_application;
}

int CApplication::Run()
{
    m_strAppName = ApplicationName();
    // The application runs inside InitInstance(), a modal dialog being its
    // only loop, so its answer whether to go on is never asked for here.
    InitInstance();
    return ExitInstance();
}

int CApplication::ExitInstance()
{
    return 0;
}
