#include "support/ForeignWindow.h"

ForeignWindow::ForeignWindow(const char* className)
    : m_className(className)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ::DefWindowProcA;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className;
    ::RegisterClassA(&windowClass);
    m_window = ::CreateWindowExA(0, className, "foreign", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr, nullptr,
                                 windowClass.hInstance, nullptr);
}

ForeignWindow::~ForeignWindow()
{
    ::DestroyWindow(m_window);
    ::UnregisterClassA(m_className, ::GetModuleHandleW(nullptr));
}
