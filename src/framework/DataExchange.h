#pragma once
#include <windows.h>

#include "common/Text.h"

class CControl;
class CDialog;

// One exchange between a dialog's members and its controls. The direction is
// fixed for the whole exchange; after a failure every later step does nothing,
// so the members read before the failing control keep their new values.
class CDataExchange {
public:
    CDataExchange(CDialog& dialog, bool saveAndValidate);

    CDataExchange(const CDataExchange&) = delete;
    CDataExchange& operator=(const CDataExchange&) = delete;

    bool IsSaving() const { return m_bSaveAndValidate; }
    bool Failed() const { return m_bFailed; }
    HWND Control(int controlId) const;

    // Stops the exchange and hands the message to the dialog's failure hook.
    void Fail(int controlId, const wchar_t* message);

private:
    CDialog& m_dialog;
    const bool m_bSaveAndValidate;
    bool m_bFailed;
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
