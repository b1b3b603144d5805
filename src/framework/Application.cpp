#include "framework/Application.h"

#include "common/ModuleName.h"

namespace {
CApplication* g_application = nullptr;
}

CApplication::CApplication()
    : m_pMainWnd(nullptr)
    , m_nExitCode(0)
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
    if (InitInstance()) {
        MSG msg;
        while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        m_nExitCode = static_cast<int>(msg.wParam);
    }
    return ExitInstance();
}

int CApplication::ExitInstance()
{
    return m_nExitCode;
}
