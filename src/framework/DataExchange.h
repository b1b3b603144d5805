#pragma once
#include <windows.h>

#include "common/Text.h"

class CControl;

// One exchange between a dialog's members and its controls. The direction is
// fixed for the whole exchange; after a failure every later step does nothing,
// so the members read before the failing control keep their new values. It
// knows the dialog's window only: the dialog that runs it tells the user of
// a failure once the exchange is over.
class CDataExchange {
public:
    CDataExchange(HWND dialog, bool saveAndValidate);

    CDataExchange(const CDataExchange&) = delete;
    CDataExchange& operator=(const CDataExchange&) = delete;

    bool IsSaving() const { return m_bSaveAndValidate; }
    bool Failed() const { return m_bFailed; }
    HWND Control(int controlId) const;

    // Stops the exchange, keeping the control at fault and the message.
    void Fail(int controlId, const wchar_t* message);
    int FailedControl() const { return m_nFailedControl; }
    const CText& FailureMessage() const { return m_strFailure; }

private:
    const HWND m_hDialog;
    const bool m_bSaveAndValidate;
    bool m_bFailed = false;
    int m_nFailedControl = 0;
    CText m_strFailure;
};

// Typed steps of an exchange, called in order from DoDataExchange().
void DDX_Control(CDataExchange& dx, int controlId, CControl& control); // binds once
void DDX_Text(CDataExchange& dx, int controlId, CText& value);         // text
void DDX_Text(CDataExchange& dx, int controlId, int& value);           // decimal integer
void DDX_Scroll(CDataExchange& dx, int controlId, int& position);      // scroll bar position
void DDX_Check(CDataExchange& dx, int controlId, int& state);          // 0, 1, 2

// Reads a whole text as a signed 32-bit decimal integer; blanks around it are
// allowed, anything else (including overflow) is not.
bool ParseInteger(const wchar_t* text, int& value);

// Message shown when an edit that must hold an integer does not.
extern const wchar_t kIntegerInputMessage[];
