#pragma once
#include <windows.h>

class CDataExchange;

// The result of a dialog that could not run (DialogBoxParam's), and of one
// that has not ended yet.
constexpr INT_PTR kDialogFailed = -1;

// Windows keeps the low four bits of a system command for itself; an id is
// compared under this mask.
constexpr UINT kSystemCommandMask = 0xFFF0;

// A dialog built from a layout in the program's resources. One dialog
// procedure forwards every message to typed hooks; a hook returns whether it
// handled the message, and anything unhandled gets the system's default.
class CDialog {
public:
    explicit CDialog(UINT templateId, HWND parent = nullptr);
    virtual ~CDialog();

    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog modally; returns the result given to EndDialog, or kDialogFailed.
    INT_PTR DoModal();

    // Creates the dialog modeless and not shown, whatever its layout says.
    // Used where a dialog must exist without a modal loop (tests, tools).
    // EndDialog then destroys the window.
    HWND CreateHidden(HWND parent = nullptr);

    HWND GetSafeHwnd() const { return m_hWnd; }
    HWND GetDlgItem(int controlId) const { return ::GetDlgItem(m_hWnd, controlId); }

    // Copies members into controls (false) or controls into members (true).
    // Returns false when a control held something its member cannot take.
    bool UpdateData(bool saveAndValidate = true);

    void EndDialog(INT_PTR result);
    bool HasEnded() const { return m_bEnded; }
    INT_PTR Result() const { return m_nResult; }

    // Called once after an exchange that failed: tells the user and puts the
    // focus on the control at fault with its whole text selected.
    virtual void OnExchangeFailure(int controlId, const wchar_t* message);

protected:
    // Fills the lists from the layout's initial entries, then copies the
    // members into the controls. TRUE: the system sets the default focus.
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange& /*dx*/) {}

    // Hooks of the standard messages, called with their parameters cracked;
    // by default they do nothing. Those returning a flag or a handle say
    // whether they handled the message; after the others the system's
    // default handling follows.
    virtual void OnTimer(UINT_PTR /*timerId*/) {}
    virtual void OnHScroll(UINT /*code*/, UINT /*position*/, HWND /*scrollBar*/) {}
    virtual bool OnSysCommand(UINT /*id*/, LPARAM /*cursor*/) { return false; }
    virtual bool OnPaint() { return false; }
    // The icon shown while dragging the minimised window.
    virtual HICON OnQueryDragIcon() { return nullptr; }
    virtual void OnShowWindow(bool /*shown*/) {}
    virtual bool OnEndSession(bool /*ending*/) { return false; }
    virtual void OnDestroy() {}
    // The window reached a screen of another scale, or its screen's scale
    // changed (per-monitor programs only). The dialog manager lays the
    // dialog out again for it after the hook, in the default handling.
    virtual void OnDpiChanged(UINT /*dpi*/) {}

    // WM_COMMAND: a click (a button's, or a menu command's) by id, where IDOK
    // and IDCANCEL go to OnOK and OnCancel; any other notification by id,
    // code and control.
    virtual bool OnButtonClicked(int id);
    virtual bool OnCommand(int /*id*/, int /*code*/, HWND /*control*/) { return false; }
    virtual void OnOK();     // exchange from controls, then close with IDOK
    virtual void OnCancel(); // close with IDCANCEL, no exchange

    // Private and registered messages: return true when handled and put the
    // message's result in 'result'.
    virtual bool OnMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/, LRESULT& /*result*/)
    {
        return false;
    }

    HWND m_hWnd;

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void LoadInitialEntries();

    UINT m_nTemplateId;
    HWND m_hParent;
    bool m_bModeless;
    bool m_bEnded;
    INT_PTR m_nResult;
};
