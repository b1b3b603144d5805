#pragma once
#include <windows.h>

// A top-level window of the test process with a class of the test's choice,
// standing for another program's window. Created hidden.
class ForeignWindow {
public:
    explicit ForeignWindow(const char* className);
    ~ForeignWindow();
    ForeignWindow(const ForeignWindow&) = delete;
    ForeignWindow& operator=(const ForeignWindow&) = delete;

    HWND Handle() const { return m_window; }

private:
    const char* m_className;
    HWND m_window;
};
