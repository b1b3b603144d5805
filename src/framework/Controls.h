#pragma once
#include <windows.h>
#include <commctrl.h>

// Non-owning wrappers around a control's window handle: the dialog owns the
// controls, these only give them typed operations, and nothing owns these
// through their base.
class CControl {
public:
    CControl() : m_hWnd(nullptr) {}

    void Attach(HWND hWnd) { m_hWnd = hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }
    bool IsBound() const { return m_hWnd != nullptr; }

    void EnableWindow(bool enable) const { ::EnableWindow(m_hWnd, enable ? TRUE : FALSE); }

protected:
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }

    HWND m_hWnd;
};

// Drop-down list, addressed by index (-1 = no selection).
class CComboBox : public CControl {
public:
    int GetCurSel() const { return static_cast<int>(Send(CB_GETCURSEL)); }
    int SetCurSel(int index) const { return static_cast<int>(Send(CB_SETCURSEL, static_cast<WPARAM>(index))); }
};

// A scroll bar control (not a window's own scroll bar).
class CScrollBar : public CControl {
public:
    int GetScrollPos() const { return ::GetScrollPos(m_hWnd, SB_CTL); }
    void SetScrollPos(int position, bool redraw = true) const { ::SetScrollPos(m_hWnd, SB_CTL, position, redraw); }
    void SetScrollRange(int minimum, int maximum, bool redraw = true) const
    {
        ::SetScrollRange(m_hWnd, SB_CTL, minimum, maximum, redraw);
    }
};

// Up-down control; its buddy edit shows the number.
class CSpinButton : public CControl {
public:
    void SetRange(int lower, int upper) const
    {
        Send(UDM_SETRANGE32, static_cast<WPARAM>(lower), static_cast<LPARAM>(upper));
    }
    int GetPos() const { return static_cast<int>(Send(UDM_GETPOS32)); }
};
